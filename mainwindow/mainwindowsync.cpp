// Synchronisation of the library with the reference catalogue
// (CatalogueSync), and the backup offered before it (LibraryBackup).

#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "library/cataloguesync.h"
#include "library/librarybackup.h"
#include "library/workflowlog.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/librarymodel.h"
#include "mainwindow/reportbox.h"
#include "mainwindow/windowhost.h"

#include <QDebug>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

void MainWindow::on_updateDataToolButton_clicked()
{
    if (workflowRunning())
        return;
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
    WorkflowScope scope(*this);

    if (!suggestBackup() || stopAfterCurrentSong)
        return false;

    // Asks about songs that are not the maker's, and takes an answer for all once given.
    CatalogueSync::NotMakerPolicy policy;
    policy.askCopyright = settings.value(QLatin1String(SettingsKeys::copyrightAsk), copyrightAskDefault).toBool();
    policy.copyrightAnswerForAll = true;

    const SongRefs songs = librarySongs();
    WindowHost host(*this, WorkflowHost::PhaseSync);
    const bool completed = CatalogueSync(database, host).run(songs, policy);
    host.closeProgress();
    adjustUserLibraryHeaders();
    if (!stopAfterCurrentSong)
        showSyncReport(host.outcomes(), completed, songs.size());
    return completed;
}

bool MainWindow::suggestBackup()
{
    if (!userLibraryModel)
        return false;
    WorkflowScope scope(*this);
    BackupDialog offer(nullptr);
    const int result = offer.exec();
    const QString directory = offer.directory();

    if (result == 2)
        return true;
    if (result != 1)
        return false;

    // The songs of the table, as the synchronisation will change them.
    const SongRefs songs = librarySongs();
    WindowHost host(*this, WorkflowHost::PhaseBackup);
    LibraryBackup backup(host);
    QString folder;
    const LibraryBackup::resultEnum outcome = backup.run(directory, songs, &folder);
    host.closeProgress();
    if (stopAfterCurrentSong)
        return false;

    switch (outcome) {
    case LibraryBackup::ResultNoFolder:
    case LibraryBackup::ResultFolderNotMade: {
        QMessageBox box(QMessageBox::Critical, tr("Backup"), tr("Backup FALLITO !!!"), QMessageBox::Ok, this);
        box.setInformativeText(tr("Non è stato possibile creare la cartella del backup in:\n%1")
                                   .arg(QDir::toNativeSeparators(directory)));
        box.exec();
        return false;
    }
    case LibraryBackup::ResultStopped: {
        // No song has been changed: the synchronisation does not start.
        QMessageBox box(QMessageBox::Warning, tr("Backup"), tr("Backup interrotto"), QMessageBox::Ok, this);
        box.setInformativeText(tr("La sincronizzazione non è stata avviata: nessuna song è stata modificata."));
        box.exec();
        return false;
    }
    case LibraryBackup::ResultCopyFailed: {
        // Going on would change songs that have no copy: only on request.
        QMessageBox box(QMessageBox::Critical, tr("Backup"), tr("Backup FALLITO !!!"),
                        QMessageBox::Cancel | QMessageBox::Ignore, this);
        box.button(QMessageBox::Cancel)->setText(tr("Annulla"));
        box.button(QMessageBox::Ignore)->setText(tr("Prosegui senza backup"));
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        fillReport(box, {tr("Cartella del backup: %1").arg(QDir::toNativeSeparators(folder))},
                   tr("Questi file non sono nel backup:"), backup.notBackedUp());
        const bool goOn = box.exec() == QMessageBox::Ignore;
        qDebug() << "[MainWindow::suggestBackup] Backup incomplete," << (goOn ? "going on without it" : "cancelled");
        return goOn;
    }
    case LibraryBackup::ResultDone:
        break;
    }

    QMessageBox box(QMessageBox::Information, tr("Backup"), tr("Backup eseguito correttamente"), QMessageBox::Ok,
                    this);
    box.setInformativeText(tr("%1 song copiate in:\n%2").arg(songs.size()).arg(QDir::toNativeSeparators(folder)));
    box.exec();
    qDebug();
    return true;
}
