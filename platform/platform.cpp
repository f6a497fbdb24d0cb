#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

QString Platform::volumesDir()
{
    QString dir = qEnvironmentVariable("ORVALO3_VOLUMES_DIR");
    if (dir.isEmpty()) {
#ifdef Q_OS_MACOS
        dir = QStringLiteral("/Volumes");
#else
        QString user = qEnvironmentVariable("USER");
        if (user.isEmpty())
            user = QFileInfo(QDir::homePath()).fileName();
        const QString runMedia = QStringLiteral("/run/media/") + user;
        dir = QFileInfo(runMedia).isDir() ? runMedia : QStringLiteral("/media/") + user;
#endif
    }
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

bool Platform::isOnVolume(const QString& path)
{
    const QString prefix = volumesDir() + QLatin1Char('/');
    return path.startsWith(prefix, Qt::CaseInsensitive) && path.size() > prefix.size();
}

QString Platform::volumeRoot(const QString& path)
{
    if (!isOnVolume(path))
        return QString();
    const int start = volumesDir().size() + 1;
    const int slash = path.indexOf(QLatin1Char('/'), start);
    return slash < 0 ? path : path.left(slash);
}

QString Platform::rootOf(const QString& path)
{
    if (isOnVolume(path))
        return volumeRoot(path);
    const int first = path.indexOf(QLatin1Char('/'), 1);
    if (first < 0)
        return QStringLiteral("/");
    const int second = path.indexOf(QLatin1Char('/'), first + 1);
    return second < 0 ? path : path.left(second);
}

QString Platform::chflagsProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("chflags"));
}

Platform::Space Platform::spaceOf(const QString& path)
{
    Space space;
#ifdef Q_OS_UNIX
    // One call, cheap enough to ask before every file of a long copy.
    struct statvfs fs;
    if (::statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return space;
    const qint64 fragment = qint64(fs.f_frsize ? fs.f_frsize : fs.f_bsize);
    space.unit = qMax<qint64>(512, qMax<qint64>(fragment, qint64(fs.f_bsize)));
    space.readOnly = (fs.f_flag & ST_RDONLY) != 0;
    if (fs.f_blocks > 0)
        space.available = qint64(fs.f_bavail) * fragment;
#else
    const QStorageInfo storage(path);
    if (storage.isValid() && storage.isReady()) {
        space.unit = qMax(512, storage.blockSize());
        space.readOnly = storage.isReadOnly();
        if (storage.bytesTotal() > 0)
            space.available = storage.bytesAvailable();
    }
#endif
    return space;
}
