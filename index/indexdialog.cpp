#include "index/indexdialog.h"
#include "ui_indexdialog.h"

#include "app/settingskeys.h"
#include "index/index.h"
#include "library/memoryeject.h"
#include "library/memoryindex.h"
#include "platform/platform.h"
#include "platform/removablememories.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QString chooseWithFileDialog(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

} // namespace

IndexDialog::FolderChooser& IndexDialog::folderChooser()
{
    static FolderChooser chooser = chooseWithFileDialog;
    return chooser;
}

void IndexDialog::setFolderChooser(FolderChooser chooser)
{
    folderChooser() = chooser ? std::move(chooser) : FolderChooser(chooseWithFileDialog);
}

IndexDialog::IndexDialog(QWidget* parent)
    : QDialog(parent),
      settings(QString::fromLatin1(SettingsKeys::organization), QString::fromLatin1(SettingsKeys::application)),
      ui(new Ui_IndexDialog)
{
    ui->setupUi(this);
    connect(ui->pushButtonBrowse, &QPushButton::clicked, this, &IndexDialog::browseDir);
    ui->lineEditPath->setText(settings.value(QLatin1String(SettingsKeys::mediaRoot)).toString());
    // Only a mouse press starts a run: with Shift the folder itself is
    // indexed, without it the root of the memory holding it.
    ui->pushButtonStart->installEventFilter(this);
    ui->checkBoxChkdsk->setChecked(false);
    ui->checkBoxChkdsk->setEnabled(false);
}

IndexDialog::~IndexDialog()
{
    delete ui;
}

bool IndexDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->pushButtonStart && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        start(press->modifiers() != Qt::ShiftModifier);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void IndexDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void IndexDialog::reject()
{
    if (!running)
        QDialog::reject();
}

