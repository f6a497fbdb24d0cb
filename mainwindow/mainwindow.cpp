#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"

#include <QApplication>
#include <QDebug>
#include <QEvent>

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
