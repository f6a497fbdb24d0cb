#ifndef LIBRARY_MEMORYTRANSFER_H
#define LIBRARY_MEMORYTRANSFER_H

#include <QString>

#include "library/filecopier.h"
#include "library/songoutcome.h"

class WorkflowHost;

// The transfer of songs to a folder of a player memory: the destination's
// rules, the copy under names the memory and the player can use, and the
// update of the memory's index after it.
class MemoryTransfer
{
public:
    enum resultEnum {
        ResultDone,
        ResultSystemDisk,       // the folder is not on a memory
        ResultRootNotFolder,    // the memory's top folder was chosen and "songs" there is not a folder
        ResultReservedFolder,   // "BRIDGE", "SFX" or "PLAYLIST"
        ResultOutsideMemory,    // the folder is not in the memory named for it
        ResultBusy,             // another transfer or index run holds the memory
        ResultFolderNotHoldable // a folder of the destination has a name the player cannot read (Result::folder)
    };

    struct Result
    {
        resultEnum result = ResultDone;
        QString destination;      // where the songs went
        QString root;             // the memory's top folder
        QString folder;           // ResultFolderNotHoldable: the folder's name
        FileCopier::Result copy;
        bool indexRun = false;    // the index update was run (something was copied, even by a stopped copy)
        bool indexOk = true;      // false when the update ran and failed
    };

    explicit MemoryTransfer(WorkflowHost& host) : host(host) {}

    // Copies `songs` into `folder` (phase PhaseTransfer), keeping room for
    // the memory's index, then brings the index up to date (phase
    // PhaseIndex) when anything was copied, also when the host stopped the
    // copy or the memory was full; the memory is locked meanwhile. The
    // memory is the removable one holding `folder`, or `memoryRoot` when one
    // is given.
    Result run(const QString& folder, const SongRefs& songs, const QString& memoryRoot = QString());

    // The room kept free on a memory of `unit`-byte allocation units for the
    // index of `songs` songs: twice a whole set of index files, as a commit
    // writes the new set beside the old one.
    static qint64 indexReserve(int songs, qint64 unit);

private:
    WorkflowHost& host;
};

#endif
