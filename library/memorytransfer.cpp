#include "library/memorytransfer.h"

#include "index/indexset.h"
#include "library/memoryindex.h"
#include "library/memorylock.h"
#include "library/memorynames.h"
#include "library/workflowhost.h"
#include "library/workflowlog.h"
#include "platform/platform.h"
#include "platform/removablememories.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

// Bytes of index a song takes at most: its path record (270), its place in
// the order file (2), its title record (64), its artist record and, for an
// artist of its own, the artist's header (64 each).
const qint64 kIndexBytesPerSong = 270 + 2 + 3 * 64;

// The songs the memory's index will hold after a transfer of `adding` songs:
// those its path file lists, or the song files on it when it has none.
int songsAfter(const QString& root, int adding)
{
    const QFileInfo paths(root + QStringLiteral("/index.id3"));
    if (paths.isFile())
        return int(paths.size() / 270) + adding;
    int found = 0;
    QDirIterator songs(root, {"*.mid", "*.kar", "*.mf3", "*.mf4", "*.mf5", "*.mp3"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (songs.hasNext()) {
        songs.next();
        ++found;
    }
    return found + adding;
}

// The first folder of `destination`, below the memory's top folder `root`,
// whose name the player cannot read; empty when there is none. The player
// opens its songs by the Latin-1 paths of its index: such a folder hides
// every song in it.
QString unholdableFolder(const QString& destination, const QString& root)
{
    const QString below = destination.mid(root == QLatin1String("/") ? 0 : root.size());
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!MemoryNames::isHoldable(name))
            return name;
    }
    return QString();
}

} // namespace

qint64 MemoryTransfer::indexReserve(int songs, qint64 unit)
{
    const qint64 set = ((qint64(songs) * kIndexBytesPerSong + unit - 1) / unit + IndexSet::FileCount) * unit;
    return 2 * set;
}

namespace {

QString withoutTrailingSlash(QString path)
{
    // "/Volumes/CARD/" is the memory's top folder as much as "/Volumes/CARD".
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The top folder of the memory holding `folder`: the removable memory
// holding it, or `memoryRoot` when one is given. Changes nothing.
MemoryTransfer::resultEnum memoryOf(const QString& folder, const QString& memoryRoot, QString& root)
{
    if (memoryRoot.isEmpty()) {
        root = RemovableMemories().rootOf(folder);
        return root.isEmpty() ? MemoryTransfer::ResultSystemDisk : MemoryTransfer::ResultDone;
    }
    root = withoutTrailingSlash(memoryRoot);
    const QString inside = root == QLatin1String("/") ? root : root + QLatin1Char('/');
    if (folder != root && !folder.startsWith(inside))
        return MemoryTransfer::ResultOutsideMemory;
    return MemoryTransfer::ResultDone;
}

// The folder the songs go to for `folder` on the memory whose top folder is
// `root`: the folder itself, or its "songs" folder (made when missing) for
// the memory's top folder.
MemoryTransfer::resultEnum destinationIn(const QString& folder, const QString& root, QString& destination)
{
    using R = MemoryTransfer;
    const bool atRoot = folder == root;

    destination = folder;
    if (atRoot) {
        // Songs never go into the memory's top folder: they go into "songs".
        const QString songs = folder + QStringLiteral("/songs");
        if (!QFileInfo::exists(songs))
            QDir(folder).mkdir(QStringLiteral("songs"));
        if (!QFileInfo(songs).isDir())
            return R::ResultRootNotFolder;
        destination = songs;
    }

    const QString last = destination.section(QLatin1Char('/'), -1);
    for (const char* reserved : {"SFX", "BRIDGE", "PLAYLIST"}) {
        if (last.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            return R::ResultReservedFolder;
    }
    return unholdableFolder(destination, root).isEmpty() ? R::ResultDone : R::ResultFolderNotHoldable;
}

} // namespace

MemoryTransfer::Result MemoryTransfer::run(const QString& folder, const SongRefs& songs, const QString& memoryRoot)
{
    Result result;
    const QString chosen = withoutTrailingSlash(folder);
    result.result = memoryOf(chosen, memoryRoot, result.root);
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
    result.result = destinationIn(chosen, result.root, result.destination);
    if (result.result == ResultFolderNotHoldable)
        result.folder = unholdableFolder(result.destination, result.root);
    if (result.result != ResultDone)
        return result;

    logBanner("TRASFERIMENTO FILE");

    host.begin(WorkflowHost::PhaseTransfer, songs.size());
    FileCopier copier(host);
    copier.setMemory(result.root,
                     indexReserve(songsAfter(result.root, songs.size()), Platform::spaceOf(result.destination).unit));
    result.copy = copier.copy(songs, result.destination);
    // The songs copied, also by a stopped, partly failed or cut short copy,
    // join the index: the player shows only what its index lists.
    if (result.copy.copied > 0) {
        result.indexRun = true;
        result.indexOk = MemoryIndex(host).update(result.root) == MemoryIndex::ResultDone;
    }
    return result;
}
