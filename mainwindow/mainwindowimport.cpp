// The import workflow of MainWindow: choosing song files, reading them into
// the library table (LibraryImport), the progress shown by every long
// workflow, the import summary and the "copyrightAsk" preference.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "library/libraryimport.h"
#include "library/workflowlog.h"
#include "mainwindow/proceeddialog.h"
#include "mainwindow/windowhost.h"

#include <QDebug>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

namespace {

QStringList chooseWithNativeDialog(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

} // namespace

void MainWindow::setFileChooser(FileChooser chooser)
{
    fileChooser = chooser ? std::move(chooser) : FileChooser(&chooseWithNativeDialog);
}

void MainWindow::initUserLibraryModel()
{
    userLibraryModel = new UserSongsRelTableModel(this, *database.userLibraryDb());
    userLibraryModel->setHeaderLabels();

    QTableView* view = ui->userLibraryTableView;
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setShowGrid(false);
    view->verticalHeader()->hide();
    view->setAlternatingRowColors(false);

    view->setModel(userLibraryModel);
    view->hideColumn(userLibraryModel->colIdxFilename());
    view->hideColumn(userLibraryModel->colIdxStatus());
    view->hideColumn(0);
}

void MainWindow::adjustUserLibraryHeaders()
{
    // Every column but the file path (9) and the status (11).
    for (int column : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10})
        ui->userLibraryTableView->resizeColumnToContents(column);
}

void MainWindow::on_selectDirToolButton_clicked()
{
    if (!userLibraryModel || importRunning)
        return;
    if (!fileChooser)
        fileChooser = &chooseWithNativeDialog;
    const QStringList picked = fileChooser(this, tr("Seleziona i file da importare"), QStringLiteral("/"),
                                           QStringLiteral("Songs (*.mid *.kar *.mp3 *.mf3 *.mf4 *.mf5)"));
    if (picked.isEmpty())
        return;

    selectedFiles = picked;
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);
    importUserLibrary();
    ui->transferFilesToolButton->setEnabled(true);
}

void MainWindow::importUserLibrary()
{
    // The import lets events through; a second import started from them
    // would empty the table under the first one.
    if (!userLibraryModel || importRunning)
        return;

    logBanner("IMPORT USER LIBRARY");

    if (userLibraryModel->goodRowCount() > 0) {
        if (!database.clearUserLibraryDb()) {
            qDebug() << "[importUserLibrary] WARNING: impossible to CLEAR table. Aborting import !!!";
            return;
        }
        userLibraryModel->select();
    }

    importRunning = true;
    importFilesCount = selectedFiles.size();
    // Read from a copy: the list must not change under the import.
    const QStringList files = selectedFiles;
    LibraryImport::Summary read;
    {
        WindowHost host(*this, WorkflowHost::PhaseImport);
        read = LibraryImport(host).run(files);
    }
    importRunning = false;

    adjustUserLibraryHeaders();

    if (settings.value(QLatin1String(SettingsKeys::copyrightAsk), copyrightAskDefault).toBool()) {
        ProceedDialog summary;
        summary.setFilesCount(read.songs, read.tavrelSongs, read.unreadable);
        const int answer = summary.exec();
        enableCopyrightMessage(summary.getShowAgainValue());
        // After a synchronisation run to its end there is nothing left to synchronise.
        if (answer == 1 && updateUserLibrary())
            return;
    }
    ui->updateDataToolButton->setEnabled(true);
}

void MainWindow::startProgress(const QString& label, const QString& title, int maximum)
{
    delete progressDialog;
    progressDialog = new QProgressDialog(label, tr("Interrompi"), 0, maximum, this);
    progressDialog->setWindowModality(Qt::WindowModal);
    progressDialog->setWindowTitle(title);
    progressDialog->setValue(0);
}

void MainWindow::updateProgress(int value)
{
    if (!progressDialog)
        return;
    progressDialog->setLabelText(tr("%1 di %2").arg(value).arg(progressDialog->maximum()));
    progressDialog->setValue(value);
}

void MainWindow::enableCopyrightMessage(bool enable)
{
    settings.setValue(QLatin1String(SettingsKeys::copyrightAsk), enable);
    setCopyrightChecks(enable);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Every event passes on, except the developers' key combination that
    // reveals the hidden panels (mainwindowmenus.cpp).
    return catchHiddenOptionsKey(watched, event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!userLibraryModel && !databaseFailureShown) {
        databaseFailureShown = true;
        // Once the window is on screen, so the message has it as its parent.
        QTimer::singleShot(0, this, &MainWindow::showDatabaseFailure);
    }
}

void MainWindow::showDatabaseFailure()
{
    QMessageBox::critical(this, tr("Orvalo3 Soft"),
                          tr("Impossibile aprire i database delle song: le funzioni della libreria non "
                             "sono disponibili."));
}
