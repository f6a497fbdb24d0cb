#ifndef INDEX_H
#define INDEX_H

#include "index/indexset.h"
#include "index/songinfoindex.h"

#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// What a look at a memory found: the state of its index files and how they
// stand against the song files on it. Song paths are below the memory root.
struct IndexReport
{
    bool complete = false;        // all seven index files are there
    bool damaged = false;         // they are there but disagree, or an update was cut short
    QString reason;               // for the user: why the index is damaged or incomplete
    int songsFound = 0;           // song files the scan found
    QStringList missingSongs;     // indexed, but the file is gone
    QStringList newSongs;         // on the memory, not indexed
    QStringList changedSongs;     // indexed, the file changed since
    QStringList unplayableSongs;  // names holding characters the player cannot read

    bool inStep() const
    {
        return complete && !damaged && missingSongs.isEmpty() && newSongs.isEmpty() && changedSongs.isEmpty();
    }
};

// Keeps the player's index files in the root folder of a memory card or USB
// key in step with the song files on it. One object serves one run.
class Index : public QObject
{
    Q_OBJECT

public:
    // Why the last run failed.
    enum errorEnum {
        ErrorNone,
        ErrorNoMemory,     // the root folder does not exist
        ErrorNoIndex,      // no complete index to read
        ErrorNoSongs,      // no song to index: the index was left as it was
        ErrorDamaged,      // the index files disagree: nothing was written
        ErrorMemoryFull,   // no room for the new index beside the old one, which stays
        ErrorCannotWrite   // a file could not be written, renamed or removed
    };

    explicit Index(QObject *parent = nullptr);

    // Both runs return false with lastError() unless the memory ends with a
    // complete, consistent index of its songs. The index files are replaced
    // as a whole (IndexCommit); a run cut short before is finished or undone
    // first. An update leaves a damaged index alone and writes nothing when
    // nothing changed; neither run writes an index without songs.
    bool createIndex(QString root);
    bool updateIndex(QString root);
    // Writes nothing: how the index files of `root` agree with each other and
    // with its songs. True when the index is complete, sound and in step.
    // The update plans its work with the same look.
    bool checkMemory(QString root, IndexReport &report);
    errorEnum lastError() const { return error; }
    // Whether the last run wrote a new set of index files on the memory.
    bool wroteIndex() const { return wrote; }
    QString lastErrorText() const;  // for the user

    // For tests: the next commit stops dead before its step `step` (see
    // IndexCommit::stopBefore).
    void setCommitStop(int step) { commitStop = step; }

    // Replaces the songs by those of the index files, checked first; -1 when
    // they are missing or disagree.
    int loadAllIndexFile();
    // Scans, re-reads what is new or changed and, when something changed,
    // writes and commits the files (lastError() tells how it went).
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

    // Writers: each builds its file's bytes for the commit (the file name
    // picks which); negative for a name that is not an index file.
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
    // Something the user should know that does not make the run fail.
    void warningFromIndex(QString message);

private:
    enum songStateEnum : quint8 { SongKept, SongChanged, SongNew, SongMissing };
    struct FoundFile
    {
        QString abs;
        QString rel;  // below the root, beginning with "/"
    };

    void startRun(const QString &path);
    bool run(const QString &path, bool rebuild);
    bool fail(errorEnum code, const QString &detail = QString());
    void setRoot(const QString &path);
    QString rootFile(const QString &fileName) const;
    QStringList indexFilePaths(bool temporary) const;
    bool recoverCommit();
    void examineIndex(IndexReport &report);
    void planSongs(IndexReport &report);
    int readSong(SongInfoIndex &entry, bool stamp);
    bool commitFiles(bool rebuild);

    unsigned char alphaBuffer[256];
    QString root;
    QString base;  // `root` to put before a path beginning with "/" (empty for "/")
    QList<SongInfoIndex> songs;
    int nextPosidx = 0;  // of the next new song; its id too
    bool modified = false;

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

    QVector<FoundFile> found;              // song files of the scan, in scan order
    QVector<songStateEnum> states;         // of `songs`, once planned
    bool rebuilding = false;
    IndexSet pending;                      // the files the writers build
    errorEnum error = ErrorNone;
    QString errorDetail;
    int commitStop = -1;
    bool wrote = false;
};

#endif // INDEX_H
