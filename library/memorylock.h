#ifndef LIBRARY_MEMORYLOCK_H
#define LIBRARY_MEMORYLOCK_H

#include <QString>

#include <memory>

class QLockFile;

// Keeps a second transfer or index run, of this program or of its command
// line, off a player memory while one is at work on it: a hidden lock file in
// the memory's root for the life of the object. The player and the index pass
// over it; it is removed when the run ends.
//
// A lock left by a process of this machine that has ended is taken over at
// once; one left by another machine, or one that cannot be read, once it is
// older than a run could be. A memory where no file can be made (a
// write-protected card) is worked on unguarded: nothing else can write there
// either. Nested locks of the same root in one process share the outer one.
class MemoryLock
{
public:
    enum stateEnum {
        StateHeld,      // this run holds the memory
        StateBusy,      // another run holds it
        StateUnguarded  // no lock file could be made; the run may go on
    };

    explicit MemoryLock(const QString& root);
    ~MemoryLock();
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;

    bool busy() const { return lockState == StateBusy; }

    // The lock file's name in a memory's root.
    static QString fileName();
    // Whether another run holds the memory at `root`, found without writing
    // anything there: for runs that only read the memory.
    static bool heldElsewhere(const QString& root);

private:
    QString key;  // the root's absolute path
    std::unique_ptr<QLockFile> file;
    stateEnum lockState = StateUnguarded;
    bool outer = false;  // this object made the lock file
};

#endif
