#include "songfiles/songreplacement.h"

#include "songfiles/savefaults.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const qint64 kCopyChunk = 100000; // the song's own bytes are copied in pieces of this size
const int kMaxNameBytes = 255;
const char kCopySuffix[] = ".orvalo3-copy";

// ---------------------------------------------------------------- test faults

struct Fault
{
    int countdown = 0;
    int times = 0;
    int error = 0;
};
bool faultsArmed = false;
Fault faults[4];

bool injected(SaveFaults::Operation op)
{
    if (Q_LIKELY(!faultsArmed))
        return false;
    Fault& f = faults[op];
    if (f.times == 0)
        return false;
    if (f.countdown > 1) {
        --f.countdown;
        return false;
    }
    if (f.times > 0)
        --f.times;
    errno = f.error;
    return true;
}

// ---------------------------------------------------------------- system calls

timespec modificationTime(const struct stat& st)
{
#ifdef __APPLE__
    return st.st_mtimespec;
#else
    return st.st_mtim;
#endif
}

timespec accessTime(const struct stat& st)
{
#ifdef __APPLE__
    return st.st_atimespec;
#else
    return st.st_atim;
#endif
}

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        if (injected(SaveFaults::Write))
            return false;
        const ssize_t n = ::write(fd, data, size_t(qMin<qint64>(size, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Up to `size` bytes at `offset`: the number read (0 at the end), or -1.
qint64 readAt(int fd, char* buffer, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool flushToDisk(int fd)
{
    if (injected(SaveFaults::Flush))
        return false;
#ifdef __linux__
    return ::fdatasync(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

// Closes fd in any case; false when the close reports an error (network file
// systems report failed writes there).
bool closeFile(int& fd)
{
    const int f = fd;
    fd = -1;
    const bool fault = injected(SaveFaults::Close);
    const int faultError = errno;
    if (::close(f) != 0 && errno != EINTR)
        return false;
    if (fault)
        errno = faultError;
    return !fault;
}

bool renameFile(const QByteArray& from, const QByteArray& to)
{
    if (injected(SaveFaults::Rename))
        return false;
    return ::rename(from.constData(), to.constData()) == 0;
}

// Makes the folder's new entries durable. By then the save is done, and some
// file systems cannot flush a folder: a failure is only logged.
void syncFolder(const QByteArray& folder)
{
    int fd = ::open(folder.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::fsync(fd) != 0 && errno != EINVAL)
        qDebug() << "[SongReplacement::commit] folder not flushed:" << errorText(errno);
    ::close(fd);
}

// Errors that mean the file system cannot hold an attribute, or this user
// may not set it: the song is saved without it.
bool attributeNotHeld(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == EACCES
        || error == ENOSYS || error == EINVAL || error == E2BIG;
}

// Copies every extended attribute (Finder tags and comments on macOS, user.*
// attributes on Linux). False only when the file system could hold an
// attribute and setting it failed all the same.
bool copyExtendedAttributes(int from, int to)
{
#ifdef __APPLE__
    auto list = [](int fd, char* buf, size_t size) { return ::flistxattr(fd, buf, size, 0); };
    auto get = [](int fd, const char* name, void* buf, size_t size) { return ::fgetxattr(fd, name, buf, size, 0, 0); };
    auto set = [](int fd, const char* name, const void* buf, size_t size) { return ::fsetxattr(fd, name, buf, size, 0, 0); };
#else
    auto list = [](int fd, char* buf, size_t size) { return ::flistxattr(fd, buf, size); };
    auto get = [](int fd, const char* name, void* buf, size_t size) { return ::fgetxattr(fd, name, buf, size); };
    auto set = [](int fd, const char* name, const void* buf, size_t size) { return ::fsetxattr(fd, name, buf, size, 0); };
#endif
    const ssize_t listSize = list(from, nullptr, 0);
    if (listSize <= 0)
        return true; // none, or none can be held here
    QByteArray names(int(listSize), '\0');
    const ssize_t got = list(from, names.data(), size_t(names.size()));
    if (got < 0)
        return true;
    names.truncate(int(got));
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = get(from, name.constData(), nullptr, 0);
        if (size < 0)
            continue; // removed meanwhile
        QByteArray value(int(size), '\0');
        const ssize_t read = get(from, name.constData(), value.data(), size_t(value.size()));
        if (read < 0)
            continue;
        value.truncate(int(read));
        if (set(to, name.constData(), value.constData(), size_t(value.size())) == 0)
            continue;
        const int error = errno;
        if (!attributeNotHeld(error)) {
            qDebug() << "[SongReplacement::commit] extended attribute" << name << "not copied:" << errorText(error);
            errno = error;
            return false;
        }
        qDebug() << "[SongReplacement::commit] extended attribute" << name << "not kept here:" << errorText(error);
    }
    return true;
}

SongReplacement::Failure failureOf(int error, SongReplacement::Failure permission)
{
    switch (error) {
    case EROFS:
        return SongReplacement::ReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return SongReplacement::NoSpace;
    case EACCES:
    case EPERM:
        return permission;
    default:
        return SongReplacement::WriteFailed;
    }
}

// The file a save writes: the path, or where its symbolic links lead.
QString resolveTarget(const QString& path)
{
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (int i = 0; i < 40; ++i) {
        const QFileInfo info(p);
        if (!info.isSymLink())
            break;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            break;
        p = QDir::cleanPath(next);
    }
    return p;
}

QByteArray folderOf(const QString& file) { return QFile::encodeName(QFileInfo(file).path()); }

// Name of the hidden copy kept while a song is rewritten in place: the song's
// name behind a dot, with a suffix no song has; a name too long for that is
// cut (at a character) and told apart by a hash of the whole name.
QByteArray copyNameOf(const QString& file)
{
    const QByteArray name = QFile::encodeName(QFileInfo(file).fileName());
    const int suffix = int(sizeof(kCopySuffix)) - 1;
    if (1 + name.size() + suffix <= kMaxNameBytes)
        return '.' + name + kCopySuffix;
    const QByteArray hash = QCryptographicHash::hash(name, QCryptographicHash::Md5).toHex().left(8);
    int keep = kMaxNameBytes - 1 - 1 - hash.size() - suffix;
    while (keep > 0 && (uchar(name.at(keep)) & 0xC0) == 0x80)
        --keep;
    return '.' + name.left(keep) + '~' + hash + kCopySuffix;
}

QByteArray temporaryName()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(".orvalo3-");
    for (int i = 0; i < 8; ++i)
        name.append(letters[QRandomGenerator::global()->bounded(int(sizeof(letters)) - 1)]);
    return name + ".tmp";
}

} // namespace

// ---------------------------------------------------------------- test hook

namespace SaveFaults {

void arm(Operation op, int nth, int times, int error)
{
    faults[op] = Fault{qMax(1, nth), times, error};
    faultsArmed = true;
}

void disarm()
{
    for (Fault& f : faults)
        f = Fault();
    faultsArmed = false;
}

} // namespace SaveFaults

// ---------------------------------------------------------------- replacement

SongReplacement::SongReplacement(const QString& path, const SongFileState* expected)
    : requested(path), expected(expected && expected->isValid() ? expected : nullptr)
{
}

SongReplacement::~SongReplacement()
{
    if (!committed)
        undo();
    if (sourceFd >= 0)
        ::close(sourceFd);
}

QString SongReplacement::leftoverCopyOf(const QString& path)
{
    const QString file = resolveTarget(path);
    const QByteArray copy = folderOf(file) + '/' + copyNameOf(file);
    struct stat st;
    return ::lstat(copy.constData(), &st) == 0 ? QFile::decodeName(copy) : QString();
}

bool SongReplacement::fail(Failure kind)
{
    undo();
    failed = keptCopyPath.isEmpty() ? kind : CopyKept;
    return false;
}

bool SongReplacement::failWithErrno(const char* origin, const char* what, Failure permission)
{
    const int error = errno;
    qDebug() << origin << what << target << errorText(error);
    return fail(failureOf(error, permission));
}

bool SongReplacement::begin()
{
    target = resolveTarget(requested);
    folder = folderOf(target);
    const QByteArray file = QFile::encodeName(target);
    const bool sameName = expected && QDir::cleanPath(QFileInfo(requested).absoluteFilePath()) == expected->path;

    sourceFd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (sourceFd < 0) {
        if (errno != ENOENT)
            return failWithErrno("[SongReplacement::begin]", "cannot read", WriteFailed);
        if (sameName) {
            qDebug() << "[SongReplacement::begin] the song was deleted since it was read, not re-created:" << target;
            return fail(Deleted);
        }
    } else {
        if (::fstat(sourceFd, &original) != 0)
            return failWithErrno("[SongReplacement::begin]", "cannot examine", WriteFailed);
        if (!S_ISREG(original.st_mode)) {
            qDebug() << "[SongReplacement::begin] not a regular file:" << target;
            return fail(WriteFailed);
        }
        haveOriginal = true;
        const bool sameFile = expected && quint64(original.st_dev) == expected->device
            && quint64(original.st_ino) == expected->inode;
        if ((sameName || sameFile) && !matchesExpected()) {
            qDebug() << "[SongReplacement::begin] the song was changed on disk since it was read, nothing written:"
                     << target;
            return fail(ChangedOnDisk);
        }
    }

    if (::faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS) != 0)
        return failWithErrno("[SongReplacement::begin]", "folder not writable for", FolderNotWritable);

    if (haveOriginal && original.st_nlink > 1) {
        const bool writable = (original.st_mode & S_IWUSR)
            && ::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) == 0;
        if (writable)
            return beginInPlace();
        qDebug() << "[SongReplacement::begin] read-only song with" << qulonglong(original.st_nlink)
                 << "links replaced by a new file, its other links keep the old content:" << target;
    }
    return beginRename();
}

bool SongReplacement::matchesExpected()
{
    const SongFileState& e = *expected;
    if (!SongFileState::ofStat(original, target).sameFileAs(e) || e.head.size() > e.size)
        return false;
    QByteArray head(e.head.size(), Qt::Uninitialized);
    return readAt(sourceFd, head.data(), head.size(), 0) == head.size() && head == e.head;
}

bool SongReplacement::beginRename()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = folder + '/' + temporaryName();
        // A new song takes the usual mode; a replacement takes the song's own
        // at commit, and until then nobody else may read it half-written.
        outFd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                       haveOriginal ? 0600 : 0666);
        if (outFd >= 0)
            return true;
        if (errno != EEXIST) {
            tempName.clear();
            return failWithErrno("[SongReplacement::begin]", "cannot create a file beside", FolderNotWritable);
        }
    }
    tempName.clear();
    qDebug() << "[SongReplacement::begin] no free temporary name beside" << target;
    return fail(WriteFailed);
}

