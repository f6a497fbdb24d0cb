#ifndef MAINWINDOW_BACKUPDIALOG_H
#define MAINWINDOW_BACKUPDIALOG_H

#include <QDialog>
#include <QString>

#include <functional>

class Ui_BackupDialog;

// The backup offer shown before a synchronisation. exec() gives 0 for
// "Annulla" (also the window's close button and Escape), 1 for
// "Esegui backup" (possible only once a folder was chosen) and 2 for
// "Prosegui senza backup".
class BackupDialog : public QDialog
{
    Q_OBJECT

public:
    // Asks for a folder (parent, caption, start folder); an empty answer
    // means the user cancelled.
    using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;

    explicit BackupDialog(QWidget* parent = nullptr);
    ~BackupDialog() override;

    QString directory() const;

    // Replaces the folder chooser (the toolkit's directory dialog) for every
    // later BackupDialog; an empty function restores the toolkit's dialog.
    static void setFolderChooser(FolderChooser chooser);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void on_browsePushButton_clicked();
    void on_abortPushButton_clicked();
    void on_doBackupPushButton_clicked();
    void on_exitPushButton_clicked();

private:
    static FolderChooser& folderChooser();

    Ui_BackupDialog* ui;
    QString m_directory;
};

#endif // MAINWINDOW_BACKUPDIALOG_H
