#include "library/memoryindex.h"

#include "index/index.h"
#include "library/memorylock.h"
#include "library/workflowhost.h"

#include <QFileInfo>

MemoryIndex::resultEnum MemoryIndex::run(Index& index, const QString& root, modeEnum mode)
{
    const MemoryLock lock(root);
    if (lock.busy())
        return ResultBusy;
    if (mode == ModeRebuild ? index.createIndex(root) : index.updateIndex(root))
        return ResultDone;
    return index.lastError() == Index::ErrorNoSongs ? ResultNoSongs : ResultFailed;
}

MemoryIndex::resultEnum MemoryIndex::check(Index& index, const QString& root, IndexReport& report)
{
    // Writes nothing, so takes no lock; but the files of a run at work would
    // be found to disagree.
    if (MemoryLock::heldElsewhere(root))
        return ResultBusy;
    return index.checkMemory(root, report) ? ResultDone : ResultFailed;
}

MemoryIndex::resultEnum MemoryIndex::update(const QString& root)
{
    if (!QFileInfo::exists(root))
        return ResultFailed;

    host.begin(WorkflowHost::PhaseIndex, 0);
    Index index;
    // The scan counts the files found before the total is known.
    int done = 0;
    int total = 0;
    QObject::connect(&index, &Index::fileFoundChanged, [&](int found) {
        done = found;
        host.progress(done, total);
    });
    QObject::connect(&index, &Index::progressMaxSetup, [&](int maximum) {
        total = maximum;
        host.progress(done, total);
    });
    QObject::connect(&index, &Index::progressValueChanged, [&](int value) {
        done = value;
        host.progress(done, total);
    });
    return run(index, root, ModeUpdate);
}
