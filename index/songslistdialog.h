#ifndef SONGSLISTDIALOG_H
#define SONGSLISTDIALOG_H

#include <QDialog>
#include <QSettings>
#include <QString>

#include <functional>

class Ui_SongsListDialog;

// "Salva lista delle song": writes the songs indexed on a player memory to a
// ";"-separated list file, sorted by title or by artist.
class SongsListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SongsListDialog(QWidget* parent = nullptr);
    ~SongsListDialog() override;

    // The choosers: (parent, caption, start folder) to a folder, and
    // (parent, caption, start file, filter) to a file name to save; empty when
    // cancelled. The toolkit's choosers unless replaced; an empty function
    // puts the default back.
    using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
    using SaveFileChooser = std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;
    static void setFolderChooser(FolderChooser chooser);
    static void setSaveFileChooser(SaveFileChooser chooser);

public slots:
    void start();
    void browseDir();
    void browseFile();
    void initProgress(int max);
    void setProgressValue(int value);
    void on_pushButtonClose_clicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    static FolderChooser& folderChooser();
    static SaveFileChooser& saveFileChooser();
    void setSortItemTexts();

    QSettings settings;
    Ui_SongsListDialog* ui;
};

#endif // SONGSLISTDIALOG_H
