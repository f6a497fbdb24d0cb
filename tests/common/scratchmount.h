// A small file system mounted on a test's folder while alive: a tmpfs of a
// given size, or a FAT32 image mounted through FUSE, as a player's card is.
#ifndef TESTS_COMMON_SCRATCHMOUNT_H
#define TESTS_COMMON_SCRATCHMOUNT_H

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace ScratchMount {

// Runs a system tool quietly; true when it succeeded. `output` receives both channels.
inline bool tool(const QString& name, const QStringList& args, QByteArray* output = nullptr)
{
    QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"});
    if (program.isEmpty())
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = p.readAll();
    return ok;
}

inline bool mountedAs(const QString& point, const QByteArray& type)
{
    QFile mounts("/proc/mounts");
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 2 && QFile::decodeName(fields[1]) == point && fields[2] == type)
            return true;
    }
    return false;
}

// Mounted on `point` (an existing empty folder) while alive: kind "fat32" is
// a 64 MB FAT32 image through fusefat, anything else the size of a tmpfs
// ("256k"). Needs root for a tmpfs, /dev/fuse, dosfstools and fusefat for
// FAT32; `mounted` tells. Unmounted however the test ends.
struct Mount
{
    const QString point;
    const bool fat;
    QTemporaryDir image;
    bool mounted = false;
    Mount(const QString& point, const QString& kind) : point(point), fat(kind == "fat32")
    {
        if (fat)
            mounted = QFile::exists("/dev/fuse") && tool("mkfs.vfat", {"-F", "32", "-C", imageFile(), "65536"})
                && tool("fusefat", {"-o", "rw+", imageFile(), point}) && mountedAs(point, "fuse.fusefat");
        else
            mounted = tool("mount", {"-t", "tmpfs", "-o", "size=" + kind, "tmpfs", point});
    }
    QString imageFile() const { return image.path() + "/img"; }
    bool readOnly() { return tool("mount", {"-o", "remount,ro", point}); }
    bool unmount()
    {
        if (mounted)
            mounted = !tool(fat ? "fusermount" : "umount", fat ? QStringList{"-u", point} : QStringList{point});
        return !mounted;
    }
    // Unmounts a FAT32 image and checks it with "fsck.vfat -n"; its report when it is not clean.
    QByteArray fsckProblems()
    {
        if (!unmount())
            return "cannot unmount";
        QByteArray report;
        return tool("fsck.vfat", {"-n", imageFile()}, &report) ? QByteArray() : report;
    }
    ~Mount() { unmount(); }
};

} // namespace ScratchMount

#endif