bool SongReplacement::beginInPlace()
{
    const QByteArray file = QFile::encodeName(target);
    copyName = folder + '/' + copyNameOf(target);
    int copyFd = ::open(copyName.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (copyFd < 0) {
        const int error = errno;
        copyName.clear();
        if (error == EEXIST) {
            qDebug() << "[SongReplacement::begin] a copy left by an interrupted save is in the way, not saved:"
                     << target;
            return fail(LeftoverInTheWay);
        }
        errno = error;
        return failWithErrno("[SongReplacement::begin]", "cannot create the copy of", FolderNotWritable);
    }
    inPlace = true;
    qDebug() << "[SongReplacement::begin] song with" << qulonglong(original.st_nlink)
             << "links saved in place, copy kept meanwhile:" << QFile::decodeName(copyName);
    if (!copyFileTo(sourceFd, copyFd) || !flushToDisk(copyFd)) {
        const int error = errno;
        ::close(copyFd);
        errno = error;
        return failWithErrno("[SongReplacement::begin]", "cannot copy", WriteFailed);
    }
    if (!closeFile(copyFd))
        return failWithErrno("[SongReplacement::begin]", "cannot close the copy of", WriteFailed);
    syncFolder(folder);

    // From now on the song's own bytes come from the copy.
    ::close(sourceFd);
    sourceFd = ::open(copyName.constData(), O_RDONLY | O_CLOEXEC);
    if (sourceFd < 0)
        return failWithErrno("[SongReplacement::begin]", "cannot read the copy of", WriteFailed);
    outFd = ::open(file.constData(), O_WRONLY | O_CLOEXEC);
    if (outFd < 0)
        return failWithErrno("[SongReplacement::begin]", "cannot write", ReadOnly);
    return true;
}

// The whole of `from` written to `to` at its position; true only when every
// byte of the song as it was found was copied.
bool SongReplacement::copyFileTo(int from, int to)
{
    QByteArray buffer(int(kCopyChunk), Qt::Uninitialized);
    qint64 pos = 0;
    for (;;) {
        const qint64 n = readAt(from, buffer.data(), kCopyChunk, pos);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!writeAll(to, buffer.constData(), n))
            return false;
        pos += n;
    }
    if (pos != qint64(original.st_size)) {
        errno = EIO;
        return false;
    }
    return true;
}

