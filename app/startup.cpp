#include "app/startup.h"

#include "app/messagehandler.h"
#include "app/settingskeys.h"
#include "app/version.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

StartupSettings readStartupSettings(const QSettings& settings)
{
    StartupSettings s;
    s.language = settings.value(QLatin1String(SettingsKeys::language), QLatin1String(SettingsKeys::languageUnset)).toString();
    s.logEnabled = settings.value(QLatin1String(SettingsKeys::logEnabled), false).toBool();
    s.logClear = settings.value(QLatin1String(SettingsKeys::logClear), false).toBool();
    return s;
}

QString buildStamp()
{
    return QStringLiteral(__DATE__ " - " __TIME__);
}

QStringList logHeaderLines()
{
    return {
        QStringLiteral("|") + QString(78, QLatin1Char('=')) + QStringLiteral("|"),
        QStringLiteral("V ") + QString(24, QLatin1Char('=')) + QStringLiteral("  Log start  ")
            + QString(39, QLatin1Char('=')) + QStringLiteral(" V"),
        QStringLiteral("Tavrel(R) Orvalo3 Soft"),
        QStringLiteral("Version:  ") + QLatin1String(orvalo3Version),
        QStringLiteral("Build:    ") + buildStamp(),
        QString(),
    };
}

QtMessageHandler startLogging(bool enabled, bool clear)
{
    if (!enabled)
        return qInstallMessageHandler(dummyMessageOutput);

    if (clear && QFile::exists(QStringLiteral("log.txt")))
        QFile::remove(QStringLiteral("log.txt"));
    const QtMessageHandler previous = qInstallMessageHandler(myMessageOutput);
    for (const QString& line : logHeaderLines())
        qDebug().noquote() << line;
    return previous;
}

QString resolveLanguage(const QString& stored, const QLocale& system)
{
    if (stored != QLatin1String(SettingsKeys::languageUnset))
        return stored;
    return QLocale::languageToString(system.language()) == QLatin1String("Italian") ? QStringLiteral("it")
                                                                                    : QStringLiteral("en");
}

QString chooseLanguage(QSettings& settings, const QString& stored, const QLocale& system)
{
    const QString language = resolveLanguage(stored, system);
    if (stored == QLatin1String(SettingsKeys::languageUnset))
        settings.setValue(QLatin1String(SettingsKeys::language), language);
    return language;
}

void installTranslations(const QString& language, QTranslator& appTranslator, QTranslator& qtTranslator)
{
    if (language == QLatin1String("it")) {
        appTranslator.load(QStringLiteral(":/trans/orvalo3soft_it"));
        qtTranslator.load(QStringLiteral(":/trans/qt_it"));
        QCoreApplication::installTranslator(&appTranslator);
        QCoreApplication::installTranslator(&qtTranslator);
        return;
    }
    // "en", "de" (no German translation exists) and any unknown value.
    appTranslator.load(QStringLiteral(":/trans/orvalo3soft_en"));
    QCoreApplication::installTranslator(&appTranslator);
}
