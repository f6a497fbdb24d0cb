#include "app/messagehandler.h"
#include "app/startup.h"

#include <QSettings>
#include <QtTest>

// The log file and its header, and the language choice, in a fresh working directory.
class TestStartup : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> workDir;

private slots:
    void init()
    {
        workDir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("expected"); // empty: not logged
        QTest::newRow("debug") << int(QtDebugMsg) << "d" << QByteArray("[05-03-2015 09:04:07]D| d\n");
        QTest::newRow("warning") << int(QtWarningMsg) << "w" << QByteArray("[05-03-2015 09:04:07]W| w\n");
        QTest::newRow("critical") << int(QtCriticalMsg) << "c" << QByteArray("[05-03-2015 09:04:07]C| c\n");
        QTest::newRow("fatal") << int(QtFatalMsg) << "f" << QByteArray("[05-03-2015 09:04:07]F| f\n");
        QTest::newRow("utf-8, two lines") << int(QtDebugMsg) << QString("Tonalit\u00e0\n\u20ac")
                                          << QByteArray("[05-03-2015 09:04:07]D| Tonalit\xc3\xa0\n\xe2\x82\xac\n");
        QTest::newRow("info") << int(QtInfoMsg) << "i" << QByteArray();
    }
    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QTEST(formatLogLine(QtMsgType(type), QDateTime(QDate(2015, 3, 5), QTime(9, 4, 7)), message), "expected");
    }

    // A previous run's log is appended to, cleared, or left untouched; the
    // header's six lines open every enabled run, written by the handler.
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

        QFile written("log.txt");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QByteArray log = written.readAll();
        QCOMPARE(log.startsWith(previousRun), !enabled || !clear);
        log.remove(0, log.startsWith(previousRun) ? previousRun.size() : 0);
        QStringList lines;
        for (const QString& line : QString::fromUtf8(log).split('\n', Qt::SkipEmptyParts))
            lines << line.mid(21);
        const QRegularExpression build("^D\\| Build:    [A-Z][a-z][a-z] [ 1-3]\\d \\d{4} - \\d\\d:\\d\\d:\\d\\d$");
        if (lines.size() == 7 && build.match(lines.at(4)).hasMatch() && lines.at(2).endsWith("Orvalo3 Soft"))
            lines = lines.mid(0, 2) << "name" << lines.at(3) << "build" << lines.mid(5);
        const QStringList header{"D| |" + QString(78, '=') + "|", "D| V ========================  Log start  "
            "======================================= V", "name", "D| Version:  1.0", "build", "D| ", "D| during the run"};
        QCOMPARE(lines, enabled ? header : QStringList());
    }

    void chooseLanguage_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QLocale>("system");
        QTest::addColumn<QString>("expected");
        const QLocale italian(QLocale::Italian, QLocale::Italy);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("first start, Italian system") << "--" << italian << "it";
        QTest::newRow("first start, German system") << "--" << german << "en";
        QTest::newRow("stored de kept") << "de" << italian << "de";
        QTest::newRow("unknown value kept") << "fr" << italian << "fr";
    }
    void chooseLanguage()
    {
        QFETCH(QString, stored);
        QFETCH(QLocale, system);
        QFETCH(QString, expected);
        QSettings settings("settings.ini", QSettings::IniFormat);
        QCOMPARE(::chooseLanguage(settings, stored, system), expected);
        QCOMPARE(settings.value("language").toString(), stored == "--" ? expected : QString());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
