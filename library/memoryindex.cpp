#include "library/memoryindex.h"

#include "index/index.h"
#include "library/workflowhost.h"

#include <QFileInfo>

bool MemoryIndex::run(Index& index, const QString& root, modeEnum mode)
{
    return mode == ModeRebuild ? index.createIndex(root) : index.updateIndex(root);
}

bool MemoryIndex::update(const QString& root)
{
    if (!QFileInfo::exists(root))
        return false;

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
