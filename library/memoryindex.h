#ifndef LIBRARY_MEMORYINDEX_H
#define LIBRARY_MEMORYINDEX_H

#include <QString>

class Index;
class WorkflowHost;
struct IndexReport;

// The runs of a player memory's index. Every run of the program passes
// through run(), the one place that guards a memory during a run.
class MemoryIndex
{
public:
    enum modeEnum { ModeUpdate, ModeRebuild };
    enum resultEnum {
        ResultDone,
        ResultFailed,   // the run failed; Index::lastError() tells why
        ResultNoSongs,  // no song file on the memory: its index was left as it was
        ResultBusy      // another run holds the memory
    };

    // Updates or rebuilds the index of the memory at `root` with `index`,
    // whose signals the caller has connected, holding the memory's lock.
    static resultEnum run(Index& index, const QString& root, modeEnum mode);
    // Looks at the memory at `root` without writing anything: ResultDone when
    // its index is complete, sound and in step with its songs, ResultFailed
    // with `report` (and Index::lastError()) telling what is not.
    static resultEnum check(Index& index, const QString& root, IndexReport& report);

    explicit MemoryIndex(WorkflowHost& host) : host(host) {}

    // Brings the index of the memory at `root` up to date (phase PhaseIndex);
    // ResultFailed as well when the root is gone.
    resultEnum update(const QString& root);

private:
    WorkflowHost& host;
};

#endif
