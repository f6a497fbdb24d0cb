#ifndef INDEXDIALOG_H
#define INDEXDIALOG_H

#include <QDialog>
#include <QMessageBox>
#include <QSettings>
#include <QString>

#include <functional>

class Ui_IndexDialog;

// "Ottimizza memoria": updates or rebuilds the index of a player memory,
// showing the files found, the file looked at and a report of the errors.
class IndexDialog : public QDialog
{
    Q_OBJECT

public:
    explicit IndexDialog(QWidget* parent = nullptr);
    ~IndexDialog() override;

    // The memory root of a path below the volumes folder (the volumes folder
    // plus the volume name); empty for any other path.
    QString getRootDrivePath(QString path);
    void clearIndexErrors();

    // Picks a folder: (parent, caption, start folder) to the chosen folder,
    // empty when cancelled. The toolkit's folder chooser unless replaced;
    // an empty chooser puts it back.
    using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
    static void setFolderChooser(FolderChooser chooser);

public slots:
    void start(bool checkRoot);
    void errorFromIndexReceived(QString message);
    // Shown in the report without making the run count as failed.
    void warningFromIndexReceived(QString message);
    void updateLabelCurrPath(QString path);
    void updateLabelNum(int num);
    void initProgress(int max);
    void setProgressValue(int value);
    void browseDir();
    void on_pushButtonClose_clicked();
    void on_radioButtonUpdate_clicked();
    void on_radioButtonRebuild_clicked();
    // Escape and the window frame do not close the dialog during a run.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static FolderChooser& folderChooser();
    // The run's final box; with a memory, it offers to eject it.
    void showResult(QMessageBox::Icon icon, const QString& text, const QString& memory);

    QSettings settings;
    Ui_IndexDialog* ui;
    int errorCount = 0;
    bool running = false;
};

#endif // INDEXDIALOG_H
