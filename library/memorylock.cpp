#include "library/memorylock.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSysInfo>

#include <cerrno>

#include <signal.h>

namespace {

// The roots this process holds, so a transfer's index update runs under the
// transfer's own lock.
QSet<QString>& heldRoots()
{
    static QSet<QString> roots;
    return roots;
}

// Whether a run elsewhere may still be at work is unknowable; a memory sits in
// one reader at a time, so a lock older than any run is left over.
const qint64 kForeignLockMs = 60 * 60 * 1000;
// The owner is written right after the file is made: a lock that still names
// none after a minute was cut short.
const qint64 kUnreadableLockMs = 60 * 1000;

// A lock no run can be using any longer: its owner cannot be read or lives on
// another machine, and it is old; or, when `checkOwner`, its owner on this
// machine has ended.
bool abandoned(const QLockFile& lock, const QString& path, bool checkOwner)
{
    qint64 pid = 0;
    QString host;
    QString application;
    const auto age = [&path] { return qAbs(QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime())); };
    if (!lock.getLockInfo(&pid, &host, &application))
        return age() > kUnreadableLockMs;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return age() > kForeignLockMs;
    // Signal 0 only asks whether the process is there.
    return checkOwner && !(pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM));
}

} // namespace

QString MemoryLock::fileName()
{
    return QStringLiteral(".orvalo3soft.lock");
}

bool MemoryLock::heldElsewhere(const QString& root)
{
    const QString key = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    const QString path = key + QLatin1Char('/') + fileName();
    if (heldRoots().contains(key) || !QFileInfo::exists(path))
        return false;
    const QLockFile lock(path);
    return !abandoned(lock, path, true);
}

MemoryLock::MemoryLock(const QString& root)
    : key(QDir::cleanPath(QFileInfo(root).absoluteFilePath()))
{
    if (heldRoots().contains(key)) {
        lockState = StateHeld;
        return;
    }

    const QString path = key + QLatin1Char('/') + fileName();
    file.reset(new QLockFile(path));
    // A long run must not lose its memory to the next one: only the owner's
    // end frees it.
    file->setStaleLockTime(0);
    // QLockFile takes over the lock of an ended process of this machine itself.
    if (!file->tryLock(0) && file->error() == QLockFile::LockFailedError && abandoned(*file, path, false)) {
        qDebug() << "[MemoryLock::MemoryLock] WARNING: taking over an abandoned lock" << path;
        file->removeStaleLockFile();
        file->tryLock(0);
    }

    if (file->isLocked()) {
        lockState = StateHeld;
        outer = true;
        heldRoots().insert(key);
    } else if (file->error() == QLockFile::LockFailedError) {
        lockState = StateBusy;
        qDebug() << "[MemoryLock::MemoryLock] memory busy:" << path;
    } else {
        lockState = StateUnguarded;
        qDebug() << "[MemoryLock::MemoryLock] WARNING: no lock file can be made in" << key;
    }
}

MemoryLock::~MemoryLock()
{
    if (!outer)
        return;
    heldRoots().remove(key);
    file->unlock();
}