void IndexDialog::closeEvent(QCloseEvent* event)
{
    if (running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

QString IndexDialog::getRootDrivePath(QString path)
{
    // "/Volumes/" and at least one character of the volume name; the root
    // ends before the first "/" after that character.
    const QString prefix = Platform::volumesDir() + QLatin1Char('/');
    // A removable memory mounted elsewhere is a memory all the same.
    if (!path.startsWith(prefix, Qt::CaseInsensitive) || path.size() < prefix.size() + 1)
        return RemovableMemories().rootOf(path);
    const int slash = path.indexOf(QLatin1Char('/'), prefix.size() + 1);
    return slash < 0 ? path : path.left(slash);
}

void IndexDialog::clearIndexErrors()
{
    ui->plainTextReport->clear();
    errorCount = 0;
}

void IndexDialog::errorFromIndexReceived(QString message)
{
    ui->plainTextReport->appendPlainText(message);
    ++errorCount;
}

void IndexDialog::warningFromIndexReceived(QString message)
{
    ui->plainTextReport->appendPlainText(message);
}

void IndexDialog::updateLabelCurrPath(QString path)
{
    ui->labelCurrPath->setText(path);
    QCoreApplication::processEvents();
}

void IndexDialog::updateLabelNum(int num)
{
    ui->labelFileFound->setText(QString::number(num));
    QCoreApplication::processEvents();
}

void IndexDialog::initProgress(int max)
{
    ui->progressBar->setRange(0, max);
    ui->progressBar->setValue(0);
    QCoreApplication::processEvents();
}

void IndexDialog::setProgressValue(int value)
{
    ui->progressBar->setValue(value);
    QCoreApplication::processEvents();
}

void IndexDialog::browseDir()
{
    // The chooser opens on the first memory put in, if any.
    const QStringList memories = RemovableMemories().list();
    const QString dir =
        folderChooser()(this, tr("Scegli cartella"), memories.isEmpty() ? QStringLiteral("/home") : memories.first());
    if (dir.isEmpty())
        return;
    ui->lineEditPath->setText(dir);
    settings.setValue(QLatin1String(SettingsKeys::mediaRoot), dir);
}

void IndexDialog::on_pushButtonClose_clicked()
{
    done(0);
}

void IndexDialog::on_radioButtonUpdate_clicked()
{
}

void IndexDialog::on_radioButtonRebuild_clicked()
{
}

void IndexDialog::start(bool checkRoot)
{
    if (running)
        return;
    QString path = ui->lineEditPath->text();
    if (checkRoot)
        path = getRootDrivePath(path);
    if (!QFileInfo::exists(path)) {
        QMessageBox::warning(this, tr("Ottimizza memoria"), tr("Il percorso selezionato non esiste"));
        return;
    }

    running = true;
    ui->pushButtonStart->setEnabled(false);
    ui->pushButtonClose->setEnabled(false);
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    ui->labelFileFound->setText(QStringLiteral("0"));
    ui->progressBar->setRange(0, 0);
    ui->progressBar->setValue(0);
    QCoreApplication::processEvents();
    clearIndexErrors();
    ui->plainTextReport->appendPlainText(tr("Ottimizzazione memoria in corso..."));

    Index index;
    connect(&index, &Index::fileFoundChanged, this, &IndexDialog::updateLabelNum);
    connect(&index, &Index::progressMaxSetup, this, &IndexDialog::initProgress);
    connect(&index, &Index::progressValueChanged, this, &IndexDialog::setProgressValue);
    connect(&index, &Index::currentPathChanged, this, &IndexDialog::updateLabelCurrPath);
    connect(&index, &Index::errorFromIndex, this, &IndexDialog::errorFromIndexReceived);
    connect(&index, &Index::warningFromIndex, this, &IndexDialog::warningFromIndexReceived);

    MemoryIndex::resultEnum result = MemoryIndex::ResultFailed;
    if (ui->radioButtonUpdate->isChecked())
        result = MemoryIndex::run(index, path, MemoryIndex::ModeUpdate);
    else if (ui->radioButtonRebuild->isChecked())
        result = MemoryIndex::run(index, path, MemoryIndex::ModeRebuild);

    // A failed run says why: another run holds the memory, a memory without
    // songs (its index is kept), a damaged index, a full or write-protected
    // memory.
    if (result == MemoryIndex::ResultBusy) {
        ui->progressBar->setRange(0, 100);
        ui->progressBar->setValue(0);
        QMessageBox::warning(this, tr("Ottimizza memoria"),
                             tr("Memoria occupata: un trasferimento o un aggiornamento del database è già in corso "
                                "su questa memoria. Riprovare quando è terminato."));
    } else if (result != MemoryIndex::ResultDone) {
        ui->progressBar->setRange(0, 100);
        ui->progressBar->setValue(0);
        const QString reason = index.lastErrorText();
        ui->plainTextReport->appendPlainText(reason);
        QCoreApplication::processEvents();
        if (index.lastError() == Index::ErrorNoSongs)
            QMessageBox::warning(this, tr("Ottimizza memoria"), reason);
        else
            QMessageBox::critical(this, tr("Ottimizza memoria"),
                                  tr("Operazione non riuscita.") + QLatin1Char('\n') + reason);
    } else {
        // What was written is safe on a removable memory once it is ejected.
        const QString memory = index.wroteIndex() ? MemoryEject::memoryOf(path) : QString();
        if (errorCount > 0)
            showResult(QMessageBox::Critical,
                       tr("Durante l'operazione si sono verificati alcuni errori.\n"
                          "Consultare il report per maggiori informazioni."),
                       memory);
        else
            showResult(QMessageBox::Information, tr("Operazione completata con successo"), memory);
    }

    ui->plainTextReport->appendPlainText(tr("Operazione completata"));
    ui->pushButtonStart->setEnabled(true);
    ui->pushButtonClose->setEnabled(true);
    running = false;
}

void IndexDialog::showResult(QMessageBox::Icon icon, const QString& text, const QString& memory)
{
    QMessageBox box(icon, tr("Ottimizza memoria"), text, QMessageBox::Ok, this);
    QPushButton* eject = memory.isEmpty() ? nullptr : box.addButton(MemoryEject::actionText(), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (!eject || box.clickedButton() != eject)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MemoryEject::Outcome outcome = MemoryEject::eject(memory);
    QApplication::restoreOverrideCursor();
    ui->plainTextReport->appendPlainText(outcome.text);
    if (outcome.ejected)
        QMessageBox::information(this, MemoryEject::actionText(), outcome.text);
    else
        QMessageBox::warning(this, MemoryEject::actionText(), outcome.text);
}
