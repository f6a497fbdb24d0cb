#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "library/libraryimport.h"
#include "mainwindow/nocopyrightdialog.h"

#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QHash>
#include <QProgressDialog>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      ui(new Ui_MainWindow),
      settings(QString::fromLatin1(SettingsKeys::organization), QString::fromLatin1(SettingsKeys::application))
{
    ui->setupUi(this);
    setWindowTitle(tr("Orvalo3 Soft"));

    copyrightAskDefault = true;

    // Only the import button is usable at start; the German action and the
    // two panels of hidden options stay out of sight.
    ui->actionGerman->setVisible(false);
    ui->actionItalian->setVisible(true);
    ui->debugGroupBox->hide();
    ui->debugTavrelGroupBox->hide();
    ui->updateDataToolButton->setEnabled(false);
    ui->transferFilesToolButton->setEnabled(false);

    setLanguageChecks(settings.value(QLatin1String(SettingsKeys::language), QStringLiteral("it")).toString());
    setCopyrightChecks(settings.value(QLatin1String(SettingsKeys::copyrightAsk), copyrightAskDefault).toBool());

    ui->dbgLogEnableCheckBox->setChecked(settings.value(QLatin1String(SettingsKeys::logEnabled), false).toBool());
    ui->dbgLogClearCheckBox->setChecked(settings.value(QLatin1String(SettingsKeys::logClear), false).toBool());

    if (!database.init()) {
        qDebug() << "Error initializing DB !!!";
        // Without the library no workflow can run; the user is told once
        // the window is shown.
        ui->selectDirToolButton->setEnabled(false);
        return;
    }
    qDebug() << "DB initialized correctly";
    connect(ui->userLibraryTableView, SIGNAL(doubleClicked(QModelIndex)), this,
            SLOT(onSongsTableViewDoubleClicked(QModelIndex)));
    ui->userLibraryTableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->userLibraryTableView, SIGNAL(customContextMenuRequested(QPoint)), this,
            SLOT(onSongsTableViewShowContextMenu(QPoint)));
    initUserLibraryModel();
    adjustUserLibraryHeaders();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    delete ui;
    delete userLibraryModel;
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        if (userLibraryModel)
            userLibraryModel->setHeaderLabels();
    }
}

void MainWindow::setLanguageChecks(const QString& language)
{
    const bool italian = language == QLatin1String("it");
    const bool german = language == QLatin1String("de");
    ui->actionItalian->setChecked(italian);
    ui->actionGerman->setChecked(german);
    ui->actionEnglish->setChecked(!italian && !german);
}

void MainWindow::setCopyrightChecks(bool enable)
{
    ui->actionCopyrightYes->setChecked(enable);
    ui->actionCopyrightNo->setChecked(!enable);
}

// ---------------------------------------------------------------- workflows

SongRef MainWindow::songAt(int row)
{
    return {userLibraryModel->songId(row), userLibraryModel->fileName(row), userLibraryModel->shortName(row)};
}

SongRefs MainWindow::librarySongs()
{
    SongRefs songs;
    const int count = userLibraryModel->goodRowCount();
    songs.reserve(count);
    for (int row = 0; row < count; ++row)
        songs.append(songAt(row));
    return songs;
}

SongRefs MainWindow::selectedSongs() const
{
    SongRefs songs;
    songs.reserve(selectedFiles.size());
    for (const QString& path : selectedFiles)
        songs.append({-1, path, LibraryImport::shortNameOf(path)});
    return songs;
}

WorkflowHost::answerEnum MainWindow::askFourAnswers(const QString& fileName, const QString& message)
{
    NoCopyrightDialog question(nullptr);
    question.setFilename(fileName);
    if (!message.isEmpty())
        question.setMessage(message);
    switch (question.exec()) {
    case 0:
        return WorkflowHost::AnswerYes;
    case 1:
        return WorkflowHost::AnswerYesAll;
    case 3:
        return WorkflowHost::AnswerNoAll;
    default:
        return WorkflowHost::AnswerNo;
    }
}

void MainWindow::beginProgress(WorkflowHost::phaseEnum phase, int total)
{
    switch (phase) {
    case WorkflowHost::PhaseImport:
        startProgress(tr("Importo la libreria..."), tr("Lettura file"), total);
        break;
    case WorkflowHost::PhaseSync:
    case WorkflowHost::PhaseWholeList:
        startProgress(tr("Aggiorno la libreria..."), tr("Aggiornamento file"), total);
        break;
    case WorkflowHost::PhaseBackup:
        startProgress(tr("Eseguo backup dellla libreria..."), tr("Backup"), total);
        break;
    case WorkflowHost::PhaseTransfer:
        startProgress(tr("Trasferimento file..."), tr("Trasferimento"), total);
        break;
    case WorkflowHost::PhaseIndex:
        startProgress(tr("Aggiornamento database..."), tr("Aggiornamento"), total);
        progressDialog->setAutoClose(false);
        break;
    }
}

void MainWindow::applyOutcomes(WorkflowHost::phaseEnum phase, const SongOutcomes& outcomes)
{
    if (!userLibraryModel)
        return;
    if (phase == WorkflowHost::PhaseImport) {
        for (const SongOutcome& song : outcomes)
            if (song.outcome == SongOutcome::OutcomeRead)
                userLibraryModel->addSong(song.details);
        return;
    }
    if (phase != WorkflowHost::PhaseSync && phase != WorkflowHost::PhaseWholeList)
        return;

    // Rows move when the table is sorted or read again: find them by id now.
    QHash<qint64, int> rows;
    const int count = userLibraryModel->goodRowCount();
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.insert(userLibraryModel->songId(row), row);

    for (const SongOutcome& song : outcomes) {
        const int row = rows.value(song.id, -1);
        if (row < 0)
            continue;
        if (phase == WorkflowHost::PhaseSync) {
            if (song.hasDetails)
                userLibraryModel->updateRow(row, song.details);
            userLibraryModel->setStatus(row, song.outcome == SongOutcome::OutcomeUpdated ? Database::StatusUpdated
                                                                                         : Database::StatusNotUpdated);
        } else if (song.outcome == SongOutcome::OutcomeSaved || song.outcome == SongOutcome::OutcomeNotSaved) {
            userLibraryModel->updateRow(row, song.details);
            userLibraryModel->setStatus(row, Database::StatusManual);
        }
    }
}
