#ifndef LIBRARY_LIBRARYBACKUP_H
#define LIBRARY_LIBRARYBACKUP_H

#include <QDateTime>
#include <QString>

#include "library/songoutcome.h"

class WorkflowHost;

// The backup made before songs are rewritten: a new folder
// "backup_tavrel_<date>_<time>" in the chosen folder, and a flat copy of the
// songs in it by the file copier.
class LibraryBackup
{
public:
    enum resultEnum {
        ResultDone,
        ResultNoFolder,      // no folder was chosen
        ResultFolderNotMade, // the backup folder could not be created
        ResultCopyFailed,    // a file could not be copied; the others were
        ResultStopped        // the host stopped the copy
    };

    explicit LibraryBackup(WorkflowHost& host) : host(host) {}

    // Backs `songs` up into a new folder of parentDir (phase PhaseBackup);
    // `folder` receives the backup folder's path once it is made.
    resultEnum run(const QString& parentDir, const SongRefs& songs, QString* folder = nullptr);

    // "backup_tavrel_" and the local date and time, "yyyy_MM_dd_hh-mm-ss".
    static QString folderName(const QDateTime& when);

private:
    WorkflowHost& host;
};

#endif
