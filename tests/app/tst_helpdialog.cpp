#include "app/helpdialog.h"
#include "app/settingskeys.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

// The user guide chosen by the "language" preference.
class TestHelpDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void pageByLanguage_data();
    void pageByLanguage();

private:
    static QSettings store()
    {
        return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    }
    static QTextEdit* page(HelpDialog& d) { return d.findChild<QTextEdit*>(QStringLiteral("textEdit")); }

    QTemporaryDir configDir;
};

void TestHelpDialog::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
}

void TestHelpDialog::init()
{
    store().clear();
}

void TestHelpDialog::pageByLanguage_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("italian");

    QTest::newRow("absent") << QVariant() << true;
    QTest::newRow("it") << QVariant("it") << true;
    QTest::newRow("en") << QVariant("en") << false;
    QTest::newRow("de") << QVariant("de") << false;
    QTest::newRow("unknown") << QVariant("fr") << false;
    QTest::newRow("case matters") << QVariant("IT") << false;
}

void TestHelpDialog::pageByLanguage()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, italian);
    if (stored.isValid())
        store().setValue(QLatin1String(SettingsKeys::language), stored);

    HelpDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Aiuto"));
    QVERIFY(page(d)->isReadOnly());
    QTextDocument* shown = page(d)->document();
    QCOMPARE(shown->metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Orvalo3 Soft - help"));
    const QString text = shown->toPlainText();
    if (italian) {
        QVERIFY(text.contains(QStringLiteral("La procedura in tre passi")));
        // The page is UTF-8: accented letters must survive.
        QVERIFY(text.contains(QStringLiteral("tonalità")));
        QVERIFY(text.contains(QStringLiteral("Applica a tutti")));
    } else {
        QVERIFY(text.contains(QStringLiteral("The procedure in three steps")));
        QVERIFY(text.contains(QStringLiteral("Apply to all")));
    }
    // Both guides name the reserved folders of the player's memory.
    for (const char* folder : {"BRIDGE", "SFX", "PLAYLIST", "songs"})
        QVERIFY2(text.contains(QLatin1String(folder)), folder);
}

QTEST_MAIN(TestHelpDialog)
#include "tst_helpdialog.moc"
