#include "mainwindow/backupdialog.h"
#include "ui_backupdialog.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>

namespace {

QString chooseWithFileDialog(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

} // namespace

BackupDialog::BackupDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_BackupDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Backup"));
    ui->doBackupPushButton->setEnabled(false);
    ui->backupLabel->setText(
        tr("Si consiglia di effettuare un backup della libreria prima di procedere con l'aggiornamento.\n"
           "Selezionare una cartella di destinazione per il backup oppure premere 'Prosegui senza backup'."));
}

BackupDialog::~BackupDialog()
{
    delete ui;
}

QString BackupDialog::directory() const
{
    return m_directory;
}

BackupDialog::FolderChooser& BackupDialog::folderChooser()
{
    static FolderChooser chooser = chooseWithFileDialog;
    return chooser;
}

void BackupDialog::setFolderChooser(FolderChooser chooser)
{
    folderChooser() = chooser ? std::move(chooser) : FolderChooser(chooseWithFileDialog);
}

void BackupDialog::on_browsePushButton_clicked()
{
    const QString chosen = folderChooser()(this, tr("Scegli cartella"), QStringLiteral("/home"));
    if (chosen.isEmpty())
        return;
    m_directory = chosen;
    ui->directoryLineEdit->setText(chosen);
    ui->doBackupPushButton->setEnabled(true);
}

void BackupDialog::on_abortPushButton_clicked()
{
    done(0);
}

void BackupDialog::on_doBackupPushButton_clicked()
{
    done(1);
}

void BackupDialog::on_exitPushButton_clicked()
{
    done(2);
}

void BackupDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    done(0);
}

void BackupDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
