#ifndef LIBRARY_LIBRARYBACKUP_H
#define LIBRARY_LIBRARYBACKUP_H

#include <QDateTime>
#include <QSet>
#include <QString>

#include "library/songoutcome.h"

class WorkflowHost;

// The backup made before songs are rewritten: a new folder
// "backup_tavrel_<date>_<time>" in the chosen folder with a copy of every
// song (and of an MP3 song's karaoke graphics). Songs of the same file name
// from different folders each get their own copy ("name (2).mid"), and the
// manifest file of the folder tells which original each copy is.
class LibraryBackup
{
public:
    enum resultEnum {
        ResultDone,          // every song is in the backup, whole, and so is the manifest
        ResultNoFolder,      // no folder was chosen
        ResultFolderNotMade, // the backup folder could not be created
        ResultCopyFailed,    // some songs (notBackedUp()) or the manifest are not in the backup
        ResultStopped        // the host stopped the copy
    };

    // The manifest in the backup folder: a line "backup name<TAB>original
    // path" for every file copied, after a heading line.
    static const char* const manifestName;

    explicit LibraryBackup(WorkflowHost& host) : host(host) {}

    // Backs `songs` up into a new folder of parentDir (phase PhaseBackup);
    // `folder` receives the backup folder's path once it is made.
    resultEnum run(const QString& parentDir, const SongRefs& songs, QString* folder = nullptr);

    // The songs of the last run that are not in the backup, each with its
    // reason; the manifest itself when it could not be written.
    const SongOutcomes& notBackedUp() const { return missing; }

    // "backup_tavrel_" and the local date and time, "yyyy_MM_dd_hh-mm-ss".
    static QString folderName(const QDateTime& when);

    // `fileName`, or "name (2).ext", "name (3).ext", ... the first one whose
    // name, and its karaoke graphics' name when `withCompanion`, is not in
    // `taken` (compared ignoring letter case, as memories and Macs do).
    // The names chosen join `taken`.
    static QString uniqueName(const QString& fileName, bool withCompanion, QSet<QString>& taken);

private:
    WorkflowHost& host;
    SongOutcomes missing;
};

#endif
