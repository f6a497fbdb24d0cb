#ifndef MAINWINDOW_DATAEDITDIALOG_H
#define MAINWINDOW_DATAEDITDIALOG_H

#include <QDialog>
#include <QStringList>

#include "songfiles/songinfo.h"

class QAbstractButton;
class QRegExpValidator;
class Ui_DataEditDialog;

// The song editor: shows one song's details for editing by hand and can mark
// the author, artist, genre or a title taken from the file name to be spread
// over every other song of the library. Result 1 for "Salva", 0 otherwise.
class DataEditDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DataEditDialog(QWidget* parent = nullptr);
    ~DataEditDialog() override;

    void setArtistsCombo(const QStringList& artists);
    void setGenresCombo(const QStringList& genres);
    // An empty item first (no key), then the keys in the given order.
    void setKeysCombo(const QStringList& keys);
    // Fills the form from a record and clears every apply-to-all choice.
    void setOtherInfo(const SongInfo& info);
    // Writes title, author, artist, genre, key, length and tempo of the form
    // into the record; its other fields stay as they are.
    void getInfo(SongInfo& info);

    bool isApplyToAllAuthor() const { return applyToAllAuthor; }
    bool isApplyToAllArtist() const { return applyToAllArtist; }
    bool isApplyToAllGenre() const { return applyToAllGenre; }
    bool isApplyToAllFname() const { return applyToAllFname; }

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_checkBoxToAllAuthor_clicked();
    void on_checkBoxToAllArtist_clicked();
    void on_checkBoxToAllGenre_clicked();
    void on_checkBoxToAllTitle_clicked();
    void on_radioButtonTitle1_clicked();
    void on_radioButtonTitle2_clicked();
    void on_exitPushButton_clicked();
    void on_savePushButton_clicked();

private:
    // Asks before a detail is spread over the whole list; a box the user
    // does not confirm is unchecked again. Returns the box's final state.
    bool confirmApplyToAll(QAbstractButton* box, const QString& question);

    Ui_DataEditDialog* ui;
    SongInfo storedInfo;
    bool applyToAllAuthor = false;
    bool applyToAllArtist = false;
    bool applyToAllGenre = false;
    bool applyToAllFname = false;
    QRegExpValidator* bpmValidator;
    QRegExpValidator* lenValidator;
};

#endif
