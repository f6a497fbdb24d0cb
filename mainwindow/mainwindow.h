#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QSettings>
#include <QStringList>
#include <QTranslator>

#include <functional>

#include "database/database.h"
#include "library/memorytransfer.h"
#include "library/songoutcome.h"
#include "library/workflowhost.h"
#include "mainwindow/dataeditdialog.h"

class LibraryModel;
class MetaSong;
class OutcomeTally;
class QProgressDialog;
class Ui_MainWindow;

// The application's only top-level window. It owns the library, the
// preferences store and the translators of the language menu, and drives
// every workflow from its three large tool buttons. The workflows themselves
// are the library's (library/); the window asks their questions with its
// dialogs, shows their progress and writes their outcomes into its table.
// One workflow runs at a time: while one runs, nothing in the window starts
// another, and closing the window asks whether to stop it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Import
    // Picks the files to import: (parent, caption, start folder, filter) to
    // the chosen paths, empty when cancelled. The native multiple-file
    // chooser unless replaced.
    using FileChooser = std::function<QStringList(QWidget*, const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser);
    void initUserLibraryModel();
    void adjustUserLibraryHeaders();
    void importUserLibrary();
    // Shows "value of maximum" in the current progress dialog.
    void updateProgress(int value);
    void enableCopyrightMessage(bool enable);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Synchronisation with the reference database; true when every row was processed.
    bool updateUserLibrary();

    // Synchronisation, backup, copier
    // The backup offered before a synchronisation: true when the synchronisation may go on.
    bool suggestBackup();
    // Copies selectedFiles flat into destDir, asking before replacing a file;
    // true when nothing failed and the progress was not cancelled.
    bool copyFiles(QString destDir, int& copied);

    // Manual editing
    // Writes an edited song to its file and shows in its row what the file
    // then holds, marked as edited by hand or as not saved.
    SongOutcome manualModifySong(MetaSong song, SongInfo info, QString fileName, int row);

    // Whether a workflow is running (the window then starts no other).
    bool workflowRunning() const { return workflowDepth > 0; }

private slots:
    // Import
    void on_selectDirToolButton_clicked();
    // Synchronisation, backup, copier
    void on_updateDataToolButton_clicked();
    // Manual editing
    void onSongsTableViewDoubleClicked(const QModelIndex& index);
    void onSongsTableViewShowContextMenu(const QPoint& pos);

protected:
    void changeEvent(QEvent* event) override;
    // While a workflow runs, asks whether to stop it after the current song
    // and to close then.
    void closeEvent(QCloseEvent* event) override;
    // Import
    void showEvent(QShowEvent* event) override;

