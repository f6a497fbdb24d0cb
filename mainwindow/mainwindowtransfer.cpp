// The transfer of the picked songs to the player's memory, the update of the
// memory's index after it, and the two memory tools of the Tools menu.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "index/index.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "platform/platform.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

const char* const kBannerRule = "============================================";

QString chooseWithDirDialog(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

// The picked files that are not on the memory after a copy into destDir
// (nor the karaoke graphics of an MP3 song, when it has some).
QStringList missingOnMemory(const QStringList& sources, const QString& destDir)
{
    QStringList missing;
    for (const QString& source : sources) {
        const QString target = destDir + QLatin1Char('/') + source.section(QLatin1Char('/'), -1);
        bool present = QFileInfo(target).isFile();
        if (present && source.endsWith(QLatin1String("MP3"), Qt::CaseInsensitive)) {
            const QString companion = QString(source).replace(QLatin1String(".mp3"), QLatin1String(".cdg"), Qt::CaseInsensitive);
            const QString companionTarget = QString(target).replace(QLatin1String(".mp3"), QLatin1String(".cdg"), Qt::CaseInsensitive);
            present = !QFileInfo::exists(companion) || QFileInfo(companionTarget).isFile();
        }
        if (!present)
            missing << source;
    }
    return missing;
}

} // namespace

void MainWindow::setDirChooser(DirChooser chooser)
{
    dirChooser = chooser ? std::move(chooser) : DirChooser(&chooseWithDirDialog);
}

QString MainWindow::getRoot(QString path)
{
    return Platform::rootOf(path);
}

bool MainWindow::isRoot(QString path)
{
    return getRoot(path) == path;
}

bool MainWindow::isSystemDisk(QString path)
{
    return !Platform::isOnVolume(path);
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
    QString folder = dirChooser(this, tr("Scegli cartella"), Platform::volumesDir());
    if (folder.isEmpty())
        return false;
    // "/Volumes/CARD/" is the memory's top folder as much as "/Volumes/CARD".
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);

    if (isSystemDisk(folder)) {
        QMessageBox::warning(this, tr("Trasferimento"), tr("Non è possibile copiare i file sul disco di sistema"),
                             QMessageBox::Ok);
        return false;
    }

    QString destination = folder;
    if (isRoot(folder)) {
        // Songs never go into the memory's top folder: they go into "songs".
        const QString songs = folder + QStringLiteral("/songs");
        if (!QFileInfo::exists(songs))
            QDir(folder).mkdir(QStringLiteral("songs"));
        if (!QFileInfo(songs).isDir()) {
            QMessageBox::warning(this, tr("Trasferimento"),
                                 tr("Non è possibile copiare i file sulla cartella principale, creare o "
                                    "selezionare una sottocartella"));
            return false;
        }
        destination = songs;
    }

    const QString last = destination.section(QLatin1Char('/'), -1);
    for (const char* reserved : {"SFX", "BRIDGE", "PLAYLIST"}) {
        if (last.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0) {
            QMessageBox::warning(this, tr("Trasferimento"),
                                 tr("Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono "
                                    "riservate per funzionalità specifiche di Tamsel, selezionare un'altra cartella"));
            return false;
        }
    }

    qDebug() << kBannerRule;
    qDebug() << "          TRASFERIMENTO FILE";
    qDebug() << kBannerRule;

    startProgress(tr("Trasferimento file..."), tr("Trasferimento"), importFilesCount);
    int copied = 0;
    const bool copyOk = copyFiles(destination, copied);
    const bool indexOk = copied > 0 ? updateTamselIndex(destination) : true;

    if (copyOk && indexOk) {
        QMessageBox::information(this, tr("Trasferimento"), tr("Tutti i file sono stati copiati correttamente"));
    } else {
        if (progressDialog)
            progressDialog->close();
        QMessageBox box(QMessageBox::Critical, tr("Trasferimento"), tr("Non è stato possibile copiare uno o più file"),
                        QMessageBox::Ok, this);
        // Which songs the player will miss (a name the memory's file system
        // refuses is a common cause).
        const QStringList missing = missingOnMemory(selectedFiles, destination);
        if (!missing.isEmpty())
            box.setDetailedText(tr("File non copiati:") + QLatin1Char('\n') + missing.join(QLatin1Char('\n')));
        box.exec();
    }
    qDebug() << "";
    return true;
}

bool MainWindow::updateTamselIndex(QString destDir)
{
    const QString root = getRoot(destDir);
    if (!QFileInfo::exists(root))
        return false;

    startProgress(tr("Aggiornamento database..."), tr("Aggiornamento"), 0);
    progressDialog->setAutoClose(false);
    Index index;
    connect(&index, &Index::fileFoundChanged, progressDialog, &QProgressDialog::setValue);
    connect(&index, &Index::progressValueChanged, progressDialog, &QProgressDialog::setValue);
    connect(&index, &Index::progressMaxSetup, progressDialog, &QProgressDialog::setMaximum);
    const bool ok = index.updateIndex(root);
    progressDialog->close();
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
