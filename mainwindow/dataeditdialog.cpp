#include "mainwindow/dataeditdialog.h"
#include "ui_dataeditdialog.h"

#include "library/songedit.h"

#include <QCompleter>
#include <QEvent>
#include <QMessageBox>
#include <QRegExp>
#include <QRegExpValidator>

namespace {

// Marks a key item that is not one of the key list's names: the song's own
// key, offered so that saving does not drop it.
const int kSongOwnKeyRole = Qt::UserRole + 1;

} // namespace

DataEditDialog::DataEditDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_DataEditDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Modifica dati song"));
    // Completions are offered in a list below the box: completed inline, the
    // rest of a name would be saved though the user never typed it.
    for (QComboBox* box : {ui->artistComboBox, ui->genreComboBox}) {
        box->completer()->setCompletionMode(QCompleter::PopupCompletion);
        box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    }

    bpmValidator = new QRegExpValidator(QRegExp(SongEdit::fieldPattern(SongEdit::TempoDigits)));
    lenValidator = new QRegExpValidator(QRegExp(SongEdit::fieldPattern(SongEdit::LengthFieldDigits)));
    ui->bpmLineEdit->setValidator(bpmValidator);
    ui->lenMmLineEdit->setValidator(lenValidator);
    ui->lenSsLineEdit->setValidator(lenValidator);
}

DataEditDialog::~DataEditDialog()
{
    delete ui;
    // The line edits only keep guarded pointers to their validators.
    delete bpmValidator;
    delete lenValidator;
}

void DataEditDialog::setArtistsCombo(const QStringList& artists)
{
    ui->artistComboBox->clear();
    ui->artistComboBox->addItems(artists);
}

void DataEditDialog::setGenresCombo(const QStringList& genres)
{
    ui->genreComboBox->clear();
    ui->genreComboBox->addItems(genres);
}

void DataEditDialog::setKeysCombo(const QStringList& keys)
{
    ui->keyComboBox->clear();
    ui->keyComboBox->addItem(QString());
    ui->keyComboBox->addItems(keys);
}

void DataEditDialog::setOtherInfo(const SongInfo& info)
{
    ui->fileNameLabel->setText(info.filename);
    ui->formatLabel->setText(info.format);
    ui->titleLineEdit->setText(info.title);
    ui->authorLineEdit->setText(info.author);
    ui->artistComboBox->setEditText(info.artist);
    ui->genreComboBox->setEditText(info.genre);
    // Truncating division: a negative length gives negative texts, which
    // getInfo turns back into the same length.
    ui->lenMmLineEdit->setText(QString::number(info.length / 60));
    ui->lenSsLineEdit->setText(QString::number(info.length % 60));

    // The previous song's own key is no choice for this one.
    QComboBox* keys = ui->keyComboBox;
    for (int i = keys->count() - 1; i >= 0; --i)
        if (keys->itemData(i, kSongOwnKeyRole).toBool())
            keys->removeItem(i);
    int keyIndex = keys->findText(info.key, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (keyIndex < 0 && !info.key.isEmpty()) {
        // A key written in another form (an MP3 tag may hold "A -" or "Am")
        // stays as the song has it unless the user picks another.
        keys->addItem(info.key);
        keyIndex = keys->count() - 1;
        keys->setItemData(keyIndex, true, kSongOwnKeyRole);
    }
    keys->setCurrentIndex(keyIndex);
    ui->bpmLineEdit->setText(QString::number(info.userBpm));

    storedInfo = info;
    ui->checkBoxToAllAuthor->setChecked(false);
    ui->checkBoxToAllArtist->setChecked(false);
    ui->checkBoxToAllGenre->setChecked(false);
    ui->checkBoxToAllTitle->setChecked(false);
    ui->checkBoxToAllTitle->setEnabled(false);
    ui->radioButtonTitle1->setChecked(true);
    ui->radioButtonTitle2->setChecked(false);
    applyToAllAuthor = false;
    applyToAllArtist = false;
    applyToAllGenre = false;
    applyToAllFname = false;
}

void DataEditDialog::getInfo(SongInfo& info)
{
    info.title = ui->titleLineEdit->text().trimmed();
    info.author = ui->authorLineEdit->text().trimmed();
    info.artist = ui->artistComboBox->currentText().trimmed();
    info.genre = ui->genreComboBox->currentText().trimmed();
    info.key = ui->keyComboBox->currentText().trimmed();
    // Empty or not a number counts as 0; seconds above 59 are kept as entered.
    info.length = SongEdit::lengthFromFields(ui->lenMmLineEdit->text(), ui->lenSsLineEdit->text());
    info.userBpm = ui->bpmLineEdit->text().toInt();
}

bool DataEditDialog::confirmApplyToAll(QAbstractButton* box, const QString& question)
{
    if (box->isChecked()
        && QMessageBox::question(this, tr("ATTENZIONE"), question, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::No)
        box->setChecked(false);
    return box->isChecked();
}

void DataEditDialog::on_checkBoxToAllAuthor_clicked()
{
    applyToAllAuthor = confirmApplyToAll(
        ui->checkBoxToAllAuthor,
        tr("L'autore inserito verrà applicato a tutte le song della lista, sei sicuro?"));
}

void DataEditDialog::on_checkBoxToAllArtist_clicked()
{
    applyToAllArtist = confirmApplyToAll(
        ui->checkBoxToAllArtist,
        tr("L'interprete inserito verrà applicato a tutte le song della lista, sei sicuro?"));
}

void DataEditDialog::on_checkBoxToAllGenre_clicked()
{
    applyToAllGenre = confirmApplyToAll(
        ui->checkBoxToAllGenre,
        tr("Il genere inserito verrà applicato a tutte le song della lista, sei sicuro?"));
}

void DataEditDialog::on_checkBoxToAllTitle_clicked()
{
    if (!ui->checkBoxToAllTitle->isEnabled()) {
        applyToAllFname = false;
        return;
    }
    applyToAllFname = confirmApplyToAll(
        ui->checkBoxToAllTitle,
        tr("Il titolo di tutte le song della lista verrà sovrascritto non il nome del file, sei sicuro?"));
}

void DataEditDialog::on_radioButtonTitle1_clicked()
{
    if (!ui->radioButtonTitle1->isChecked())
        return;
    ui->checkBoxToAllTitle->setChecked(false);
    ui->checkBoxToAllTitle->setEnabled(false);
    applyToAllFname = false;
    ui->titleLineEdit->setText(storedInfo.title);
}

void DataEditDialog::on_radioButtonTitle2_clicked()
{
    if (!ui->radioButtonTitle2->isChecked())
        return;
    ui->checkBoxToAllTitle->setEnabled(true);
    ui->titleLineEdit->setText(SongEdit::titleFromFileName(storedInfo.filename));
}

void DataEditDialog::on_exitPushButton_clicked()
{
    done(QDialog::Rejected);
}

void DataEditDialog::on_savePushButton_clicked()
{
    done(QDialog::Accepted);
}

void DataEditDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The form holds a shorter title of its own.
        setWindowTitle(tr("Modifica dati song"));
    }
}
