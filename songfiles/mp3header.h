#ifndef SONGFILES_MP3HEADER_H
#define SONGFILES_MP3HEADER_H

#include "songfiles/songinfo.h"

#include <QByteArray>
#include <QString>

// The ID3v2 tag at the start of an MP3 file, kept as a byte image. Song
// details live in text frames; edits remove and insert whole frames, so
// every frame this class does not know stays byte for byte as it was.
// Frames are found by walking the frame headers of the tag's own version
// (v2.3 plain sizes, v2.4 synchsafe sizes); no lookup or edit ever reaches
// outside the tag, whatever its bytes. A v2.2 tag is turned into the same
// v2.3 tag on loading, so the file changes only when it is saved.
class Mp3Header
{
public:
    Mp3Header();

    // data: the start of the file, holding at least the whole declared tag.
    bool loadHeader(const QByteArray& data);
    int getId3TagSize(const QByteArray& data) const;

    SongInfo::fileTypeEnum fileType() const { return fileTypeValue; }
    QByteArray stream() { return tag; }
    int getAudioDataStartPos() const { return audioDataStart; }
    // False for a tag that cannot be updated: another major version than 2,
    // 3 or 4, a compressed or damaged v2.2 tag, a damaged extended header,
    // v2.4 frames that line up under neither form of frame size. Edits then
    // change nothing.
    bool isEditable() const { return editable; }

    void updateId3TagSize();
    int removeId3Frame(QString id);
    int getSingleFrameLength(int pos) const;
    int insertId3Frame(QByteArray& content, QString id, int pos);
    int extractId3Frame(QString& text, QString id) const;

    QString title() const;
    QString key() const;
    QString genre() const;
    QString artist() const;
    QString author() const;
    int length() const;
    int userBpm() const;
    bool isTavrel() const;

    bool hasTitle() const;
    bool hasKey() const;
    bool hasGenre() const;
    bool hasArtist() const;
    bool hasAuthor() const;
    bool hasLength() const;
    bool hasUserBpm() const;
    bool hasTamselEditParam() const;

    void setTitle(const QString& text);
    void setKey(const QString& text);
    void setGenre(const QString& text);
    void setArtist(const QString& text);
    void setAuthor(const QString& text);
    void setLength(int seconds);
    void setUserBpm(int bpm);
    void setTamselEditParam();

private:
    void readLayout();
    int dropExtendedChecks();
    int framesEnd() const;
    bool synchsafeConfirmed() const;
    int walkFrames(bool synchsafe, const QByteArray& id, int matchPos, int* stopPos) const;
    int findFrame(const QString& id) const;
    int frameSize(int pos, bool synchsafe) const;
    bool isFrameBoundary(int pos) const;
    QString frameText(int pos) const;
    bool hasFrame(const char* id) const;
    QString textOf(const char* id) const;
    int numberOf(const char* id) const;
    void replaceText(const char* id, const QByteArray& content);

    QByteArray tag;
    qint32 framesStart;
    qint32 tagSize;
    qint32 audioDataStart;
    SongInfo::fileTypeEnum fileTypeValue;

    // Derived from the tag header on loading.
    int majorVersion = 3;
    bool synchsafeFrameSizes = false;
    bool editable = true;
};

#endif
