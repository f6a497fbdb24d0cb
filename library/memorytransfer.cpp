#include "library/memorytransfer.h"

#include "library/memoryindex.h"
#include "library/memorylock.h"
#include "library/workflowhost.h"
#include "library/workflowlog.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>

QString MemoryTransfer::rootOf(const QString& path)
{
    return Platform::rootOf(path);
}

bool MemoryTransfer::isRoot(const QString& path)
{
    return rootOf(path) == path;
}

bool MemoryTransfer::isSystemDisk(const QString& path)
{
    return !Platform::isOnVolume(path);
}

namespace {

QString withoutTrailingSlash(QString path)
{
    // "/Volumes/CARD/" is the memory's top folder as much as "/Volumes/CARD".
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The top folder of the memory holding `folder`: below the volumes folder,
// or `memoryRoot` when one is given. Changes nothing.
MemoryTransfer::resultEnum memoryOf(const QString& folder, const QString& memoryRoot, QString& root)
{
    if (memoryRoot.isEmpty()) {
        if (MemoryTransfer::isSystemDisk(folder))
            return MemoryTransfer::ResultSystemDisk;
        root = MemoryTransfer::rootOf(folder);
        return MemoryTransfer::ResultDone;
    }
    root = withoutTrailingSlash(memoryRoot);
    const QString inside = root == QLatin1String("/") ? root : root + QLatin1Char('/');
    if (folder != root && !folder.startsWith(inside))
        return MemoryTransfer::ResultOutsideMemory;
    return MemoryTransfer::ResultDone;
}

} // namespace

MemoryTransfer::resultEnum MemoryTransfer::destinationFor(QString folder, QString& destination)
{
    return destinationFor(folder, QString(), destination);
}

MemoryTransfer::resultEnum MemoryTransfer::destinationFor(QString folder, const QString& memoryRoot,
                                                          QString& destination)
{
    folder = withoutTrailingSlash(folder);
    QString root;
    const resultEnum memory = memoryOf(folder, memoryRoot, root);
    if (memory != ResultDone)
        return memory;
    const bool atRoot = folder == root;

    destination = folder;
    if (atRoot) {
        // Songs never go into the memory's top folder: they go into "songs".
        const QString songs = folder + QStringLiteral("/songs");
        if (!QFileInfo::exists(songs))
            QDir(folder).mkdir(QStringLiteral("songs"));
        if (!QFileInfo(songs).isDir())
            return ResultRootNotFolder;
        destination = songs;
    }

    const QString last = destination.section(QLatin1Char('/'), -1);
    for (const char* reserved : {"SFX", "BRIDGE", "PLAYLIST"}) {
        if (last.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            return ResultReservedFolder;
    }
    return ResultDone;
}

MemoryTransfer::Result MemoryTransfer::run(const QString& folder, const SongRefs& songs, const QString& memoryRoot)
{
    Result result;
    result.result = memoryOf(withoutTrailingSlash(folder), memoryRoot, result.root);
    if (result.result != ResultDone)
        return result;

    // The memory is untouched while another run holds it. Copy and index
    // update go under one lock: another run in between would index a
    // half-copied memory.
    const MemoryLock lock(result.root);
    if (lock.busy()) {
        result.result = ResultBusy;
        return result;
    }
    result.result = destinationFor(folder, memoryRoot, result.destination);
    if (result.result != ResultDone)
        return result;

    logBanner("TRASFERIMENTO FILE");

    host.begin(WorkflowHost::PhaseTransfer, songs.size());
    result.copy = FileCopier(host).copy(songs, result.destination);
    // The songs copied, also by a stopped or partly failed copy, join the
    // index: the player shows only what its index lists.
    if (result.copy.copied > 0) {
        result.indexRun = true;
        result.indexOk = MemoryIndex(host).update(result.root) == MemoryIndex::ResultDone;
    }
    return result;
}