private:
    // Check marks of the language actions for a "language" value: "it" and
    // "de" check their own action, anything else checks English.
    void setLanguageChecks(const QString& language);
    // Check marks of the two copyright-message actions.
    void setCopyrightChecks(bool enable);

    Ui_MainWindow* ui = nullptr;
    // Progress dialog of the workflow in progress (owned by this window).
    QProgressDialog* progressDialog = nullptr;
    // The library table's model; null when the databases could not be opened.
    LibraryModel* userLibraryModel = nullptr;
    Database database;
    // Default of "copyrightAsk" whenever it is read and absent.
    bool copyrightAskDefault = true;
    // Paths picked in the last successful file choice.
    QStringList selectedFiles;
    QSettings settings;
    // The language menu's own translators (application, toolkit).
    QTranslator appTranslator;
    QTranslator qtTranslator;

    // Workflows (WindowHost answers for the window)
    friend class WindowHost;
    // Held by every workflow for its whole run, questions and reports
    // included; the outermost one disables whatever could start another
    // workflow, and enables it again when it goes.
    class WorkflowScope
    {
    public:
        explicit WorkflowScope(MainWindow& window);
        ~WorkflowScope();
        WorkflowScope(const WorkflowScope&) = delete;
        WorkflowScope& operator=(const WorkflowScope&) = delete;

    private:
        MainWindow& window;
    };
    int workflowDepth = 0;
    // Set when the user chose to close the window during a workflow: every
    // workflow stops after its current song, asks and reports nothing more,
    // and the window closes when the last one has returned.
    bool stopAfterCurrentSong = false;
    void setWorkflowControlsEnabled(bool enabled);
    // Picked files the last import could not read: listed by the transfer.
    QStringList unreadableFiles;
    // The library table's songs in row order, and one row's song.
    SongRefs librarySongs();
    SongRef songAt(int row);
    // The four-answer question about a file; an empty message keeps the
    // dialog's own.
    WorkflowHost::answerEnum askFourAnswers(const QString& fileName, const QString& message);
    // The progress dialog of a workflow's phase.
    void beginProgress(WorkflowHost::phaseEnum phase, int total);
    // Writes a workflow's outcomes into the rows of their songs.
    void applyOutcomes(WorkflowHost::phaseEnum phase, const SongOutcomes& outcomes);
    // The box at the end of a synchronisation: what became of the songs.
    void showSyncReport(const OutcomeTally& outcomes, bool completed, int total);
    // A box listing the songs that could not be saved; nothing when none.
    void showSaveFailures(const SongOutcomes& failures);
    // A box listing the copies interrupted saves left beside imported songs.
    void showLeftoverCopies(const QStringList& copies);

    // Import
    // Replaces the current progress dialog by a new window-modal one with
    // the range 0 to maximum, value 0 and the cancel button "Interrompi".
    void startProgress(const QString& label, const QString& title, int maximum);
    void showDatabaseFailure();
    FileChooser fileChooser;
    bool databaseFailureShown = false;

    // Manual editing
    // The song editor, reused for every edit.
    DataEditDialog dataEditDialog;
    // Spreads the details chosen in the editor over every other song of the
    // list; the songs that could not be saved.
    SongOutcomes updateWholeList(qint64 editedId, const SongInfo& edited);

    // Menus and hidden options
private slots:
    void on_actionItalian_triggered();
    void on_actionEnglish_triggered();
    void on_actionGerman_triggered();
    void on_actionAbout_triggered();
    void on_actionAbout_QT_triggered();
    void on_actionContents_triggered();
    void on_actionCopyrightYes_triggered();
    void on_actionCopyrightNo_triggered();
    void on_dbgImportPushButton_clicked();
    void on_dbgSavePushButton_clicked();
    void on_dbgAddMarkerPushButton_clicked();
    void on_dbgShowDialogPushButton_clicked();
    void on_dbgHidePushButton_clicked();
    void on_dbgBackupPushButton_clicked();
    void on_dbgLogEnableCheckBox_toggled(bool checked);
    void on_dbgLogClearCheckBox_toggled(bool checked);
    void on_dbgReloadStylePushButton_clicked();

private:
    // Ctrl+Alt+Shift+D typed in this window reveals both hidden panels and is
    // consumed; true for that key press only.
    bool catchHiddenOptionsKey(QObject* watched, QEvent* event);
    // The library table's current row; -1 when there is none.
    int currentLibraryRow() const;
    // Answers the texts the Italian translations lack with the Italian
    // source texts while Italian is chosen; created at the first switch.
    QTranslator* sourceTextTranslator = nullptr;

    // Transfer and memory tools
public:
    // Picks the transfer's destination folder: (parent, caption, start
    // folder) to the folder, empty when cancelled. The toolkit's folder
    // chooser unless replaced.
    using DirChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
    void setDirChooser(DirChooser chooser);
    // Copies selectedFiles into a folder of a memory and updates its index;
    // false when the folder choice was cancelled or refused.
    bool transferFiles();
private:
    // The box at the end of a transfer of `total` songs: what was copied,
    // kept or not copied and why, and the state of the memory's index.
    void showTransferReport(const MemoryTransfer::Result& transfer, int total);
    // Ejects the removable memory at `root` and says whether it can be taken out.
    void ejectMemory(const QString& root);
private slots:
    void on_transferFilesToolButton_clicked();
    void on_optimizeMemory_triggered();
    void on_actionSongsList_triggered();
private:
    DirChooser dirChooser;
};

#endif // MAINWINDOW_H
