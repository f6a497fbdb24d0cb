#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "library/outcometally.h"
#include "mainwindow/librarymodel.h"
#include "mainwindow/nocopyrightdialog.h"
#include "mainwindow/reportbox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

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
        if (userLibraryModel) {
            userLibraryModel->setHeaderLabels();
            adjustUserLibraryHeaders();
        }
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

MainWindow::WorkflowScope::WorkflowScope(MainWindow& window) : window(window)
{
    if (window.workflowDepth++ == 0) {
        window.stopAfterCurrentSong = false;
        window.setWorkflowControlsEnabled(false);
    }
}

MainWindow::WorkflowScope::~WorkflowScope()
{
    if (--window.workflowDepth > 0)
        return;
    window.setWorkflowControlsEnabled(true);
    if (window.stopAfterCurrentSong)
        QTimer::singleShot(0, &window, &QWidget::close);
}

void MainWindow::setWorkflowControlsEnabled(bool enabled)
{
    // The buttons keep their own enabled state (the order of the workflows)
    // under their disabled parent.
    ui->centralWidget->setEnabled(enabled);
    ui->optimizeMemory->setEnabled(enabled);
    ui->actionSongsList->setEnabled(enabled);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!workflowRunning()) {
        QMainWindow::closeEvent(event);
        return;
    }
    // The window closes once the workflow has stopped (WorkflowScope).
    event->ignore();
    if (stopAfterCurrentSong)
        return;
    QMessageBox question(QMessageBox::Question, tr("Orvalo3 Soft"),
                         tr("Un'operazione è in corso. Vuoi interromperla dopo la song in corso e chiudere "
                            "Orvalo3 Soft?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setInformativeText(tr("Le song già elaborate restano come sono; le altre non vengono toccate."));
    question.button(QMessageBox::Yes)->setText(tr("Interrompi e chiudi"));
    question.button(QMessageBox::No)->setText(tr("Continua"));
    question.setDefaultButton(QMessageBox::No);
    question.setEscapeButton(QMessageBox::No);
    if (question.exec() != QMessageBox::Yes)
        return;
    qDebug() << "[MainWindow::closeEvent] Stopping the workflow after the current song, then closing";
    stopAfterCurrentSong = true;
}

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
    // A batch is written in one go and the table read again once: row by
    // row, each write would cost more the longer the list.
    if (phase == WorkflowHost::PhaseImport) {
        QVector<SongInfo> read;
        read.reserve(outcomes.size());
        for (const SongOutcome& song : outcomes) {
            if (song.outcome == SongOutcome::OutcomeRead)
                read << song.details;
            else
                unreadableFiles << song.path;
        }
        if (!userLibraryModel->addSongs(read))
            qDebug() << "[MainWindow::applyOutcomes] WARNING:" << read.size() << "songs read but not listed";
        return;
    }
    if (phase != WorkflowHost::PhaseSync && phase != WorkflowHost::PhaseWholeList)
        return;

    QVector<UserSongsRelTableModel::SongUpdate> updates;
    updates.reserve(outcomes.size());
    for (const SongOutcome& song : outcomes) {
        UserSongsRelTableModel::SongUpdate update;
        switch (song.outcome) {
        case SongOutcome::OutcomeUpdated:
            update.status = Database::StatusUpdated;
            break;
        case SongOutcome::OutcomeSaved:
            update.status = Database::StatusManual;
            break;
        case SongOutcome::OutcomeNotFound:
            update.status = Database::StatusNotFound;
            break;
        case SongOutcome::OutcomeLeftUnchanged:
            update.status = Database::StatusLeftUnchanged;
            break;
        case SongOutcome::OutcomeUnreadable:
            update.status = Database::StatusUnreadable;
            break;
        case SongOutcome::OutcomeNotSaved:
            update.status = Database::StatusNotSaved;
            break;
        default:
            continue;
        }
        // Songs are found by id: rows move when the table is sorted or read again.
        if (userLibraryModel->rowOfSong(song.id) < 0)
            continue;
        update.id = song.id;
        update.hasDetails = song.hasDetails;
        if (song.hasDetails)
            update.details = song.details;
        userLibraryModel->setStatusReason(song.id, song.reason);
        updates << update;
    }
    if (!userLibraryModel->updateSongs(updates))
        qDebug() << "[MainWindow::applyOutcomes] WARNING: the statuses of" << updates.size() << "songs not listed";
}

void MainWindow::showSyncReport(const OutcomeTally& outcomes, bool completed, int total)
{
    const int updated = outcomes.count(SongOutcome::OutcomeUpdated);
    const int notFound = outcomes.count(SongOutcome::OutcomeNotFound);
    const int unchanged = outcomes.count(SongOutcome::OutcomeLeftUnchanged);
    const int unreadable = outcomes.count(SongOutcome::OutcomeUnreadable);
    const int notSaved = outcomes.count(SongOutcome::OutcomeNotSaved);
    const int notReached = total - updated - notFound - unchanged - unreadable - notSaved;

    QStringList lines{tr("Song aggiornate: %1").arg(updated), tr("Non trovate nel database Tavrel: %1").arg(notFound),
                      tr("Lasciate invariate come richiesto: %1").arg(unchanged),
                      tr("Non leggibili: %1").arg(unreadable), tr("Non salvate: %1").arg(notSaved)};
    if (!completed)
        lines << tr("Non elaborate per l'interruzione: %1").arg(notReached);
    const bool problems = unreadable > 0 || notSaved > 0;
    QMessageBox box(problems || !completed ? QMessageBox::Warning : QMessageBox::Information, tr("Sincronizzazione"),
                    completed ? tr("Sincronizzazione completata") : tr("Sincronizzazione interrotta"),
                    QMessageBox::Ok, this);
    fillReport(box, lines, tr("Song non aggiornate per un errore:"), outcomes.problems());
    box.exec();
}

void MainWindow::showSaveFailures(const SongOutcomes& failures)
{
    if (failures.isEmpty())
        return;
    QMessageBox box(QMessageBox::Critical, tr("Modifica dati song"),
                    tr("Non è stato possibile salvare una o più song"), QMessageBox::Ok, this);
    fillReport(box, {}, tr("Song non salvate:"), failures);
    box.exec();
}
