#ifndef LIBRARY_MEMORYINDEX_H
#define LIBRARY_MEMORYINDEX_H

#include <QString>

class Index;
class WorkflowHost;

// The runs of a player memory's index. Every run of the program passes
// through run(), the one place that guards a memory during a run.
class MemoryIndex
{
public:
    enum modeEnum { ModeUpdate, ModeRebuild };

    // Updates or rebuilds the index of the memory at `root` with `index`,
    // whose signals the caller has connected.
    static bool run(Index& index, const QString& root, modeEnum mode);

    explicit MemoryIndex(WorkflowHost& host) : host(host) {}

    // Brings the index of the memory at `root` up to date (phase PhaseIndex);
    // false when the root is gone or the update failed.
    bool update(const QString& root);

private:
    WorkflowHost& host;
};

#endif
