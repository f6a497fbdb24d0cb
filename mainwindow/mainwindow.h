#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QSettings>
#include <QStringList>
#include <QTranslator>

class QProgressDialog;
class Ui_MainWindow;

// The application's only top-level window. It owns the library, the
// preferences store and the translators of the language menu, and drives
// every workflow from its three large tool buttons.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Check marks of the language actions for a "language" value: "it" and
    // "de" check their own action, anything else checks English.
    void setLanguageChecks(const QString& language);
    // Check marks of the two copyright-message actions.
    void setCopyrightChecks(bool enable);

    Ui_MainWindow* ui = nullptr;
    // Progress dialog of the workflow in progress (owned by this window).
    QProgressDialog* progressDialog = nullptr;
    // Number of files picked for the current import.
    qint32 importFilesCount = 0;
    // Default of "copyrightAsk" whenever it is read and absent.
    bool copyrightAskDefault = true;
    // Synchronisation run state.
    bool askCopyright = true;
    bool copyrightAnswerForAll = false;
    // Paths picked in the last successful file choice.
    QStringList selectedFiles;
    QSettings settings;
    // The language menu's own translators (application, toolkit).
    QTranslator appTranslator;
    QTranslator qtTranslator;
};

#endif // MAINWINDOW_H
