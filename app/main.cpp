#include "app/settingskeys.h"
#include "app/startup.h"
#include "app/stylesheet.h"
#include "mainwindow/mainwindow.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

int main(int argc, char** argv)
{
    // Preferences, message handler and log header come before the
    // application object, so the whole run is logged.
    QSettings settings(QString::fromLatin1(SettingsKeys::organization), QString::fromLatin1(SettingsKeys::application));
    const StartupSettings startup = readStartupSettings(settings);
    startLogging(startup.logEnabled, startup.logClear);

    QApplication app(argc, argv);
    initAppResources();

    QTranslator appTranslator;
    QTranslator qtTranslator;
    const QString language = chooseLanguage(settings, startup.language, QLocale::system());
    installTranslations(language, appTranslator, qtTranslator);

    applyStyleSheet(app, QStringLiteral(":/style/default.qss"));

    MainWindow window;
    window.show();
    return app.exec();
}
