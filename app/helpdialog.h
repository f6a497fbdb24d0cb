#ifndef APP_HELPDIALOG_H
#define APP_HELPDIALOG_H

#include <QDialog>
#include <QString>

class Ui_HelpDialog;

// The user guide, in the language of the "language" preference.
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HelpDialog(QWidget* parent = nullptr);
    ~HelpDialog() override;

    // Shows the guide chosen by the "language" preference (default "it").
    void loadHelp();
    // The guide's resource for a "language" value: the Italian page for "it"
    // only, the English page for anything else.
    static QString pageFor(const QString& language);

protected:
    void changeEvent(QEvent* event) override;

private:
    Ui_HelpDialog* ui;
};

#endif // APP_HELPDIALOG_H
