// The transfer of the picked songs to the player's memory and the update of
// the memory's index after it (MemoryTransfer, MemoryIndex), and the two
// memory tools of the Tools menu.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "library/memoryindex.h"
#include "library/memorytransfer.h"
#include "mainwindow/windowhost.h"
#include "platform/platform.h"

#include <QDebug>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

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

QString MainWindow::getRoot(QString path)
{
    return MemoryTransfer::rootOf(path);
}

bool MainWindow::isRoot(QString path)
{
    return MemoryTransfer::isRoot(path);
}

bool MainWindow::isSystemDisk(QString path)
{
    return MemoryTransfer::isSystemDisk(path);
}

void MainWindow::on_transferFilesToolButton_clicked()
{
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);
    transferFiles();
    ui->transferFilesToolButton->setEnabled(true);
}

bool MainWindow::transferFiles()
{
    if (!dirChooser)
        dirChooser = &chooseWithDirDialog;
    const QString folder = dirChooser(this, tr("Scegli cartella"), Platform::volumesDir());
    if (folder.isEmpty())
        return false;

    const SongRefs songs = selectedSongs();
    WindowHost host(*this, WorkflowHost::PhaseTransfer);
    const MemoryTransfer::Result transfer = MemoryTransfer(host).run(folder, songs);
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
    case MemoryTransfer::ResultBusy:
        QMessageBox::warning(this, tr("Trasferimento"),
                             tr("Memoria occupata: un trasferimento o un aggiornamento del database è già in corso "
                                "su questa memoria. Riprovare quando è terminato."));
        return false;
    case MemoryTransfer::ResultDone:
        break;
    }

    if (transfer.indexRun)
        host.closeProgress();
    if (transfer.copy.ok && transfer.indexOk) {
        QMessageBox::information(this, tr("Trasferimento"), tr("Tutti i file sono stati copiati correttamente"));
    } else {
        if (progressDialog)
            progressDialog->close();
        QMessageBox box(QMessageBox::Critical, tr("Trasferimento"), tr("Non è stato possibile copiare uno o più file"),
                        QMessageBox::Ok, this);
        // Which songs the player will miss (a name the memory's file system
        // refuses is a common cause).
        const QStringList missing = FileCopier::missingAfterCopy(songs, transfer.destination);
        if (!missing.isEmpty())
            box.setDetailedText(tr("File non copiati:") + QLatin1Char('\n') + missing.join(QLatin1Char('\n')));
        box.exec();
    }
    qDebug() << "";
    return true;
}

bool MainWindow::updateTamselIndex(QString destDir)
{
    WindowHost host(*this, WorkflowHost::PhaseIndex);
    const bool ok = MemoryIndex(host).update(getRoot(destDir)) == MemoryIndex::ResultDone;
    if (host.began())
        host.closeProgress();
    return ok;
}

void MainWindow::on_optimizeMemory_triggered()
{
    IndexDialog dialog(this);
    dialog.exec();
}

void MainWindow::on_actionSongsList_triggered()
{
    SongsListDialog dialog(this);
    dialog.exec();
}
