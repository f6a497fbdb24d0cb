#include "app/settingskeys.h"
#include "app/startup.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

// Language choice, translations, style sheet and the compiled-in resources.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void resolveLanguage_data();
    void resolveLanguage();
    void chooseLanguageStoresFirstChoice_data();
    void chooseLanguageStoresFirstChoice();
    void installTranslations_data();
    void installTranslations();
    void styleSheetFromResources();
    void styleSheetDecoding();
    void styleSheetMissing();
    void images_data();
    void images();

private:
    QTemporaryDir configDir;
    QTemporaryDir workDir;
};

void TestStartup::initTestCase()
{
    // Never touch the user's real preferences.
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
}

void TestStartup::init()
{
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application)).clear();
    qApp->setStyleSheet(QString());
}

void TestStartup::resolveLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QString>("expected");

    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale swissItalian(QLocale::Italian, QLocale::Switzerland);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("first start, Italian system") << "--" << italian << "it";
    QTest::newRow("first start, Italian in Switzerland") << "--" << swissItalian << "it";
    QTest::newRow("first start, German system") << "--" << german << "en";
    QTest::newRow("first start, C locale") << "--" << QLocale::c() << "en";
    QTest::newRow("stored it on a German system") << "it" << german << "it";
    QTest::newRow("stored de kept") << "de" << italian << "de";
    QTest::newRow("unknown value kept") << "fr" << italian << "fr";
    QTest::newRow("sentinel is exact") << "-- " << italian << "-- ";
}

void TestStartup::resolveLanguage()
{
    QFETCH(QString, stored);
    QFETCH(QLocale, system);
    QFETCH(QString, expected);
    QCOMPARE(::resolveLanguage(stored, system), expected);
}

void TestStartup::chooseLanguageStoresFirstChoice_data()
{
    QTest::addColumn<bool>("storedBefore");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expectedSetting");

    QTest::newRow("never chosen") << false << "--" << "it";
    QTest::newRow("already chosen") << true << "en" << "en";
    QTest::newRow("unknown value left alone") << true << "EN" << "EN";
}

void TestStartup::chooseLanguageStoresFirstChoice()
{
    QFETCH(bool, storedBefore);
    QFETCH(QString, stored);
    QFETCH(QString, expectedSetting);
    {
        QSettings settings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
        if (storedBefore)
            settings.setValue(QStringLiteral("language"), stored);
        const StartupSettings startup = readStartupSettings(settings);
        QCOMPARE(startup.language, stored);
        chooseLanguage(settings, startup.language, QLocale(QLocale::Italian, QLocale::Italy));
    }
    // A fresh store, as at the next start, sees the stored value.
    QSettings reread(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    QCOMPARE(reread.value(QStringLiteral("language")).toString(), expectedSetting);
    QVERIFY(QFile::exists(configDir.path() + QStringLiteral("/tavrel/orvalo3soft.conf")));
}

void TestStartup::installTranslations_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("quit");          // an application text
    QTest::addColumn<QString>("copyrightMenu"); // translated in both languages
    QTest::addColumn<QString>("cancel");        // a toolkit text

    QTest::newRow("it") << "it" << "Esci" << "Mostra messaggi copyright" << "Annulla";
    QTest::newRow("en") << "en" << "Quit" << "Show copyright messages" << "Cancel";
    QTest::newRow("de shows English") << "de" << "Quit" << "Show copyright messages" << "Cancel";
    QTest::newRow("fr shows English") << "fr" << "Quit" << "Show copyright messages" << "Cancel";
    QTest::newRow("EN shows English") << "EN" << "Quit" << "Show copyright messages" << "Cancel";
    QTest::newRow("IT is not Italian") << "IT" << "Quit" << "Show copyright messages" << "Cancel";
}

void TestStartup::installTranslations()
{
    QFETCH(QString, language);
    QFETCH(QString, quit);
    QFETCH(QString, copyrightMenu);
    QFETCH(QString, cancel);

    // The translators leave the application when they are destroyed.
    QTranslator appTranslator;
    QTranslator qtTranslator;
    ::installTranslations(language, appTranslator, qtTranslator);
    QVERIFY(!appTranslator.isEmpty());
    QCOMPARE(qtTranslator.isEmpty(), language != QLatin1String("it"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "Esci"), quit);
    QCOMPARE(QCoreApplication::translate("MainWindow", "Messaggi Copyright"), copyrightMenu);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
}

void TestStartup::styleSheetFromResources()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    const QString sheet = qApp->styleSheet();
    for (const char* expected : {"#73C6E6", "#10719C", "#FFB64A", "#005173", "#CDCDCD",
                                 ":/imgs/button_open_unpressed.png", ":/imgs/button_sync_hover.png",
                                 ":/imgs/button_transfer_disabled.png"})
        QVERIFY2(sheet.contains(QLatin1String(expected)), expected);

    QWidget plain;
    plain.ensurePolished();
    QCOMPARE(plain.palette().color(plain.backgroundRole()), QColor(QStringLiteral("#73C6E6")));
    QCOMPARE(plain.palette().color(plain.foregroundRole()), QColor(Qt::white));
    QVERIFY(plain.font().bold());
}

void TestStartup::styleSheetDecoding()
{
    QVERIFY(workDir.isValid());
    const QString path = workDir.filePath(QStringLiteral("nul.qss"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("/* \xe0 */ QWidget { color: red; }\0QWidget { color: blue; }", 57));
    f.close();
    QVERIFY(applyStyleSheet(*qApp, path));
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8("/* \xc3\xa0 */ QWidget { color: red; }"));
}

void TestStartup::styleSheetMissing()
{
    qApp->setStyleSheet(QStringLiteral("QWidget { color: green; }"));
    QVERIFY(!applyStyleSheet(*qApp, workDir.filePath(QStringLiteral("missing.qss"))));
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QWidget { color: green; }"));
}

void TestStartup::images_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");

    // The buttons' images are drawn unscaled behind buttons of these sizes.
    for (const char* state : {"unpressed", "hover", "disabled"}) {
        QTest::addRow("open %s", state) << QStringLiteral("button_open_%1").arg(QLatin1String(state)) << QSize(540, 60);
        QTest::addRow("sync %s", state) << QStringLiteral("button_sync_%1").arg(QLatin1String(state)) << QSize(321, 60);
        QTest::addRow("transfer %s", state) << QStringLiteral("button_transfer_%1").arg(QLatin1String(state))
                                            << QSize(321, 60);
    }
    QTest::newRow("product logo") << "logo-orvalo3" << QSize();
    QTest::newRow("maker logo") << "logo-tavrel" << QSize();
    QTest::newRow("about logo") << "logo-tavrel_512" << QSize(512, 512);
}

void TestStartup::images()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image(QStringLiteral(":/imgs/") + name + QStringLiteral(".png"));
    QVERIFY(!image.isNull());
    if (size.isValid())
        QCOMPARE(image.size(), size);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
