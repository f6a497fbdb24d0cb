#include "index/songslistdialog.h"
#include "ui_songslistdialog.h"

#include "app/settingskeys.h"
#include "index/index.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString chooseFolder(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& file, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, file, filter);
}

} // namespace

SongsListDialog::FolderChooser& SongsListDialog::folderChooser()
{
    static FolderChooser chooser = chooseFolder;
    return chooser;
}

SongsListDialog::SaveFileChooser& SongsListDialog::saveFileChooser()
{
    static SaveFileChooser chooser = chooseSaveFile;
    return chooser;
}

void SongsListDialog::setFolderChooser(FolderChooser chooser)
{
    folderChooser() = chooser ? std::move(chooser) : FolderChooser(chooseFolder);
}

void SongsListDialog::setSaveFileChooser(SaveFileChooser chooser)
{
    saveFileChooser() = chooser ? std::move(chooser) : SaveFileChooser(chooseSaveFile);
}

SongsListDialog::SongsListDialog(QWidget* parent)
    : QDialog(parent),
      settings(QString::fromLatin1(SettingsKeys::organization), QString::fromLatin1(SettingsKeys::application)),
      ui(new Ui_SongsListDialog)
{
    ui->setupUi(this);
    connect(ui->pushButtonStart, &QPushButton::clicked, this, &SongsListDialog::start);
    connect(ui->pushButtonBrowseSrc, &QPushButton::clicked, this, &SongsListDialog::browseDir);
    connect(ui->pushButtonBrowseDest, &QPushButton::clicked, this, &SongsListDialog::browseFile);
    ui->lineEditSrc->setText(settings.value(QLatin1String(SettingsKeys::mediaRoot)).toString());

    // No folder is proposed: the field starts as "/" and the file name.
    ui->lineEditDest->setText(QStringLiteral("/SongsList.csv"));

    ui->comboBoxSort->addItem(QString());
    ui->comboBoxSort->addItem(QString());
    setSortItemTexts();
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(0);
    QCoreApplication::processEvents();
}

SongsListDialog::~SongsListDialog()
{
    delete ui;
}

void SongsListDialog::setSortItemTexts()
{
    ui->comboBoxSort->setItemText(SortTitle, tr("Titolo"));
    ui->comboBoxSort->setItemText(SortArtist, tr("Artista"));
}

void SongsListDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setSortItemTexts();
    }
}

void SongsListDialog::browseDir()
{
    const QString dir = folderChooser()(this, tr("Scegli cartella"), QStringLiteral("/home"));
    if (dir.isEmpty())
        return;
    ui->lineEditSrc->setText(dir);
    settings.setValue(QLatin1String(SettingsKeys::mediaRoot), dir);
}

void SongsListDialog::browseFile()
{
    const QString file =
        saveFileChooser()(this, tr("Scegli nome del file"), ui->lineEditDest->text(), QStringLiteral("File (*.csv)"));
    if (!file.isEmpty())
        ui->lineEditDest->setText(file);
}

void SongsListDialog::initProgress(int max)
{
    ui->progressBar->setRange(0, max);
    ui->progressBar->setValue(0);
    QCoreApplication::processEvents();
}

void SongsListDialog::setProgressValue(int value)
{
    ui->progressBar->setValue(value);
    QCoreApplication::processEvents();
}

void SongsListDialog::on_pushButtonClose_clicked()
{
    done(0);
}

void SongsListDialog::start()
{
    // The index files must lie directly in the chosen memory folder.
    const QString src = ui->lineEditSrc->text();
    const QString dest = ui->lineEditDest->text();
    if (!QFileInfo::exists(src)) {
        QMessageBox::warning(this, tr("Salva lista song"), tr("Il percorso selezionato non esiste"));
        return;
    }
    {
        QFile test(dest);
        if (!test.open(QIODevice::WriteOnly)) {
            QMessageBox::warning(this, tr("Salva lista song"), tr("Il percorso di destinazione non esiste"));
            return;
        }
    }

    ui->pushButtonStart->setEnabled(false);
    ui->pushButtonClose->setEnabled(false);
    Index index;
    connect(&index, &Index::progressMaxSetup, this, &SongsListDialog::initProgress);
    connect(&index, &Index::progressValueChanged, this, &SongsListDialog::setProgressValue);

    const int r = index.saveSongsList(src, dest, SORT_MODE(ui->comboBoxSort->currentIndex()));
    if (r == 1)
        QMessageBox::information(this, tr("Salva lista song"), tr("Operazione completata"));
    else if (r == -1)
        QMessageBox::warning(this, tr("Salva lista song"),
                             tr("Impossibile proseguire, la memoria non è preparata per Orvalo"));
    else if (index.lastError() == Index::ErrorDamaged)
        QMessageBox::warning(this, tr("Salva lista song"), index.lastErrorText());
    else
        QMessageBox::warning(this, tr("Salva lista song"), tr("Errore durante la creazione del file"));

    ui->pushButtonStart->setEnabled(true);
    ui->pushButtonClose->setEnabled(true);
}
