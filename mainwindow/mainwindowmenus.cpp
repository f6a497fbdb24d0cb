// The menus of MainWindow: the interface language switched at run time with
// the window's own translators, the copyright-message preference, quitting,
// the about and help dialogs; and the two hidden panels: the log preferences
// and the developer buttons, revealed by the key combination Ctrl+Alt+Shift+D.
#include "mainwindow/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/aboutdialog.h"
#include "app/helpdialog.h"
#include "app/settingskeys.h"
#include "app/stylesheet.h"
#include "mainwindow/librarymodel.h"
#include "songfiles/metasong.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QKeyEvent>
#include <QWindow>

namespace {

const char* const kTestSaveFile = "test_save.bin";
const char* const kTestAddMarkerFile = "test_addmarker.bin";

// Italian is the interface's source language, and the Italian translation
// files hold only the texts that differ from it. Installed just below the
// window's Italian translators, this one answers every text they lack with
// the source text itself, so that a switch to Italian never falls through to
// the English translation installed at start.
class SourceTextTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        Q_UNUSED(context);
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        return sourceText ? QString::fromUtf8(sourceText) : QString();
    }

    bool isEmpty() const override { return false; }
};

// Installs a translator on top of the others (once, even when it already was).
void reinstall(QTranslator* translator)
{
    QCoreApplication::removeTranslator(translator);
    QCoreApplication::installTranslator(translator);
}

// Saves the song read from `source` to the developer file `target`. The file
// starts as a copy of the song, so that the save, which takes an MP3 song's
// audio from the file it writes, finds the song's own audio there.
bool saveDeveloperCopy(MetaSong& song, const QString& source, const QString& target)
{
    QFile::remove(target);
    QFile::copy(source, target);
    return song.saveToFile(target);
}

} // namespace

// ---------------------------------------------------------------- languages

void MainWindow::on_actionEnglish_triggered()
{
    settings.setValue(QLatin1String(SettingsKeys::language), QStringLiteral("en"));
    setLanguageChecks(QStringLiteral("en"));
    appTranslator.load(QStringLiteral(":/trans/orvalo3soft_en"));
    reinstall(&appTranslator);
    QCoreApplication::removeTranslator(&qtTranslator);
    QCoreApplication::removeTranslator(sourceTextTranslator);
}

void MainWindow::on_actionItalian_triggered()
{
    settings.setValue(QLatin1String(SettingsKeys::language), QStringLiteral("it"));
    setLanguageChecks(QStringLiteral("it"));
    appTranslator.load(QStringLiteral(":/trans/orvalo3soft_it"));
    qtTranslator.load(QStringLiteral(":/trans/qt_it"));
    if (!sourceTextTranslator)
        sourceTextTranslator = new SourceTextTranslator(this);
    reinstall(sourceTextTranslator);
    reinstall(&appTranslator);
    reinstall(&qtTranslator);
}

void MainWindow::on_actionGerman_triggered()
{
    // There is no German translation: German shows the English texts.
    settings.setValue(QLatin1String(SettingsKeys::language), QStringLiteral("de"));
    setLanguageChecks(QStringLiteral("de"));
    appTranslator.load(QStringLiteral(":/trans/orvalo3soft_en"));
    reinstall(&appTranslator);
    QCoreApplication::removeTranslator(&qtTranslator);
    QCoreApplication::removeTranslator(sourceTextTranslator);
}

// ---------------------------------------------------------------- other menu commands

void MainWindow::on_actionCopyrightYes_triggered()
{
    enableCopyrightMessage(true);
}

void MainWindow::on_actionCopyrightNo_triggered()
{
    enableCopyrightMessage(false);
}

void MainWindow::on_actionAbout_triggered()
{
    AboutDialog about(nullptr);
    about.exec();
}

void MainWindow::on_actionAbout_QT_triggered()
{
    QApplication::aboutQt();
}

void MainWindow::on_actionContents_triggered()
{
    HelpDialog help(nullptr);
    help.exec();
}

// ---------------------------------------------------------------- hidden options

void MainWindow::on_dbgLogEnableCheckBox_toggled(bool checked)
{
    settings.setValue(QLatin1String(SettingsKeys::logEnabled), checked);
}

void MainWindow::on_dbgLogClearCheckBox_toggled(bool checked)
{
    settings.setValue(QLatin1String(SettingsKeys::logClear), checked);
}

bool MainWindow::catchHiddenOptionsKey(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers wanted = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    if (key->key() != Qt::Key_D || mods != wanted || key->isAutoRepeat())
        return false;
    // Only keys typed in this window: the dialogs keep theirs.
    const bool here = watched->isWidgetType() ? static_cast<QWidget*>(watched)->window() == this
                                              : watched == windowHandle();
    if (!here)
        return false;
    ui->debugTavrelGroupBox->show();
    ui->debugGroupBox->show();
    return true;
}

int MainWindow::currentLibraryRow() const
{
    return userLibraryModel ? ui->userLibraryTableView->currentIndex().row() : -1;
}

void MainWindow::on_dbgSavePushButton_clicked()
{
    const int row = currentLibraryRow();
    if (row < 0 || workflowRunning())
        return;
    qDebug() << "[MainWindow] Saving row: " << row;
    const QString fileName = userLibraryModel->fileName(row);
    MetaSong song;
    if (!song.importFile(fileName))
        return;
    qDebug() << "Saving to file: " << QString::fromLatin1(kTestSaveFile);
    const bool saved = saveDeveloperCopy(song, fileName, QString::fromLatin1(kTestSaveFile));
    qDebug() << (saved ? "Ok" : "Error!");
    qDebug();
}

void MainWindow::on_dbgAddMarkerPushButton_clicked()
{
    const int row = currentLibraryRow();
    if (row < 0 || workflowRunning())
        return;
    const QString text = ui->dbgMarkerTextLineEdit->text().trimmed();
    const auto bar = static_cast<unsigned short>(ui->dbgMarkerBarSpinBox->value());
    qDebug() << "[MainWindow] Adding marker to row: " << row;
    const QString fileName = userLibraryModel->fileName(row);
    MetaSong song;
    if (!song.importFile(fileName))
        return;
    qDebug() << (song.dbgAddMarker(text, bar) >= 1 ? "Ok" : "Error!");
    qDebug() << "Saving to file: " << QString::fromLatin1(kTestAddMarkerFile);
    const bool saved = saveDeveloperCopy(song, fileName, QString::fromLatin1(kTestAddMarkerFile));
    qDebug() << (saved ? "Ok" : "Error!");
    qDebug() << "-----------------------------------";
    qDebug();
}

void MainWindow::on_dbgReloadStylePushButton_clicked()
{
    applyStyleSheet(*qApp, QCoreApplication::applicationDirPath() + QStringLiteral("/default.qss"));
}

void MainWindow::on_dbgImportPushButton_clicked()
{
    if (!workflowRunning())
        importUserLibrary();
}

void MainWindow::on_dbgHidePushButton_clicked()
{
    ui->debugGroupBox->setVisible(ui->debugGroupBox->isHidden());
}

void MainWindow::on_dbgBackupPushButton_clicked()
{
    if (!workflowRunning())
        suggestBackup();
}

void MainWindow::on_dbgShowDialogPushButton_clicked()
{
    if (workflowRunning())
        return;
    // The editor as the last edit left it: no song is loaded and nothing is saved.
    dataEditDialog.setArtistsCombo(database.artistsList());
    dataEditDialog.setGenresCombo(database.genresList());
    qDebug() << (dataEditDialog.exec() == QDialog::Accepted ? "Accettato" : "Rifiutato");
}
