#include "app/messagehandler.h"
#include "app/startup.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

// The log file and its header, the language choice, the translations, the style
// sheet and the compiled-in images; each test runs in a fresh working directory.
class TestStartup : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> workDir;

    static QByteArray readLog()
    {
        QFile f("log.txt");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { initAppResources(); }

    void init()
    {
        workDir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("expected");  // empty: not logged, no file made
        QTest::newRow("debug") << int(QtDebugMsg) << "d" << QByteArray("[05-03-2015 09:04:07]D| d\n");
        QTest::newRow("warning") << int(QtWarningMsg) << "w" << QByteArray("[05-03-2015 09:04:07]W| w\n");
        QTest::newRow("critical") << int(QtCriticalMsg) << "c" << QByteArray("[05-03-2015 09:04:07]C| c\n");
        QTest::newRow("fatal") << int(QtFatalMsg) << "f" << QByteArray("[05-03-2015 09:04:07]F| f\n");
        QTest::newRow("utf-8") << int(QtDebugMsg) << QString("Tonalit\u00e0 \u20ac")
                               << QByteArray("[05-03-2015 09:04:07]D| Tonalit\xc3\xa0 \xe2\x82\xac\n");
        QTest::newRow("multi-line") << int(QtDebugMsg) << "one\ntwo" << QByteArray("[05-03-2015 09:04:07]D| one\ntwo\n");
        QTest::newRow("info") << int(QtInfoMsg) << "i" << QByteArray();
    }

    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(QByteArray, expected);
        QCOMPARE(formatLogLine(QtMsgType(type), QDateTime(QDate(2015, 3, 5), QTime(9, 4, 7)), message), expected);
        if (type == QtFatalMsg)
            return;
        // The handler writes the same line, stamped with the current time.
        myMessageOutput(QtMsgType(type), QMessageLogContext(), message);
        const QByteArray written = readLog();
        QCOMPARE(QFile::exists("log.txt"), !expected.isEmpty());
        QVERIFY2(QRegularExpression("^\\[\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\\]").match(written).hasMatch()
                     || expected.isEmpty(), written.constData());
        QCOMPARE(written.mid(21), expected.mid(21));
    }

    void unwritableLogIsSilent()
    {
        QVERIFY(QDir().mkdir("log.txt"));  // a folder in the way: the message is lost, nothing breaks
        myMessageOutput(QtCriticalMsg, QMessageLogContext(), "lost");
        QVERIFY(QFileInfo("log.txt").isDir());
    }

    void header()
    {
        const QStringList lines = logHeaderLines();
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.at(0), QString("|%1|").arg(QString(78, '=')));
        QCOMPARE(lines.at(1), QString("V ========================  Log start  ======================================= V"));
        QVERIFY(lines.at(2).endsWith("Orvalo3 Soft") && lines.at(2).size() > 12);
        QCOMPARE(lines.at(3), QString("Version:  1.0"));
        // "Jul 14 2015 - 10:15:23"; the compiler pads a one-digit day with a space.
        QVERIFY2(QRegularExpression("^Build:    (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                    "[ 1-3]\\d \\d{4} - \\d\\d:\\d\\d:\\d\\d$").match(lines.at(4)).hasMatch(),
                 qPrintable(lines.at(4)));
        QCOMPARE(lines.at(5), QString());
    }

    void startLogging_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("clear");
        QTest::newRow("off") << false << false;
        QTest::newRow("off, clear set") << false << true;
        QTest::newRow("on, append") << true << false;
        QTest::newRow("on, clear") << true << true;
    }

    void startLogging()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, clear);
        const QByteArray previousRun("[01-01-2015 10:00:00]D| previous run\n");
        QFile f("log.txt");
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(previousRun) == previousRun.size());
        f.close();
        const QtMessageHandler previous = ::startLogging(enabled, clear);
        qDebug() << "during the run";
        qInstallMessageHandler(previous);

        QByteArray log = readLog();
        QCOMPARE(log.startsWith(previousRun), !enabled || !clear);
        log.remove(0, log.startsWith(previousRun) ? previousRun.size() : 0);
        QStringList expected = enabled ? logHeaderLines() << "during the run" : QStringList();
        for (QString& line : expected)
            line.prepend("D| ");
        QStringList lines;
        for (const QString& line : QString::fromUtf8(log).split('\n', Qt::SkipEmptyParts))
            lines << line.mid(21);
        QCOMPARE(lines, expected);
    }

    void resolveLanguage_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QLocale>("system");
        QTest::addColumn<QString>("expected");
        const QLocale italian(QLocale::Italian, QLocale::Italy);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("first start, Italian system") << "--" << italian << "it";
        QTest::newRow("first start, Italian in Switzerland") << "--" << QLocale(QLocale::Italian, QLocale::Switzerland) << "it";
        QTest::newRow("first start, German system") << "--" << german << "en";
        QTest::newRow("stored it on a German system") << "it" << german << "it";
        QTest::newRow("stored de kept") << "de" << italian << "de";
        QTest::newRow("unknown value kept") << "fr" << italian << "fr";
    }

    void resolveLanguage()
    {
        QFETCH(QString, stored);
        QFETCH(QLocale, system);
        QTEST(::resolveLanguage(stored, system), "expected");
    }

    // An application text and a toolkit text; anything but "it" shows English.
    void installTranslations_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("quit");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("it") << "it" << "Esci" << "Annulla";
        QTest::newRow("en") << "en" << "Quit" << "Cancel";
        QTest::newRow("de") << "de" << "Quit" << "Cancel";
    }

    void installTranslations()
    {
        QFETCH(QString, language);
        QTranslator appTranslator;  // leaves the application when destroyed
        QTranslator qtTranslator;
        ::installTranslations(language, appTranslator, qtTranslator);
        QTEST(QCoreApplication::translate("MainWindow", "Esci"), "quit");
        QTEST(QCoreApplication::translate("QPlatformTheme", "Cancel"), "cancel");
    }

    void styleSheet()
    {
        qApp->setStyleSheet("QWidget { color: green; }");
        QVERIFY(!applyStyleSheet(*qApp, "missing.qss"));
        QCOMPARE(qApp->styleSheet(), QString("QWidget { color: green; }"));

        QVERIFY(applyStyleSheet(*qApp, ":/style/default.qss"));
        for (const char* expected : {"#10719C", "#FFB64A", "#005173", "#CDCDCD", ":/imgs/button_open_unpressed.png",
                                     ":/imgs/button_sync_hover.png", ":/imgs/button_transfer_disabled.png"})
            QVERIFY2(qApp->styleSheet().contains(expected), expected);
        QWidget plain;
        plain.ensurePolished();
        QCOMPARE(plain.palette().color(plain.backgroundRole()), QColor("#73C6E6"));
        QCOMPARE(plain.palette().color(plain.foregroundRole()), QColor(Qt::white));
        QVERIFY(plain.font().bold());
    }

    // The buttons' images are drawn unscaled behind buttons of these sizes.
    void images()
    {
        const QList<QPair<QString, QSize>> buttons{
            {"open", QSize(540, 60)}, {"sync", QSize(321, 60)}, {"transfer", QSize(321, 60)}};
        for (const auto& button : buttons) {
            for (const char* state : {"unpressed", "hover", "disabled"}) {
                const QString name = QString(":/imgs/button_%1_%2.png").arg(button.first, state);
                QVERIFY2(QImage(name).size() == button.second, qPrintable(name));
            }
        }
        QVERIFY(!QImage(":/imgs/logo-orvalo3.png").isNull());
        QVERIFY(!QImage(":/imgs/logo-tavrel.png").isNull());
        QCOMPARE(QImage(":/imgs/logo-tavrel_512.png").size(), QSize(512, 512));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
