#ifndef MAINWINDOW_WINDOWHOST_H
#define MAINWINDOW_WINDOWHOST_H

#include <QElapsedTimer>
#include <QPointer>

#include "library/outcometally.h"
#include "library/workflowhost.h"

class MainWindow;
class QProgressDialog;

// The main window's face for one workflow of the library: questions in the
// four-answer dialog, progress in the window's progress dialog, outcomes
// into the library table. The progress dialogs it begins are closed at the
// latest when it goes.
class WindowHost : public WorkflowHost
{
public:
    // `phase`: the work served until the workflow begins a phase of its own;
    // until then the window's current progress dialog is the one looked at.
    WindowHost(MainWindow& window, phaseEnum phase);
    ~WindowHost() override;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    answerEnum askReplace(const QString& target) override;
    answerEnum askEditNotMaker(const QString& path) override;
    void begin(phaseEnum phase, int total) override;
    void progress(int done, int total) override;
    bool stopRequested() override;
    void songsDone(const SongOutcomes& outcomes) override;

    // Closes the progress dialog of this host's work, if it is still there.
    void closeProgress();
    // What the songs delivered so far came to.
    const OutcomeTally& outcomes() const { return tally; }

private:
    MainWindow& window;
    phaseEnum phase;
    QPointer<QProgressDialog> dialog;
    bool ownDialog = false;  // the dialog was made by begin()
    bool tableFrozen = false;
    QElapsedTimer sinceRepaint;
    QElapsedTimer sinceShown;  // the progress dialog last showed a count
    QElapsedTimer sinceEvents; // events were last let through
    int indexDone = 0;
    OutcomeTally tally;
};

#endif // MAINWINDOW_WINDOWHOST_H
