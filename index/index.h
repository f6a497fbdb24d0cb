#ifndef INDEX_H
#define INDEX_H

#include "index/songinfoindex.h"

#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

// Keeps the player's index files in the root folder of a memory card or USB
// key in step with the song files on it. One object serves one run.
class Index : public QObject
{
    Q_OBJECT

public:
    explicit Index(QObject *parent = nullptr);

    bool createIndex(QString root);
    bool updateIndex(QString root);
    bool checkIndexFile();
    int loadAllIndexFile();
    void deleteIndex();
    void createPathIndex();
    void removeDeletedItems();
    // Writes the songs of the index files in `root` to a ";"-separated list:
    // 1 written, -1 no complete index, 0 index unreadable or file not written.
    int saveSongsList(QString root, QString fileName, SORT_MODE mode);

    // Memory scan and the per-file reader.
    void scan_files(QString dir);
    bool checkFileExt(QString suffix);
    bool addFileToIndex(QFileInfo file);
    void createTitleIndex();
    int setSongInfo(SongInfoIndex &entry);

    // Index file writers; negative on failure.
    int writeOrdIndex();
    int writePathIndex();
    int writeTitleIndex(QString fileName);
    int writeArtistIndex(QString fileName);
    int writeAlphaBuffer(QString fileName);
    int writeNumFile();
    void clearAlphaBuffer();
    void addToAlphaBuffer(QString text, unsigned long pos);

    // Song files opened by setSongInfo during the life of this object.
    int songFilesRead() const { return filesRead; }

signals:
    void fileFoundChanged(int newVal);
    void progressMaxSetup(int fileFound);
    void progressValueChanged(int newVal);
    void currentPathChanged(QString path);
    void errorFromIndex(QString message);

private:
    void setRoot(const QString &path);
    QString rootFile(const QString &fileName) const;
    static void modificationStamp(const QFileInfo &file, quint32 &date, quint32 &time);

    unsigned char alphaBuffer[256];
    QString root;
    QList<SongInfoIndex> songs;
    int maxId = 0;
    int nextId = 0;
    int nextPosidx = 0;
    bool modified = false;

    const QString indexFile = QStringLiteral("index.id3");
    const QString ordFile = QStringLiteral("ordfile.id3");
    const QString titleFile = QStringLiteral("title.id3");
    const QString artistFile = QStringLiteral("artist.id3");
    const QString genreFile = QStringLiteral("genre.id3");
    const QString aTitleFile = QStringLiteral("atitle.id3");
    const QString aArtistFile = QStringLiteral("aartist.id3");
    const QString aGenreFile = QStringLiteral("agenre.id3");
    const QString title3File = QStringLiteral("title3.id3");
    const QString artist3File = QStringLiteral("artist3.id3");
    const QString genre3File = QStringLiteral("genre3.id3");
    const QString aTitle3File = QStringLiteral("atitle3.id3");
    const QString aArtist3File = QStringLiteral("aartist3.id3");
    const QString aGenre3File = QStringLiteral("agenre3.id3");
    const QString numFile = QStringLiteral("fsinfos.id3");
    const QString temp1File = QStringLiteral("temp1.id3");
    const QString temp2File = QStringLiteral("temp2.id3");

    const QString sfxFolder = QStringLiteral("sfx");
    const QString bridgeFolder = QStringLiteral("bridge");

    int filesFound = 0;
    int titleCount = 0;
    int artistCount = 0;
    int genreCount = 0;
    int title3Count = 0;
    int artist3Count = 0;
    int genre3Count = 0;

    int filesRead = 0;
    QSet<QString> scannedDirs;  // canonical paths, so a folder link cannot loop the scan
};

#endif // INDEX_H
