#ifndef PLATFORM_REMOVABLEMEMORIES_H
#define PLATFORM_REMOVABLEMEMORIES_H

#include <QString>
#include <QStringList>
#include <QVector>

// The removable memories (cards, USB keys) among the mounted volumes, and
// their safe eject. A memory is a folder of the volumes folder, or (Linux) a
// mount whose block device's disk has /sys/block/<disk>/removable = 1, or
// (macOS) a volume that "diskutil info" calls removable or external.
//
// The system's files are read below a root folder: "/" normally, the
// environment's ORVALO3_SYSTEM_ROOT when set (tests lay out their own
// proc/self/mountinfo and sys/dev/block there).
class RemovableMemories
{
public:
    struct Mount
    {
        QString device;  // "/dev/sdb1"; what the mount table names for other file systems
        QString point;   // the folder it is mounted on
        bool removable = false;
    };

    enum ejectEnum {
        Ejected,   // unmounted: the memory can be taken out
        Busy,      // in use: left mounted
        NoTool,    // neither udisksctl nor diskutil: the desktop has to do it
        NoDevice,  // no block device known for the memory
        Failed     // the tool refused; `detail` says why
    };
    struct Ejection
    {
        ejectEnum result = Failed;
        QString detail;  // what the tool said, when it failed
    };

    RemovableMemories();
    explicit RemovableMemories(const QString& systemRoot);

    // The system's mounts in mount order, each marked removable or not.
    QVector<Mount> mounts() const;

    // The top folders of the removable memories: the folders of the volumes
    // folder by name, then removable mounts elsewhere; each once.
    QStringList list() const;

    // The top folder of the removable memory holding `path` (the path itself
    // included); empty when no removable memory holds it.
    QString rootOf(const QString& path) const;

    // The block device mounted on `root`; empty when none is known.
    QString deviceOf(const QString& root) const;

    // Unmounts the memory at `root` and powers it off: "udisksctl unmount"
    // then "udisksctl power-off" on its block device, "diskutil eject" on
    // macOS. A failed power-off after the unmount still counts as ejected.
    Ejection eject(const QString& root) const;

    // Whether the text of "diskutil info" calls the volume removable or external.
    static bool diskutilSaysRemovable(const QString& info);
    // A field of the mount table with its octal escapes ("\040") undone.
    static QString unescapeMountField(const QByteArray& field);

private:
    bool removableDevice(const QString& majorMinor) const;
    QString systemPath(const QString& path) const;

    QString systemRoot;
};

#endif