bool SongReplacement::write(const QByteArray& data)
{
    if (outFd < 0)
        return false;
    touched = inPlace;
    if (!writeAll(outFd, data.constData(), data.size()))
        return failWithErrno("[SongReplacement::write]", "cannot write the new content of", WriteFailed);
    writtenBytes += data.size();
    return true;
}

bool SongReplacement::appendOriginalFrom(qint64 offset)
{
    if (outFd < 0)
        return false;
    struct stat st;
    if (sourceFd < 0 || ::fstat(sourceFd, &st) != 0 || offset > qint64(st.st_size)) {
        qDebug() << "[SongReplacement::write] the song is missing or shorter than its tag:" << target;
        return fail(NoSource);
    }
    touched = inPlace;
    QByteArray buffer(int(kCopyChunk), Qt::Uninitialized);
    for (qint64 pos = offset;;) {
        const qint64 n = readAt(sourceFd, buffer.data(), kCopyChunk, pos);
        if (n == 0)
            return true;
        if (n < 0 || !writeAll(outFd, buffer.constData(), n))
            return failWithErrno("[SongReplacement::write]", "cannot copy the audio of", WriteFailed);
        pos += n;
        writtenBytes += n;
    }
}

// The new file takes the song's extended attributes, owner and group (as far
// as this user may set them) and mode; a file system that cannot hold them
// (FAT) does not fail the save.
bool SongReplacement::takeOwnerAndMode()
{
    if (!copyExtendedAttributes(sourceFd, outFd))
        return failWithErrno("[SongReplacement::commit]", "extended attributes not copied to the new", WriteFailed);
    struct stat now;
    if (::fstat(outFd, &now) != 0)
        return failWithErrno("[SongReplacement::commit]", "cannot examine the new", WriteFailed);
    if (now.st_uid != original.st_uid || now.st_gid != original.st_gid) {
        if (::fchown(outFd, original.st_uid, original.st_gid) != 0
            && (now.st_gid == original.st_gid || ::fchown(outFd, uid_t(-1), original.st_gid) != 0))
            qDebug() << "[SongReplacement::commit] owner or group not kept:" << errorText(errno) << target;
    }
    if (::fchmod(outFd, original.st_mode & 07777) != 0)
        qDebug() << "[SongReplacement::commit] mode not kept:" << errorText(errno) << target;
    return true;
}

