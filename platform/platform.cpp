#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
