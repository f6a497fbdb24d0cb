// orvalo3soft-cli: the program's workflows from a terminal.
#include "app/settingskeys.h"
#include "app/startup.h"
#include "cli/commandline.h"
#include "cli/console.h"
#include "resources/appresources.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

int main(int argc, char** argv)
{
    // The window's preferences: its log and its language. A language never
    // chosen follows the system's, as at the window's first start, but only
    // the window stores that choice.
    QSettings settings(QString::fromLatin1(SettingsKeys::organization), QString::fromLatin1(SettingsKeys::application));
    const StartupSettings startup = readStartupSettings(settings);
    startLogging(startup.logEnabled, startup.logClear);

    QCoreApplication app(argc, argv);
    initAppResources();

    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(resolveLanguage(startup.language, QLocale::system()), appTranslator, qtTranslator);

    Console console;
    return CommandLine(console).run(app.arguments().mid(1));
}
