#ifndef LIBRARY_MEMORYTRANSFER_H
#define LIBRARY_MEMORYTRANSFER_H

#include <QString>

#include "library/filecopier.h"
#include "library/songoutcome.h"

class WorkflowHost;

// The transfer of songs to a folder of a player memory: the destination's
// rules, the copy, and the update of the memory's index after it.
class MemoryTransfer
{
public:
    enum resultEnum {
        ResultDone,
        ResultSystemDisk,     // the folder is not on a memory
        ResultRootNotFolder,  // the memory's top folder was chosen and "songs" there is not a folder
        ResultReservedFolder, // "BRIDGE", "SFX" or "PLAYLIST"
        ResultOutsideMemory,  // the folder is not in the memory named for it
        ResultBusy            // another transfer or index run holds the memory
    };

    struct Result
    {
        resultEnum result = ResultDone;
        QString destination;      // where the songs went
        FileCopier::Result copy;
        QString root;             // the memory's top folder
        bool indexRun = false;    // the index update was run (something was copied, even by a stopped copy)
        bool indexOk = true;      // false when the update ran and failed
    };

    explicit MemoryTransfer(WorkflowHost& host) : host(host) {}

    // Copies `songs` into `folder` (phase PhaseTransfer), then brings the
    // memory's index up to date (phase PhaseIndex) when anything was copied,
    // also when the host stopped the copy; the memory is locked meanwhile.
    // The memory is the one below the volumes folder holding `folder`, or
    // `memoryRoot` when one is given.
    Result run(const QString& folder, const SongRefs& songs, const QString& memoryRoot = QString());

    // The folder the songs go to for a chosen folder: the folder itself, or
    // its "songs" folder (made when missing) for a memory's top folder. The
    // memory is found below the volumes folder, or is `memoryRoot` if given.
    static resultEnum destinationFor(QString folder, QString& destination);
    static resultEnum destinationFor(QString folder, const QString& memoryRoot, QString& destination);

    // The top folder of the memory holding `path` (the volumes folder plus
    // one component); the path itself when it is not below the volumes folder.
    static QString rootOf(const QString& path);
    static bool isRoot(const QString& path);
    // Whether `path` is not on a memory below the volumes folder.
    static bool isSystemDisk(const QString& path);

private:
    WorkflowHost& host;
};

#endif