bool SongReplacement::commit()
{
    if (outFd < 0)
        return false;
    if (inPlace && ::ftruncate(outFd, off_t(writtenBytes)) != 0)
        return failWithErrno("[SongReplacement::commit]", "cannot cut", WriteFailed);
    if (!inPlace && haveOriginal && !takeOwnerAndMode())
        return false;
    if (!flushToDisk(outFd))
        return failWithErrno("[SongReplacement::commit]", "cannot flush to disk the new content of", WriteFailed);
    if (!closeFile(outFd))
        return failWithErrno("[SongReplacement::commit]", "cannot close the new content of", WriteFailed);

    const QByteArray file = QFile::encodeName(target);
    if (!inPlace) {
        if (!renameFile(tempName, file)) {
            const int error = errno;
            qDebug() << "[SongReplacement::commit] cannot replace, song left unchanged:" << target << errorText(error);
            return fail(error == EACCES ? FolderNotWritable : failureOf(error, ReadOnly));
        }
        tempName.clear();
    }
    committed = true;
    if (inPlace) {
        if (::unlink(copyName.constData()) != 0)
            qDebug() << "[SongReplacement::commit] copy not deleted:" << QFile::decodeName(copyName)
                     << errorText(errno);
        copyName.clear();
    }
    syncFolder(folder);
    if (::stat(file.constData(), &written) != 0)
        written = original;
    return true;
}

SongFileState SongReplacement::writtenState() const
{
    return committed ? SongFileState::ofStat(written, requested) : SongFileState();
}

// Takes back whatever a save that did not commit left: the new file, or, in
// place, the song's bytes from its copy.
void SongReplacement::undo()
{
    if (committed)
        return;
    if (outFd >= 0) {
        ::close(outFd);
        outFd = -1;
    }
    if (!tempName.isEmpty()) {
        ::unlink(tempName.constData());
        tempName.clear();
    }
    if (!inPlace || copyName.isEmpty())
        return;
    if (!touched || restoreFromCopy()) {
        ::unlink(copyName.constData());
        if (touched)
            qDebug() << "[SongReplacement::undo] song put back as it was:" << target;
    } else {
        keptCopyPath = QFile::decodeName(copyName);
        qDebug() << "[SongReplacement::undo] WARNING: the song could not be put back, its copy is kept:"
                 << keptCopyPath;
    }
    copyName.clear();
}

bool SongReplacement::restoreFromCopy()
{
    // The song's bytes come from the copy, open since the save began.
    int to = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CLOEXEC);
    bool ok = to >= 0 && copyFileTo(sourceFd, to) && ::ftruncate(to, original.st_size) == 0;
    if (ok) {
        // The same bytes and time again: the song reads as unchanged.
        const timespec times[2] = {accessTime(original), modificationTime(original)};
        ::futimens(to, times);
        ok = flushToDisk(to);
    }
    if (to >= 0)
        ok = closeFile(to) && ok;
    return ok;
}
