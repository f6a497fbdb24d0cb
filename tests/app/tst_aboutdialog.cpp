#include "app/aboutdialog.h"
#include "app/startup.h"
#include "app/version.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

// Version, build date and the maker's notice, in both languages.
class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void parseBuildDate_data();
    void parseBuildDate();
    void texts_data();
    void texts();
    void retranslatesWhileOpen();

private:
    static QString label(QWidget& d, const char* name) { return d.findChild<QLabel*>(QLatin1String(name))->text(); }
};

void TestAboutDialog::initTestCase()
{
    initAppResources();
}

void TestAboutDialog::parseBuildDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("two-digit day") << "Jul 14 2015" << QDate(2015, 7, 14);
    // The compiler pads a one-digit day with a space.
    QTest::newRow("padded day") << "Jul  4 2015" << QDate(2015, 7, 4);
    QTest::newRow("outer spaces") << " Dec 31 1999 " << QDate(1999, 12, 31);
    QTest::newRow("no such day") << "Feb 30 2015" << QDate();
    QTest::newRow("not a date") << "14/07/2015" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestAboutDialog::parseBuildDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(AboutDialog::parseBuildDate(text), expected);
}

void TestAboutDialog::texts_data()
{
    QTest::addColumn<QString>("language"); // empty: no translation installed
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("versionWord");
    QTest::addColumn<QString>("rights");

    QTest::newRow("source") << "" << "Informazioni" << "Version:" << "Tutti i diritti riservati";
    QTest::newRow("it") << "it" << "Informazioni" << "Versione:" << "Tutti i diritti riservati";
    QTest::newRow("en") << "en" << "About" << "Version:" << "All rights reserved";
}

void TestAboutDialog::texts()
{
    QFETCH(QString, language);
    QFETCH(QString, title);
    QFETCH(QString, versionWord);
    QFETCH(QString, rights);

    QTranslator appTranslator;
    QTranslator qtTranslator;
    if (!language.isEmpty())
        installTranslations(language, appTranslator, qtTranslator);

    AboutDialog d;
    QCOMPARE(d.windowTitle(), title);
    QCOMPARE(label(d, "label"), QStringLiteral("Orvalo3 Soft"));

    const QDate built = AboutDialog::buildDate();
    QVERIFY(built.isValid());
    QVERIFY(built <= QDate::currentDate() && built.year() >= 2015);
    const QString version = label(d, "versionLabel");
    QVERIFY2(version.contains(versionWord + QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; ")
                              + QLatin1String(orvalo3Version) + QStringLiteral("<br/>")),
             qPrintable(version));
    QVERIFY2(version.contains(QLocale::system().toString(built, QLocale::ShortFormat) + QStringLiteral("<br/></p>")),
             qPrintable(version));
    QVERIFY(version.contains(QStringLiteral("font-family:'Sans Serif'; font-size:12pt;")));
    QVERIFY(version.endsWith(QStringLiteral("</p></body></html>")));

    const QString info = label(d, "infoLabel");
    QVERIFY2(info.contains(rights), qPrintable(info));
    QVERIFY(info.contains(QStringLiteral("<a href=\"https://www.tavrel.it\">Tavrel</a>")));
    QVERIFY(info.contains(QStringLiteral("href=\"mailto:support@tavrel.it\"")));
    QVERIFY(info.contains(QStringLiteral("font-family:'Bitstream Vera Sans'; font-size:10pt;")));
}

void TestAboutDialog::retranslatesWhileOpen()
{
    AboutDialog d;
    QString titleThen;
    QString versionThen;
    QTranslator appTranslator;
    QTranslator qtTranslator;
    QTimer::singleShot(0, [&]() {
        installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
        QCoreApplication::processEvents();
        titleThen = d.windowTitle();
        versionThen = label(d, "versionLabel");
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(titleThen, QStringLiteral("About"));
    // The form's placeholders must not come back with the new language.
    QVERIFY2(versionThen.contains(QLatin1String(orvalo3Version)), qPrintable(versionThen));
    QVERIFY(label(d, "infoLabel").contains(QStringLiteral("All rights reserved")));
}

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
