#include "index/indexcommit.h"

#include "platform/platform.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
// Hands what was written to the device. File systems that cannot flush
// (some FUSE ones) answer EINVAL or ENOSYS: nothing more can be done there.
// Returns 0, or the errno of a real failure.
int syncDescriptor(int fd)
{
#ifdef Q_OS_UNIX
    if (::fsync(fd) == 0 || errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)
        return 0;
    return errno;
#else
    Q_UNUSED(fd);
    return 0;
#endif
}
}

IndexCommit::IndexCommit(const QString &folder)
    : folder(folder)
{
}

QString IndexCommit::temporaryName(const QString &name)
{
    return QLatin1Char('.') + name + QLatin1String(".new");
}

QString IndexCommit::path(const QString &name) const
{
    return folder + QLatin1Char('/') + name;
}

bool IndexCommit::proceed()
{
    if (stepsDone == stopStep) {
        qDebug() << "[IndexCommit] stopped before step" << stepsDone;
        return false;
    }
    ++stepsDone;
    return true;
}

IndexCommit::resultEnum IndexCommit::commit(const QVector<QPair<QString, QByteArray>> &files,
                                            const QStringList &obsolete)
{
    QStringList names;
    for (const auto &file : files)
        names << file.first;

    // The old set stays until the new one is complete: both need room at once.
    // Where the file system tells no size (some FUSE ones) or is read-only,
    // the writes themselves tell.
    const Platform::Space space = Platform::spaceOf(folder);
    if (space.available >= 0 && !space.readOnly) {
        const qint64 block = space.unit;
        qint64 needed = block;  // the folder may grow by a cluster
        for (const auto &file : files)
            needed += (file.second.size() + block - 1) / block * block;
        if (space.available < needed) {
            qDebug() << "[IndexCommit::commit] memory full:" << space.available << "bytes free," << needed
                     << "needed";
            failed = folder;
            return MemoryFull;
        }
    }

    // A name taken by something that is not a file (a folder) could not be
    // renamed over once the marker is gone.
    for (const QString &name : names) {
        const QFileInfo target(path(name));
        if (target.exists() && !target.isFile()) {
            qDebug() << "[IndexCommit::commit] not a file:" << target.filePath();
            failed = target.filePath();
            return CannotWrite;
        }
    }

    for (const auto &file : files) {
        if (!proceed())
            return Stopped;
        const resultEnum written = writeTemporary(file.first, file.second);
        if (written != Committed) {
            removeTemporaryFiles(names);
            return written;
        }
    }
    if (!proceed())
        return Stopped;
    for (const QString &name : obsolete) {
        if (!remove(name)) {
            removeTemporaryFiles(names);
            return CannotWrite;
        }
    }
    if (!proceed())
        return Stopped;
    if (!remove(names.last())) {
        removeTemporaryFiles(names);
        return CannotWrite;
    }
    return finish(names);
}

IndexCommit::resultEnum IndexCommit::finish(const QStringList &names)
{
    for (const QString &name : names) {
        if (!proceed())
            return Stopped;
        const QString from = path(temporaryName(name));
        if (QFile::exists(from) && !renameOver(from, path(name)))
            return CannotWrite;
    }
    if (!proceed())
        return Stopped;
    return syncFolder() ? Committed : CannotWrite;
}

bool IndexCommit::removeTemporaryFiles(const QStringList &names)
{
    bool ok = true;
    for (const QString &name : names)
        ok = remove(temporaryName(name)) && ok;
    return ok;
}

IndexCommit::resultEnum IndexCommit::writeTemporary(const QString &name, const QByteArray &bytes)
{
    QFile out(path(temporaryName(name)));
    resultEnum result = Committed;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        result = CannotWrite;
    } else if (out.write(bytes) != bytes.size()) {
        result = out.error() == QFileDevice::ResourceError ? MemoryFull : CannotWrite;
    } else if (const int error = syncDescriptor(out.handle())) {
#ifdef Q_OS_UNIX
        result = error == ENOSPC ? MemoryFull : CannotWrite;
#else
        result = CannotWrite;
#endif
    } else {
        out.close();
        if (out.error() != QFileDevice::NoError)
            result = CannotWrite;
    }
    if (result != Committed) {
        qDebug() << "[IndexCommit::writeTemporary] cannot write" << out.fileName() << out.errorString();
        failed = path(name);
    }
    return result;
}

bool IndexCommit::renameOver(const QString &from, const QString &to)
{
#ifdef Q_OS_UNIX
    // POSIX replaces an existing name in one step where the file system can.
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    const int error = errno;
#else
    const int error = 0;
#endif
    // Some FAT drivers refuse to rename over an existing file. The marker is
    // gone by now, so a run cut short between the two steps is finished by
    // the next one.
    if (!(QFile::exists(to) && QFile::remove(to) && QFile::rename(from, to))) {
        qDebug() << "[IndexCommit::renameOver] cannot rename" << from << "to" << to << "errno" << error;
        failed = to;
        return false;
    }
    return true;
}

bool IndexCommit::remove(const QString &name)
{
    QFile file(path(name));
    if (!file.exists() || file.remove())
        return true;
    qDebug() << "[IndexCommit::remove] cannot remove" << file.fileName() << file.errorString();
    failed = file.fileName();
    return false;
}

// The renames live in the folder's entries: flush them too.
bool IndexCommit::syncFolder()
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY);
    if (fd < 0)
        return true;  // a folder that cannot be opened for reading cannot be flushed either
    const int error = syncDescriptor(fd);
    ::close(fd);
    if (error == EIO) {
        qDebug() << "[IndexCommit::syncFolder] cannot flush" << folder;
        failed = folder;
        return false;
    }
#endif
    return true;
}
