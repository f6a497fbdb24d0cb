#ifndef APP_ABOUTDIALOG_H
#define APP_ABOUTDIALOG_H

#include <QDate>
#include <QDialog>
#include <QString>

class Ui_AboutDialog;

// The product's name, version, build date and the maker's notice.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

    // A compiler date text ("Jul 14 2015", or "Jul  4 2015" with the day
    // padded by a space) as a date; invalid when it is not one.
    static QDate parseBuildDate(const QString& compilerDate);
    // The date this program was compiled.
    static QDate buildDate();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The form's texts, then the title and the two labels the form does not hold.
    void retranslate();

    Ui_AboutDialog* ui;
};

#endif // APP_ABOUTDIALOG_H
