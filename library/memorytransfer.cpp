#include "library/memorytransfer.h"

#include "library/memoryindex.h"
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

MemoryTransfer::resultEnum MemoryTransfer::destinationFor(QString folder, QString& destination)
{
    // "/Volumes/CARD/" is the memory's top folder as much as "/Volumes/CARD".
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);

    if (isSystemDisk(folder))
        return ResultSystemDisk;

    destination = folder;
    if (isRoot(folder)) {
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

MemoryTransfer::Result MemoryTransfer::run(const QString& folder, const SongRefs& songs)
{
    Result result;
    result.result = destinationFor(folder, result.destination);
    if (result.result != ResultDone)
        return result;

    logBanner("TRASFERIMENTO FILE");

    host.begin(WorkflowHost::PhaseTransfer, songs.size());
    result.copy = FileCopier(host).copy(songs, result.destination);
    // The songs copied, also by a stopped or partly failed copy, join the
    // index: the player shows only what its index lists.
    if (result.copy.copied > 0) {
        result.indexRun = true;
        result.indexOk = MemoryIndex(host).update(rootOf(result.destination));
    }
    return result;
}
