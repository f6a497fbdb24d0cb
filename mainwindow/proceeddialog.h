#ifndef MAINWINDOW_PROCEEDDIALOG_H
#define MAINWINDOW_PROCEEDDIALOG_H

#include <QDialog>

class Ui_ProceedDialog;

// Summary shown at the end of an import: how many files were examined and how
// many songs (of the maker's) were found, and whether to synchronise at once.
// Result 1 for "Si", 0 for "No" and for a dialog closed any other way.
class ProceedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProceedDialog(QWidget* parent = nullptr);
    ~ProceedDialog() override;

    void setFilesCount(int songs, int tavrelSongs, int unreadable);
    // False when the user ticked "Non mostrare più messaggi sul copyright".
    bool getShowAgainValue() const;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_yesPushButton_clicked();
    void on_noPushButton_clicked();

private:
    void retranslate();

    Ui_ProceedDialog* ui;
    // The counts shown, kept to rebuild the summary after a language change.
    int shownSongs = -1;
    int shownTavrelSongs = 0;
    int shownUnreadable = 0;
};

#endif
