#ifndef SONGFILES_SONGFILESTATE_H
#define SONGFILES_SONGFILESTATE_H

#include <QByteArray>
#include <QString>

struct stat;

// What a song file looked like when it was read: enough to tell, when it is
// saved, whether another program changed, replaced or deleted it meanwhile.
// The change time is not used: tags and flags change it.
struct SongFileState
{
    QString path;            // absolute path it was read from
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;        // -1: no state recorded
    qint64 mtimeNs = 0;
    // The file's first bytes as they were read, compared whole at the save.
    // The very bytes the song was parsed from, shared rather than copied: a
    // hash of them weighed on every import, a comparison costs only the save.
    QByteArray head;

    bool isValid() const { return size >= 0; }
    // The same file, of the same size and modification time (contents aside).
    bool sameFileAs(const SongFileState& other) const;

    // A file as stat() describes it, without its first bytes.
    static SongFileState ofStat(const struct stat& st, const QString& path);
    // An open file whose first bytes were read as `head`.
    static SongFileState ofOpenFile(int fd, const QString& path, const QByteArray& head);
};

#endif
