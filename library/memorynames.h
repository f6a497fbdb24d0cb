#ifndef LIBRARY_MEMORYNAMES_H
#define LIBRARY_MEMORYNAMES_H

#include <QString>
#include <QStringList>

// Names of the songs copied onto a player's memory. The memory is FAT32,
// which refuses some characters and ignores letter case, and the player
// opens its songs through the Latin-1 paths of its index: a name that breaks
// either rule is a song that fails to copy or that the player cannot open.
// The song's own file on the computer keeps its name.
namespace MemoryNames {

// Longest path of a song relative to the memory's root that the index holds
// ("/songs/name.mid"; the index's path field is 252 bytes with its end zero).
constexpr int kMaxRelativePath = 251;

// `name` as FAT32 accepts it and Latin-1 holds it: typographic quotes become
// "'", dashes "-", letters of other scripts are written in Latin letters and
// lose the accents Latin-1 lacks, anything else that cannot be kept becomes
// "_"; leading dots and trailing dots and spaces go.
QString holdableName(const QString& name);

// True when `name` (a folder's) can stand on the memory as it is.
bool isHoldable(const QString& name);

// The names on the memory of the files `fileNames` (in transfer order) copied
// into `relativeDir`, the destination folder relative to the memory's root
// ("/songs"): each made holdable, shortened so that its path stays within
// kMaxRelativePath, and numbered "name (2).mid", "name (3).mid" when it would
// take the name of an earlier one, letter case ignored. An empty name where
// the folder leaves no room for any.
QStringList transferNames(const QStringList& fileNames, const QString& relativeDir);

// The name of the karaoke graphics (".cdg") that travel with the MP3 song
// named `songName` on the memory.
QString companionName(const QString& songName);

} // namespace MemoryNames

#endif
