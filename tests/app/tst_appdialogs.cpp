#include "app/aboutdialog.h"
#include "app/helpdialog.h"
#include "app/settingskeys.h"
#include "app/startup.h"
#include "app/version.h"
#include "resources/appresources.h"

#include <QLabel>
#include <QSettings>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

class TestAppDialogs : public QObject
{
    Q_OBJECT
    QTemporaryDir configDir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
        initAppResources();
    }

    void parseBuildDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("two-digit day") << "Jul 14 2015" << QDate(2015, 7, 14);
        QTest::newRow("padded day") << "Jul  4 2015" << QDate(2015, 7, 4); // as the compiler writes it
        QTest::newRow("no such day") << "Feb 30 2015" << QDate();
        QTest::newRow("not a date") << "14/07/2015" << QDate();
    }
    void parseBuildDate()
    {
        QFETCH(QString, text);
        QTEST(AboutDialog::parseBuildDate(text), "expected");
    }

    // Anything but "it" shows English; the help page is UTF-8.
    void texts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts"); // about title, version word, toolkit's Cancel, help text
        QTest::newRow("it") << "it" << QStringList{"Informazioni", "Versione:", "Annulla", "tonalità"};
        QTest::newRow("en") << "en" << QStringList{"About", "Version:", "Cancel", "The procedure in three steps"};
        QTest::newRow("de") << "de" << QStringList{"About", "Version:", "Cancel", "The procedure in three steps"};
    }
    void texts()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        QTranslator appTranslator; // leaves the application when destroyed
        QTranslator qtTranslator;
        installTranslations(language, appTranslator, qtTranslator);
        QSettings(SettingsKeys::organization, SettingsKeys::application).setValue(SettingsKeys::language, language);
        AboutDialog about;
        HelpDialog help;
        const QString version = about.findChild<QLabel*>("versionLabel")->text();
        QCOMPARE(about.windowTitle(), texts[0]);
        QVERIFY(version.contains(texts[1]));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), texts[2]);
        QVERIFY(help.findChild<QTextEdit*>("textEdit")->toPlainText().contains(texts[3]));
        QVERIFY(version.contains(QLatin1String(orvalo3Version) + "<br/>"));
        QVERIFY(version.contains(QLocale::system().toString(AboutDialog::buildDate(), QLocale::ShortFormat) + "<br/>"));
    }
};

QTEST_MAIN(TestAppDialogs)
#include "tst_appdialogs.moc"
