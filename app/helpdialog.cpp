#include "app/helpdialog.h"
#include "ui_helpdialog.h"

#include "app/settingskeys.h"

#include <QEvent>
#include <QFile>
#include <QSettings>

HelpDialog::HelpDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui_HelpDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Aiuto"));
    loadHelp();
}

HelpDialog::~HelpDialog()
{
    delete ui;
}

QString HelpDialog::pageFor(const QString& language)
{
    return language == QLatin1String("it") ? QStringLiteral(":/help/help_it.html")
                                           : QStringLiteral(":/help/help_en.html");
}

void HelpDialog::loadHelp()
{
    const QSettings settings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    QFile page(pageFor(settings.value(QLatin1String(SettingsKeys::language), QStringLiteral("it")).toString()));
    if (!page.open(QIODevice::ReadOnly))
        return;
    QByteArray html = page.readAll();
    page.close();
    const int nul = html.indexOf('\0');
    if (nul >= 0)
        html.truncate(nul);
    // The pages are UTF-8, as their meta tag says.
    ui->textEdit->setHtml(QString::fromUtf8(html));
}

void HelpDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setWindowTitle(tr("Aiuto"));
        // The language actions store the new language before switching, so
        // the guide follows the interface.
        loadHelp();
    }
    QDialog::changeEvent(event);
}
