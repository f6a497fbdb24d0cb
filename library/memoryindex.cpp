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

    int found = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&index, &Index::fileFoundChanged, [&found](int count) { found = count; });
    bool ok = mode == ModeRebuild ? index.createIndex(root) : index.updateIndex(root);
    QObject::disconnect(counting);

    if (found == 0 && (ok || mode == ModeRebuild)) {
        // An update that finds no song file writes nothing, so the old index
        // would go on listing songs that are gone: no songs, no index, as
        // after a rebuild.
        index.deleteIndex();
        return ResultNoSongs;
    }
    return ok ? ResultDone : ResultFailed;
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
