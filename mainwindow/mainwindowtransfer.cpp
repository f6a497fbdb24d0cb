// The transfer of the picked songs to the player's memory and the update of
// the memory's index after it (MemoryTransfer, MemoryIndex), and the two
// memory tools of the Tools menu.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "library/memoryeject.h"
#include "library/memorytransfer.h"
#include "mainwindow/reportbox.h"
#include "mainwindow/windowhost.h"
#include "platform/platform.h"
#include "platform/removablememories.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace {

QString chooseWithDirDialog(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

} // namespace

void MainWindow::setDirChooser(DirChooser chooser)
{
    dirChooser = chooser ? std::move(chooser) : DirChooser(&chooseWithDirDialog);
}

void MainWindow::on_transferFilesToolButton_clicked()
{
    if (workflowRunning())
        return;
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);
    transferFiles();
    ui->transferFilesToolButton->setEnabled(true);
}

bool MainWindow::transferFiles()
{
    if (!userLibraryModel)
        return false;
    WorkflowScope scope(*this);
    if (!dirChooser)
        dirChooser = &chooseWithDirDialog;
    // The chooser opens on the first memory put in, if any.
    const QStringList memories = RemovableMemories().list();
    const QString folder =
        dirChooser(this, tr("Scegli cartella"), memories.isEmpty() ? Platform::volumesDir() : memories.first());
    if (folder.isEmpty())
        return false;

    // The songs the table shows; the picked files the import could not read
    // are reported as not copied.
    const SongRefs songs = librarySongs();
    WindowHost host(*this, WorkflowHost::PhaseTransfer);
    MemoryTransfer::Result transfer = MemoryTransfer(host).run(folder, songs);
    host.closeProgress();
    switch (transfer.result) {
    case MemoryTransfer::ResultSystemDisk:
    case MemoryTransfer::ResultOutsideMemory: // the window names no memory of its own
        QMessageBox::warning(this, tr("Trasferimento"), tr("Non è possibile copiare i file sul disco di sistema"),
                             QMessageBox::Ok);
        return false;
    case MemoryTransfer::ResultRootNotFolder:
        QMessageBox::warning(this, tr("Trasferimento"),
                             tr("Non è possibile copiare i file sulla cartella principale, creare o "
                                "selezionare una sottocartella"));
        return false;
    case MemoryTransfer::ResultReservedFolder:
        QMessageBox::warning(this, tr("Trasferimento"),
                             tr("Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono "
                                "riservate per funzionalità specifiche di Tamsel, selezionare un'altra cartella"));
        return false;
    case MemoryTransfer::ResultFolderNotHoldable:
        QMessageBox::warning(this, tr("Trasferimento"),
                             tr("Il lettore non sa leggere il nome della cartella \"%1\" (caratteri speciali o punto "
                                "iniziale): selezionare o creare un'altra cartella")
                                 .arg(transfer.folder));
        return false;
    case MemoryTransfer::ResultBusy:
        QMessageBox::warning(this, tr("Trasferimento"),
                             tr("Memoria occupata: un trasferimento o un aggiornamento del database è già in corso "
                                "su questa memoria. Riprovare quando è terminato."));
        return false;
    case MemoryTransfer::ResultDone:
        break;
    }

    for (const QString& path : unreadableFiles) {
        SongOutcome unread;
        unread.path = path;
        unread.outcome = SongOutcome::OutcomeNotCopied;
        unread.reason = SongOutcome::unreadableReason();
        transfer.copy.notCopied.append(unread);
    }
    if (!stopAfterCurrentSong)
        showTransferReport(transfer, songs.size() + unreadableFiles.size());
    qDebug() << "";
    return true;
}

void MainWindow::showTransferReport(const MemoryTransfer::Result& transfer, int total)
{
    const FileCopier::Result& copy = transfer.copy;
    const int failed = copy.notCopied.size();
    const int notReached = total - copy.copied - copy.kept - failed;

    QMessageBox::Icon icon = QMessageBox::Information;
    QString text;
    if (copy.memoryFull) {
        icon = QMessageBox::Critical;
        text = tr("La memoria è piena: non tutte le song sono state copiate");
    } else if (failed > 0) {
        icon = QMessageBox::Critical;
        text = tr("Non è stato possibile copiare uno o più file");
    } else if (copy.stopped) {
        icon = QMessageBox::Warning;
        text = tr("Trasferimento interrotto");
    } else if (total == 0) {
        text = tr("Nessuna song da copiare");
    } else if (!transfer.indexOk) {
        icon = QMessageBox::Critical;
        text = tr("I file sono stati copiati, ma l'indice della memoria non è stato aggiornato");
    } else if (copy.kept == 0) {
        text = tr("Tutti i file sono stati copiati correttamente");
    } else if (copy.copied == 0) {
        text = tr("Nessun file è stato copiato: erano già tutti nella memoria");
    } else {
        text = tr("Trasferimento completato");
    }

    QStringList lines{tr("Copiati: %1").arg(copy.copied)};
    if (copy.kept > 0)
        lines << tr("Già nella memoria e mantenuti: %1").arg(copy.kept);
    if (failed > 0)
        lines << tr("Non copiati: %1").arg(failed);
    if (copy.stopped)
        lines << tr("Non copiati per l'interruzione: %1").arg(notReached);
    if (!transfer.indexRun) {
        lines << tr("Nessun file copiato: l'indice della memoria non è stato modificato.");
    } else if (transfer.indexOk) {
        lines << tr("L'indice della memoria è stato aggiornato.");
    } else {
        // The player shows only what its index lists.
        const QString command = ui->menuStrumenti->title().remove(QLatin1Char('&')) + QStringLiteral(" > ")
            + ui->optimizeMemory->text().remove(QLatin1Char('&'));
        lines << tr("L'indice della memoria NON è stato aggiornato: il lettore non mostrerà le song nuove. "
                    "Aggiornalo con \"%1\".").arg(command);
    }

    QMessageBox box(icon, tr("Trasferimento"), text, QMessageBox::Ok, this);
    // The memory and the player's index hold only some characters.
    ReportList renamed{tr("Copiati con un nome che la memoria e il lettore sanno leggere:"), {}};
    for (const SongOutcome& song : copy.renamed)
        renamed.items << QDir::toNativeSeparators(song.path) + QStringLiteral(" \u2192 ") + song.copiedAs;
    fillReport(box, lines, {songList(tr("File non copiati:"), copy.notCopied), renamed});

    // What was written is safe on a removable memory once it is ejected.
    const QString memory = copy.written > 0 ? MemoryEject::memoryOf(transfer.root) : QString();
    QPushButton* eject = memory.isEmpty() ? nullptr : box.addButton(MemoryEject::actionText(), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (eject && box.clickedButton() == eject)
        ejectMemory(memory);
}

void MainWindow::ejectMemory(const QString& root)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MemoryEject::Outcome outcome = MemoryEject::eject(root);
    QApplication::restoreOverrideCursor();
    QMessageBox box(outcome.ejected ? QMessageBox::Information : QMessageBox::Warning, MemoryEject::actionText(),
                    outcome.text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::on_optimizeMemory_triggered()
{
    if (workflowRunning())
        return;
    WorkflowScope scope(*this);
    IndexDialog dialog(this);
    dialog.exec();
}

void MainWindow::on_actionSongsList_triggered()
{
    if (workflowRunning())
        return;
    WorkflowScope scope(*this);
    SongsListDialog dialog(this);
    dialog.exec();
}
