// The import workflow of MainWindow: choosing song files, reading them into
// the library table (LibraryImport), the progress shown by every long
// workflow, the import summary and the "copyrightAsk" preference.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "library/libraryimport.h"
#include "library/workflowlog.h"
#include "mainwindow/librarymodel.h"
#include "mainwindow/proceeddialog.h"
#include "mainwindow/reportbox.h"
#include "mainwindow/tableplace.h"
#include "mainwindow/windowhost.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <limits>

namespace {

// No column of the library table is wider than kMaxColumnWidth, and when
// the columns do not fit the table the wide ones are narrowed further, each
// to the same share of the room in proportion to its weight (the title and
// the artist keep the most), but none below its header: a long title must
// not push the others out of sight. A cell cut short shows its whole text as
// a tooltip.
const int kMaxColumnWidth = 320;

double columnWeight(int column)
{
    switch (column) {
    case 2: // title
        return 2.0;
    case 3: // artist
        return 1.5;
    case 10: // file name
        return 1.2;
    default:
        return 1.0;
    }
}

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
    userLibraryModel = new LibraryModel(this, *database.userLibraryDb());
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
    // The model reads the table again after every batch a workflow writes.
    new TablePlace(view, userLibraryModel);
    view->hideColumn(userLibraryModel->colIdxFilename());
    view->hideColumn(0);
    // What became of each song, first among the shown columns.
    view->horizontalHeader()->moveSection(view->horizontalHeader()->visualIndex(userLibraryModel->colIdxStatus()), 1);
}

void MainWindow::adjustUserLibraryHeaders()
{
    QTableView* view = ui->userLibraryTableView;
    QHeaderView* header = view->horizontalHeader();
    // Every shown column: the file path (9) and the id (0) are hidden. A
    // header's own width is measured without the room every header keeps
    // for the sort arrow, which would take a sixth of a small window.
    QVector<int> shown, wanted, least;
    header->setSortIndicatorShown(false);
    for (int column = 0; column < userLibraryModel->columnCount(); ++column) {
        if (view->isColumnHidden(column))
            continue;
        view->resizeColumnToContents(column);
        shown << column;
        wanted << qMin(view->columnWidth(column), kMaxColumnWidth);
        // The status's few words are never cut.
        least << (column == userLibraryModel->colIdxStatus() ? wanted.last() : header->sectionSizeHint(column));
    }
    header->setSortIndicatorShown(true);

    // Before the window is first shown the table has no width of its own yet.
    const int room = view->isVisible() ? view->viewport()->width() : std::numeric_limits<int>::max() / 2;
    const auto widthFor = [&](int i, int share) {
        return qMin(wanted[i], qMax(least[i], int(share * columnWeight(shown[i]))));
    };
    const auto total = [&](int share) {
        int sum = 0;
        for (int i = 0; i < shown.size(); ++i)
            sum += widthFor(i, share);
        return sum;
    };
    // The largest share with which the columns fit.
    int low = 0;
    int high = kMaxColumnWidth;
    while (low < high) {
        const int share = (low + high + 1) / 2;
        if (total(share) <= room)
            low = share;
        else
            high = share - 1;
    }
    for (int i = 0; i < shown.size(); ++i)
        view->setColumnWidth(shown[i], widthFor(i, low));
}

void MainWindow::on_selectDirToolButton_clicked()
{
    if (!userLibraryModel || workflowRunning())
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
    if (!userLibraryModel)
        return;
    WorkflowScope scope(*this);

    logBanner("IMPORT USER LIBRARY");

    if (userLibraryModel->goodRowCount() > 0) {
        if (!database.clearUserLibraryDb()) {
            qDebug() << "[importUserLibrary] WARNING: impossible to CLEAR table. Aborting import !!!";
            return;
        }
        userLibraryModel->select();
    }

    unreadableFiles.clear();
    userLibraryModel->clearStatusReasons();
    // Read from a copy: the list must not change under the import.
    const QStringList files = selectedFiles;
    LibraryImport::Summary read;
    {
        // "Interrompi" stops after the current file; the songs read so far stay.
        WindowHost host(*this, WorkflowHost::PhaseImport);
        read = LibraryImport(host).run(files);
    }
    if (read.stopped)
        qDebug() << "[importUserLibrary] Stopped by the user after" << read.songs + read.unreadable << "files";

    adjustUserLibraryHeaders();
    if (stopAfterCurrentSong)
        return;
    showLeftoverCopies(read.leftoverCopies);

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

void MainWindow::showLeftoverCopies(const QStringList& copies)
{
    if (copies.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, tr("Importazione"),
                    tr("Un salvataggio interrotto ha lasciato una copia nascosta accanto a una o più song. "
                       "Ogni copia contiene la sua song com'era prima di quel salvataggio: se la song non si "
                       "apre più, mettila al suo posto; se la song è a posto, eliminala."),
                    QMessageBox::Ok, this);
    QStringList items;
    for (const QString& copy : copies)
        items << QDir::toNativeSeparators(copy);
    fillReport(box, {}, {{tr("Copie lasciate:"), items}});
    box.exec();
}

void MainWindow::startProgress(const QString& label, const QString& title, int maximum)
{
    delete progressDialog;
    progressDialog = new QProgressDialog(label, tr("Interrompi"), 0, maximum, this);
    progressDialog->setWindowModality(Qt::WindowModal);
    progressDialog->setWindowTitle(title);
    // Shown at once: until it is, its window modality does not hold the
    // window's buttons back.
    progressDialog->setMinimumDuration(0);
    progressDialog->setValue(0);
    progressDialog->show();
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
    // The library's columns fit the table again when it changes size.
    if (event->type() == QEvent::Resize && userLibraryModel && watched == ui->userLibraryTableView->viewport())
        QTimer::singleShot(0, this, &MainWindow::adjustUserLibraryHeaders);
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
