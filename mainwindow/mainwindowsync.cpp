// Synchronisation of the library with the reference catalogue, and the
// backup offered before it.

#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "database/songsdbrecord.h"
#include "database/usersongsreltablemodel.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/nocopyrightdialog.h"
#include "songfiles/metasong.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRegularExpression>

namespace {

void logBanner(const char* title)
{
    const QByteArray line(44, '=');
    qDebug() << line.constData();
    qDebug() << (QByteArray(10, ' ') + title).constData();
    qDebug() << line.constData();
}

// Upper case, without a final extension of a dot and three word characters.
QString withoutExtension(const QString& name)
{
    static const QRegularExpression extension(QStringLiteral("\\.{1,1}\\w{3,3}$"),
                                              QRegularExpression::UseUnicodePropertiesOption);
    return name.toUpper().remove(extension);
}

} // namespace

void MainWindow::on_updateDataToolButton_clicked()
{
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);
    if (!updateUserLibrary())
        ui->updateDataToolButton->setEnabled(true);
    ui->transferFilesToolButton->setEnabled(true);
}

bool MainWindow::updateUserLibrary()
{
    logBanner("UPDATE USER LIBRARY");

    if (!userLibraryModel) {
        qDebug() << "[UPDATE] WARNING: no library model. Aborting update !!!";
        return false;
    }
    const int count = userLibraryModel->goodRowCount();
    if (count <= 0) {
        qDebug() << "[UPDATE] WARNING: Empty table. Aborting update !!!";
        return false;
    }

    if (!suggestBackup())
        return false;

    startProgress(tr("Aggiorno la libreria..."), tr("Aggiornamento file"), count);

    askCopyright = settings.value(QLatin1String(SettingsKeys::copyrightAsk), copyrightAskDefault).toBool();
    copyrightAnswerForAll = true;

    const QByteArray rowSeparator(74, '=');
    for (int row = 0; row < count; ++row) {
        if (progressDialog->wasCanceled()) {
            progressDialog->close();
            return false;
        }
        qDebug() << "[UPDATE] rowIdx:" << row;
        qDebug() << "[UPDATE] updating file:" << userLibraryModel->fileName(row);

        const bool updated = updateFileWithDb(row);
        userLibraryModel->setStatus(row, updated ? Database::StatusUpdated : Database::StatusNotUpdated);
        updateProgress(row + 1);

        qDebug() << rowSeparator.constData();
        qDebug();
        QCoreApplication::processEvents();
    }
    progressDialog->close();
    return true;
}

bool MainWindow::updateFileWithDb(int row)
{
    if (!userLibraryModel)
        return false;
    const QString path = userLibraryModel->fileName(row);
    const QString shortName = userLibraryModel->shortName(row);

    MetaSong song;
    if (!song.importFile(path))
        return false;
    SongInfo info;
    song.getSongInfo(info);

    if (!info.isTavrel) {
        bool synchronise = copyrightAnswerForAll;
        if (askCopyright) {
            NoCopyrightDialog question(nullptr);
            question.setFilename(path);
            switch (question.exec()) {
            case 0:
                synchronise = true;
                break;
            case 1:
                askCopyright = false;
                copyrightAnswerForAll = true;
                synchronise = true;
                break;
            case 3:
                askCopyright = false;
                copyrightAnswerForAll = false;
                synchronise = false;
                break;
            default:
                synchronise = false;
                break;
            }
        }
        if (!synchronise)
            return false;
    }

    const QString nameKey = withoutExtension(shortName);
    const QString longNameKey = withoutExtension(info.mfxLongName);
    const QString titleKey = info.title.toUpper();

    SongsDbRecord record;
    QString foundBy;
    if (database.getRecordByFilename(nameKey, record))
        foundBy = QLatin1String("FILENAME: ") + nameKey;
    else if (!longNameKey.isEmpty() && database.getRecordByFilename(longNameKey, record))
        foundBy = QLatin1String("MFXLONGNAME: ") + longNameKey;
    else if (database.getRecordByTitle(titleKey, record))
        foundBy = QLatin1String("TITLE: ") + titleKey;

    if (foundBy.isEmpty()) {
        qDebug() << "Record" << QString(nameKey + QLatin1Char('/') + titleKey) << "NOT found in DB";
        return false;
    }
    qDebug() << "Found in DB by:" << foundBy;
    record.dbgDump();

    SongInfo merged = info;
    merged.title = record.title;
    merged.artist = record.artist;
    merged.altArtist = record.altArtist;
    merged.genre = record.genre;
    merged.author = record.author;
    merged.length = record.length;
    merged.userBpm = record.bpm;
    merged.key = record.key;
    merged.markers = record.markers;
    song.setSongInfo(merged, false);

    // A song whose file could not be written is not counted as synchronised;
    // either way the row shows what the file holds now.
    const bool saved = song.saveToFile(path);
    if (!saved)
        qDebug() << "[MainWindow::updateFileWithDb] WARNING: unable to save file" << path;

    MetaSong reread;
    if (reread.importFile(path)) {
        SongInfo details;
        reread.getSongInfo(details);
        userLibraryModel->updateRow(row, details);
    }
    return saved;
}

bool MainWindow::suggestBackup()
{
    BackupDialog offer(nullptr);
    const int result = offer.exec();
    const QString directory = offer.directory();

    if (result == 2)
        return true;
    if (result != 1)
        return false;

    if (directory.isEmpty()) {
        QMessageBox::critical(this, tr("Backup"), tr("Backup FALLITO !!!"));
        return false;
    }

    logBanner("BACKUP USER LIBRARY");

    const QString folderName = QLatin1String("backup_tavrel_")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hh-mm-ss"));
    const QString backupPath = directory + QLatin1Char('/') + folderName;
    qDebug() << "Making new root backup dir:" << backupPath;

    if (!QDir(directory).mkdir(folderName)) {
        qDebug() << "Dest root dir creation failed";
        QMessageBox::critical(this, tr("Backup"), tr("Backup FALLITO !!!"));
        return false;
    }

    startProgress(tr("Eseguo backup dellla libreria..."), tr("Backup"), importFilesCount);

    int copied = 0;
    const bool ok = copyFiles(backupPath, copied);
    // Skipped files leave the progress short of its end: close it in any case.
    progressDialog->close();
    if (!ok)
        QMessageBox::critical(this, tr("Backup"), tr("Backup FALLITO !!!"));
    else
        QMessageBox::information(this, tr("Backup"), tr("Backup eseguito correttamente"));

    qDebug();
    return true;
}
