// The file copier (FileCopier) as the window runs it on the picked files.

#include "mainwindow/mainwindow.h"

#include "library/filecopier.h"
#include "mainwindow/windowhost.h"

bool MainWindow::copyFiles(QString destDir, int& copied)
{
    WindowHost host(*this, WorkflowHost::PhaseTransfer);
    const FileCopier::Result result = FileCopier(host).copy(selectedSongs(), destDir);
    if (result.stopped)
        host.closeProgress();
    // A stopped copy counts nothing as copied.
    copied = result.stopped ? 0 : result.copied;
    return result.ok;
}
