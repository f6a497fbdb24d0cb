#include "mainwindow/windowhost.h"

#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// While an import runs the table is repainted at most this often: painting
// it after every file would cost many times the reading of the file.
const int kTableRepaintMs = 250;
// A progress dialog shows its count this often (and always the first and the
// last): drawn after every one of thousands of small files, it took longer
// than the work it showed.
const int kProgressShownMs = 40;
// Events (a click on "Interrompi", the window's repaints) are let through
// between songs at most this often.
const int kEventsMs = 10;

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
    sinceShown.start();
    sinceEvents.start();
    if (phase == PhaseImport) {
        window.ui->userLibraryTableView->setUpdatesEnabled(false);
        tableFrozen = true;
        sinceRepaint.start();
    }
}

void WindowHost::progress(int done, int total)
{
    if (phase == PhaseIndex) {
        // The scan's count and the index's steps, without the "of" label;
        // the scan counts every file.
        if (!dialog)
            return;
        const bool newMaximum = dialog->maximum() != total;
        if (newMaximum)
            dialog->setMaximum(total);
        const bool last = total > 0 && done >= total;
        if (done != indexDone && (newMaximum || last || sinceShown.elapsed() >= kProgressShownMs)) {
            dialog->setValue(done);
            indexDone = done;
            sinceShown.restart();
        }
        return;
    }

    const bool shown = done <= 1 || done >= total || sinceShown.elapsed() >= kProgressShownMs;
    if (shown) {
        window.updateProgress(done);
        sinceShown.restart();
    } else if (sinceEvents.elapsed() < kEventsMs) {
        return;
    }
    sinceEvents.restart();
    const bool repaintTable = phase == PhaseImport && sinceRepaint.elapsed() >= kTableRepaintMs;
    if (repaintTable) {
        window.ui->userLibraryTableView->setUpdatesEnabled(true);
        sinceRepaint.restart();
    }
    QCoreApplication::processEvents();
    if (repaintTable)
        window.ui->userLibraryTableView->setUpdatesEnabled(false);
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
