#ifndef MAINWINDOW_NOCOPYRIGHTDIALOG_H
#define MAINWINDOW_NOCOPYRIGHTDIALOG_H

#include <QDialog>
#include <QString>

class Ui_NoCopyrightDialog;

// The yes / yes all / no / no all question. exec() gives 0 ("Si"),
// 1 ("Si tutti"), 2 ("No") or 3 ("No tutti"); Escape and the window's close
// button mean "No" (2): a question left unanswered changes nothing. Callers
// keep the "all" answers themselves.
class NoCopyrightDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NoCopyrightDialog(QWidget* parent = nullptr);
    ~NoCopyrightDialog() override;

    void setFilename(QString name);
    void setMessage(QString text);
    void setYesNoOnly(bool only);

    // Escape and the window's close button: "No".
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_yesPushButton_clicked();
    void on_yesAllPushButton_clicked();
    void on_noPushButton_clicked();
    void on_noAllPushButton_clicked();

private:
    Ui_NoCopyrightDialog* ui;
    bool yesNoOnly = false;
    // Kept so a language change does not bring the form's placeholders back.
    QString fileName;
    QString message;
};

#endif // MAINWINDOW_NOCOPYRIGHTDIALOG_H
