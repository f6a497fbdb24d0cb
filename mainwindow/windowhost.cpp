#include "mainwindow/windowhost.h"

#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// While an import runs the table is repainted at most this often: painting
// it after every file would cost many times the reading of the file.
const int kTableRepaintMs = 250;

} // namespace

WindowHost::WindowHost(MainWindow& window, phaseEnum phase)
    : window(window), phase(phase), dialog(window.progressDialog)
{
}

WindowHost::~WindowHost()
{
    if (tableFrozen)
        window.ui->userLibraryTableView->setUpdatesEnabled(true);
    // A window-modal dialog left open would keep every click from the window.
    if (ownDialog)
        closeProgress();
}

WorkflowHost::answerEnum WindowHost::askReplace(const QString& target)
{
    return window.askFourAnswers(target, MainWindow::tr("esiste già, vuoi sostituirlo?"));
}

WorkflowHost::answerEnum WindowHost::askEditNotMaker(const QString& path)
{
    return window.askFourAnswers(path, QString());
}

void WindowHost::begin(phaseEnum newPhase, int total)
{
    phase = newPhase;
    window.beginProgress(phase, total);
    dialog = window.progressDialog;
    ownDialog = true;
    indexDone = 0;
    if (phase == PhaseImport) {
        window.ui->userLibraryTableView->setUpdatesEnabled(false);
        tableFrozen = true;
        sinceRepaint.start();
    }
}

void WindowHost::progress(int done, int total)
{
    switch (phase) {
    case PhaseImport: {
        window.updateProgress(done);
        const bool repaintTable = sinceRepaint.elapsed() >= kTableRepaintMs;
        if (repaintTable) {
            window.ui->userLibraryTableView->setUpdatesEnabled(true);
            sinceRepaint.restart();
        }
        QCoreApplication::processEvents();
        if (repaintTable)
            window.ui->userLibraryTableView->setUpdatesEnabled(false);
        break;
    }
    case PhaseSync:
    case PhaseWholeList:
        window.updateProgress(done);
        QCoreApplication::processEvents();
        break;
    case PhaseBackup:
    case PhaseTransfer:
        window.updateProgress(done);
        break;
    case PhaseIndex:
        // The scan's count and the index's steps, without the "of" label.
        if (!dialog)
            break;
        if (dialog->maximum() != total)
            dialog->setMaximum(total);
        if (done != indexDone)
            dialog->setValue(done);
        indexDone = done;
        break;
    }
}

bool WindowHost::stopRequested()
{
    // The user closing the window stops every workflow after its current song.
    if (window.stopAfterCurrentSong)
        return true;
    // A dialog of this work that has gone away cannot be answered any more.
    return dialog ? dialog->wasCanceled() : ownDialog;
}

void WindowHost::songsDone(const SongOutcomes& outcomes)
{
    tally.add(outcomes);
    window.applyOutcomes(phase, outcomes);
}

void WindowHost::closeProgress()
{
    // Hidden rather than closed: closing a progress dialog counts as its
    // "Interrompi".
    if (dialog)
        dialog->hide();
}
