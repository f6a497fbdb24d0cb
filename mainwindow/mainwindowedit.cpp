// Manual editing of the library's songs: the song editor opened by a
// double-click on a row, the spreading of the edited author, artist, genre or
// file-name title over the whole list (SongEdit), and the table's context menu.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "library/songedit.h"
#include "mainwindow/librarymodel.h"
#include "mainwindow/windowhost.h"
#include "songfiles/metasong.h"
#include "songfiles/songinfo.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

void MainWindow::onSongsTableViewDoubleClicked(const QModelIndex& index)
{
    const int row = index.row();
    if (row < 0 || !userLibraryModel || workflowRunning())
        return;

    const QString fileName = userLibraryModel->fileName(row);
    qDebug() << "File name: " << fileName;
    qDebug() << "[MainWindow] Manual modifing row: " << row;

    MetaSong song;
    if (!song.importFile(fileName))
        return;
    SongInfo info;
    song.getSongInfo(info);
    info.filename = fileName;

    dataEditDialog.setArtistsCombo(database.artistsList());
    dataEditDialog.setGenresCombo(database.genresList());
    dataEditDialog.setKeysCombo(SongEdit::keyNames());
    dataEditDialog.setOtherInfo(info);
    if (dataEditDialog.exec() != QDialog::Accepted) {
        qDebug() << "Rejected!";
        info.dbgDump();
        return;
    }

    qDebug() << "Accepted";
    WorkflowScope scope(*this);
    dataEditDialog.getInfo(info);
    info.dbgDump();
    // Taken before the save: rows move when the table is sorted by a column the save changes.
    const qint64 editedId = userLibraryModel->songId(row);
    SongOutcomes failures;
    const SongOutcome edited = manualModifySong(song, info, fileName, row);
    if (edited.outcome != SongOutcome::OutcomeSaved)
        failures << edited;

    if (dataEditDialog.isApplyToAllAuthor() || dataEditDialog.isApplyToAllArtist()
        || dataEditDialog.isApplyToAllGenre() || dataEditDialog.isApplyToAllFname())
        failures += updateWholeList(editedId, info);
    showSaveFailures(failures);

    // The row's first cell is in a hidden column, which the view refuses to
    // scroll to: aim at the row's first shown cell instead. The song's row
    // moved if the view is sorted by a detail the save changed.
    QTableView* view = ui->userLibraryTableView;
    int column = 0;
    while (column < userLibraryModel->columnCount() && view->isColumnHidden(column))
        ++column;
    const int editedRow = userLibraryModel->rowOfSong(editedId);
    if (editedRow >= 0)
        view->scrollTo(userLibraryModel->rowIndex(editedRow).siblingAtColumn(column),
                       QAbstractItemView::PositionAtCenter);
}

SongOutcome MainWindow::manualModifySong(MetaSong song, SongInfo info, QString fileName, int row)
{
    SongRef ref = songAt(row);
    ref.path = fileName;
    // The row shows what the file holds now, whether or not the save worked.
    const SongOutcome outcome = SongEdit::save(song, info, ref);
    applyOutcomes(WorkflowHost::PhaseWholeList, {outcome});
    return outcome;
}

SongOutcomes MainWindow::updateWholeList(qint64 editedId, const SongInfo& edited)
{
    SongEdit::Spread spread;
    spread.titleFromFileName = dataEditDialog.isApplyToAllFname();
    spread.author = dataEditDialog.isApplyToAllAuthor();
    spread.artist = dataEditDialog.isApplyToAllArtist();
    spread.genre = dataEditDialog.isApplyToAllGenre();
    spread.authorText = edited.author;
    spread.artistText = edited.artist;
    spread.genreText = edited.genre;

    WindowHost host(*this, WorkflowHost::PhaseWholeList);
    // "Interrompi" stops before the next song; those done stay done.
    SongEdit(host).spreadOver(librarySongs(), editedId, spread);
    host.closeProgress();
    return host.outcomes().problems();
}

void MainWindow::onSongsTableViewShowContextMenu(const QPoint& pos)
{
    if (workflowRunning())
        return;
    QTableView* view = ui->userLibraryTableView;
    const QPoint globalPos = view->viewport()->mapToGlobal(pos);
    const int row = view->indexAt(pos).row();

    QMenu menu(this);
    QAction* removeAction = menu.addAction(tr("Remove from list"));
    QAction* deleteAction = menu.addAction(tr("Delete file"));
    QAction* chosen = menu.exec(globalPos);

    // Below the last row there is nothing to remove or delete.
    if (!chosen || row < 0 || !userLibraryModel)
        return;

    if (chosen == removeAction) {
        qDebug() << "[MainWindow::onSongsTableViewShowContextMenu] Removing row:" << row << "file:"
                 << userLibraryModel->fileName(row);
        userLibraryModel->removeRows(row, 1);
        return;
    }

    if (chosen != deleteAction)
        return;
    const QString path = userLibraryModel->fileName(row);
    if (QMessageBox::question(this, tr("Attenzione"), tr("Sei sicuro di voler cancellare il file?"),
                              QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    qDebug() << "[MainWindow::onSongsTableViewShowContextMenu] Deleting file:" << path;
    // A file that is still there stays in the list: removing its row would
    // tell the user it is gone.
    if (!QFile::remove(path) && QFileInfo::exists(path)) {
        qDebug() << "[MainWindow::onSongsTableViewShowContextMenu] WARNING: unable to delete file:" << path;
        QMessageBox::warning(this, tr("Attenzione"),
                             tr("Impossibile eliminare il file:\n%1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    userLibraryModel->removeRows(row, 1);
}
