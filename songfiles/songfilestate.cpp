#include "songfiles/songfilestate.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

bool SongFileState::sameFileAs(const SongFileState& other) const
{
    return device == other.device && inode == other.inode && size == other.size && mtimeNs == other.mtimeNs;
}

SongFileState SongFileState::ofStat(const struct stat& st, const QString& path)
{
#ifdef __APPLE__
    const timespec mtime = st.st_mtimespec;
#else
    const timespec mtime = st.st_mtim;
#endif
    SongFileState s;
    s.path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    s.size = qint64(st.st_size);
    s.mtimeNs = qint64(mtime.tv_sec) * 1000000000 + mtime.tv_nsec;
    return s;
}

SongFileState SongFileState::ofOpenFile(int fd, const QString& path, const QByteArray& head)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return SongFileState();
    SongFileState s = ofStat(st, path);
    s.head = head;
    return s;
}
