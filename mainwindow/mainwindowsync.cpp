// Synchronisation of the library with the reference catalogue
// (CatalogueSync), and the backup offered before it (LibraryBackup).

#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "library/librarybackup.h"
#include "library/workflowlog.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/windowhost.h"

#include <QDebug>
#include <QMessageBox>

void MainWindow::on_updateDataToolButton_clicked()
{
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);
    if (!updateUserLibrary())
        ui->updateDataToolButton->setEnabled(true);
    ui->transferFilesToolButton->setEnabled(true);
}

bool MainWindow::updateUserLibrary()
{
    logBanner("UPDATE USER LIBRARY");

    if (!userLibraryModel) {
        qDebug() << "[UPDATE] WARNING: no library model. Aborting update !!!";
        return false;
    }
    if (userLibraryModel->goodRowCount() <= 0) {
        qDebug() << "[UPDATE] WARNING: Empty table. Aborting update !!!";
        return false;
    }

    if (!suggestBackup())
        return false;

    copyrightPolicy.askCopyright =
        settings.value(QLatin1String(SettingsKeys::copyrightAsk), copyrightAskDefault).toBool();
    copyrightPolicy.copyrightAnswerForAll = true;

    WindowHost host(*this, WorkflowHost::PhaseSync);
    const bool completed = CatalogueSync(database, host).run(librarySongs(), copyrightPolicy);
    host.closeProgress();
    return completed;
}

bool MainWindow::updateFileWithDb(int row)
{
    if (!userLibraryModel)
        return false;
    WindowHost host(*this, WorkflowHost::PhaseSync);
    const SongOutcome outcome = CatalogueSync(database, host).syncSong(songAt(row), copyrightPolicy);
    if (outcome.hasDetails)
        userLibraryModel->updateRow(row, outcome.details);
    return outcome.outcome == SongOutcome::OutcomeUpdated;
}

bool MainWindow::suggestBackup()
{
    BackupDialog offer(nullptr);
    const int result = offer.exec();
    const QString directory = offer.directory();

    if (result == 2)
        return true;
    if (result != 1)
        return false;

    WindowHost host(*this, WorkflowHost::PhaseBackup);
    const LibraryBackup::resultEnum backup = LibraryBackup(host).run(directory, selectedSongs());
    switch (backup) {
    case LibraryBackup::ResultNoFolder:
    case LibraryBackup::ResultFolderNotMade:
        QMessageBox::critical(this, tr("Backup"), tr("Backup FALLITO !!!"));
        return false;
    case LibraryBackup::ResultDone:
    case LibraryBackup::ResultCopyFailed:
    case LibraryBackup::ResultStopped:
        break;
    }

    // Skipped files leave the progress short of its end: close it in any case.
    host.closeProgress();
    if (backup != LibraryBackup::ResultDone)
        QMessageBox::critical(this, tr("Backup"), tr("Backup FALLITO !!!"));
    else
        QMessageBox::information(this, tr("Backup"), tr("Backup eseguito correttamente"));

    // The synchronisation goes on whether the copy succeeded or not.
    qDebug();
    return true;
}
