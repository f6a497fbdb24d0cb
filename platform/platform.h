#ifndef PLATFORM_PLATFORM_H
#define PLATFORM_PLATFORM_H

#include <QString>

// The little the program needs from the operating system beyond Qt:
// where removable memories are mounted, the user-immutable flag and the room
// left on a memory (RemovableMemories finds and ejects the memories).
class Platform
{
public:
    // Folder under which removable memories are mounted, without a trailing "/":
    // $ORVALO3_VOLUMES_DIR when set, "/Volumes" on macOS, on Linux
    // "/run/media/<user>" or "/media/<user>" (the first that exists).
    static QString volumesDir();

    // True when path lies inside a mounted memory: it begins with the volumes
    // folder plus "/" (ignoring case) and has more after that.
    static bool isOnVolume(const QString& path);

    // The memory root holding path (the volumes folder plus one component),
    // or an empty string when path is not inside a mounted memory.
    static QString volumeRoot(const QString& path);

    // Memory root of a path: the volume root for a path inside a mounted
    // memory; otherwise the path's first two components ("/" when the path
    // has a single component).
    static QString rootOf(const QString& path);

    // The chflags program to clear a file's user-immutable flag, or an empty
    // string where the system has none (then there is no such flag to clear).
    static QString chflagsProgram();

    // Room on the file system holding `path`: the bytes that may still be
    // written (-1 where the file system does not tell, as some FUSE ones)
    // and its allocation unit (a FAT memory's cluster): a file takes whole
    // units.
    struct Space
    {
        qint64 available = -1;
        qint64 unit = 512;
        bool readOnly = false;
    };
    static Space spaceOf(const QString& path);
};

#endif
