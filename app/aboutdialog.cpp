#include "app/aboutdialog.h"
#include "ui_aboutdialog.h"

#include "app/version.h"

#include <QEvent>
#include <QLocale>

namespace {

// Rich text around the labels' contents; the two labels differ in font only.
QString richText(const QString& bodyFont, const QString& content)
{
    return QStringLiteral(
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
               "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
               "p, li { white-space: pre-wrap; }\n"
               "</style></head><body style=\" %1 font-weight:400; font-style:normal;\">\n"
               "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
               "-qt-block-indent:0; text-indent:0px;\">")
               .arg(bodyFont)
        + content + QStringLiteral("</p></body></html>");
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_AboutDialog)
{
    ui->setupUi(this);
    retranslate();
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

QDate AboutDialog::parseBuildDate(const QString& compilerDate)
{
    return QLocale(QStringLiteral("en_US")).toDate(compilerDate.simplified(), QStringLiteral("MMM d yyyy"));
}

QDate AboutDialog::buildDate()
{
    return parseBuildDate(QStringLiteral(__DATE__));
}

void AboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AboutDialog::retranslate()
{
    ui->retranslateUi(this);
    setWindowTitle(tr("Informazioni"));

    const QString date = QLocale::system().toString(buildDate(), QLocale::ShortFormat);
    ui->versionLabel->setText(richText(
        QStringLiteral("font-family:'Sans Serif'; font-size:12pt;"),
        tr("Version:&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; %1<br/>Build date: %2<br/>")
            .arg(QLatin1String(orvalo3Version), date)));
    ui->infoLabel->setText(richText(
        QStringLiteral("font-family:'Bitstream Vera Sans'; font-size:10pt;"),
        tr("&copy; 2015 <a href=\"https://www.tavrel.it\">Tavrel</a>. Tutti i diritti riservati.<br/>"
           "Orvalo3 e Orvalo3 Soft sono marchi di Tavrel.<br/>"
           "Assistenza: <a href=\"mailto:support@tavrel.it\">support@tavrel.it</a>")));
}
