// The file copier (FileCopier) as the window runs it on the library's songs.

#include "mainwindow/mainwindow.h"

#include "library/filecopier.h"
#include "mainwindow/windowhost.h"

bool MainWindow::copyFiles(QString destDir, int& copied)
{
    copied = 0;
    if (!userLibraryModel)
        return false;
    WorkflowScope scope(*this);
    // The songs the table shows: a song taken off the list is not copied.
    const SongRefs songs = librarySongs();
    WindowHost host(*this, WorkflowHost::PhaseTransfer);
    host.begin(WorkflowHost::PhaseTransfer, songs.size());
    const FileCopier::Result result = FileCopier(host).copy(songs, destDir);
    // A stopped copy counts nothing as copied.
    copied = result.stopped ? 0 : result.copied;
    return result.ok;
}
