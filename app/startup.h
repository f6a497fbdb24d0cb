#ifndef STARTUP_H
#define STARTUP_H

// The steps of the program's start, one function each, so that main() reads
// as the list of steps and every step can be tested on its own.

#include <QtGlobal>
#include <QString>
#include <QStringList>

class QLocale;
class QSettings;
class QTranslator;

struct StartupSettings
{
    QString language;  // "--" when never chosen
    bool logEnabled = false;
    bool logClear = false;
};

// Reads "language" (default "--"), "logenabled" and "logclear" (default false).
StartupSettings readStartupSettings(const QSettings& settings);

// With logging enabled: deletes "log.txt" of the current directory when
// `clear` is set, installs myMessageOutput and writes the log header.
// Otherwise installs dummyMessageOutput and touches no file.
// Returns the handler installed before.
QtMessageHandler startLogging(bool enabled, bool clear);

// The six header lines written at start when logging is enabled.
QStringList logHeaderLines();

// The compiler's date and time of this build, "Jul 14 2015 - 10:15:23".
QString buildStamp();

// The language for a stored "language" value: "--" (never chosen) becomes
// "it" when the system language is Italian and "en" otherwise; any other
// value is kept as it is.
QString resolveLanguage(const QString& stored, const QLocale& system);

// resolveLanguage(), storing the choice when it was made just now.
QString chooseLanguage(QSettings& settings, const QString& stored, const QLocale& system);

// Loads and installs the translations for `language`: "it" installs the
// Italian application and toolkit translations, anything else the English
// application translation. A translation that fails to load is installed all
// the same and translates nothing.
void installTranslations(const QString& language, QTranslator& appTranslator, QTranslator& qtTranslator);

#endif // STARTUP_H
