#include "library/librarybackup.h"

#include "library/filecopier.h"
#include "library/workflowhost.h"
#include "library/workflowlog.h"

#include <QDebug>
#include <QDir>

QString LibraryBackup::folderName(const QDateTime& when)
{
    return QLatin1String("backup_tavrel_") + when.toString(QStringLiteral("yyyy_MM_dd_hh-mm-ss"));
}

LibraryBackup::resultEnum LibraryBackup::run(const QString& parentDir, const SongRefs& songs, QString* folder)
{
    if (parentDir.isEmpty())
        return ResultNoFolder;

    logBanner("BACKUP USER LIBRARY");

    const QString name = folderName(QDateTime::currentDateTime());
    const QString backupPath = parentDir + QLatin1Char('/') + name;
    qDebug() << "Making new root backup dir:" << backupPath;
    // Never into an existing folder: a second backup within the same second fails here.
    if (!QDir(parentDir).mkdir(name)) {
        qDebug() << "Dest root dir creation failed";
        return ResultFolderNotMade;
    }
    if (folder)
        *folder = backupPath;

    host.begin(WorkflowHost::PhaseBackup, songs.size());
    const FileCopier::Result copy = FileCopier(host).copy(songs, backupPath);
    if (copy.stopped)
        return ResultStopped;
    return copy.ok ? ResultDone : ResultCopyFailed;
}
