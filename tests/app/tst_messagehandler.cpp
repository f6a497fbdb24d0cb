#include "app/messagehandler.h"
#include "app/startup.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The log file, its line format and the header, each run in a fresh
// temporary working directory.
class TestMessageHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineFormat_data();
    void lineFormat();
    void debugStreamComposition();
    void unwritableLogIsSilent();
    void header();
    void startLogging_data();
    void startLogging();
    void fatalEndsProcess_data();
    void fatalEndsProcess();

private:
    static QByteArray readLog() {
        QFile f(QStringLiteral("log.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeLog(const QByteArray& data) {
        QFile f(QStringLiteral("log.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

    QTemporaryDir* dir = nullptr;
    QString previousDir;
    QtMessageHandler previousHandler = nullptr;
};

static const QString timestampPattern = QStringLiteral("\\[\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\\]");

void TestMessageHandler::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
    previousHandler = nullptr;
}

void TestMessageHandler::cleanup()
{
    if (previousHandler)
        qInstallMessageHandler(previousHandler);
    QDir::setCurrent(previousDir);
    delete dir;
    dir = nullptr;
}

void TestMessageHandler::lineFormat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("debug") << int(QtDebugMsg) << "DB initialized correctly"
                           << QByteArray("[05-03-2015 09:04:07]D| DB initialized correctly\n");
    QTest::newRow("warning") << int(QtWarningMsg) << "w" << QByteArray("[05-03-2015 09:04:07]W| w\n");
    QTest::newRow("critical") << int(QtCriticalMsg) << "c" << QByteArray("[05-03-2015 09:04:07]C| c\n");
    QTest::newRow("fatal") << int(QtFatalMsg) << "f" << QByteArray("[05-03-2015 09:04:07]F| f\n");
    QTest::newRow("utf-8") << int(QtDebugMsg) << QString::fromUtf8("Tonalità Ré €")
                           << QByteArray("[05-03-2015 09:04:07]D| Tonalit\xc3\xa0 R\xc3\xa9 \xe2\x82\xac\n");
    // Only the first line of a multi-line message carries the timestamp.
    QTest::newRow("multi-line") << int(QtDebugMsg) << "one\ntwo"
                                << QByteArray("[05-03-2015 09:04:07]D| one\ntwo\n");
    QTest::newRow("empty") << int(QtDebugMsg) << "" << QByteArray("[05-03-2015 09:04:07]D| \n");
    QTest::newRow("info") << int(QtInfoMsg) << "i" << QByteArray();
}

void TestMessageHandler::lineFormat()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QByteArray, expected);
    const QDateTime when(QDate(2015, 3, 5), QTime(9, 4, 7));
    QCOMPARE(formatLogLine(QtMsgType(type), when, message), expected);

    // The handler writes the same line, stamped with the current time.
    if (type != QtFatalMsg) {
        myMessageOutput(QtMsgType(type), QMessageLogContext(), message);
        const QByteArray written = readLog();
        if (expected.isEmpty()) {
            // A type that is not logged does not even create the file.
            QVERIFY(!QFile::exists(QStringLiteral("log.txt")));
        } else {
            const QRegularExpression re(QStringLiteral("^") + timestampPattern + QStringLiteral("$"));
            QVERIFY2(re.match(QString::fromUtf8(written.left(21))).hasMatch(), written.constData());
            QCOMPARE(written.mid(21), expected.mid(21));
        }
    }
}

void TestMessageHandler::debugStreamComposition()
{
    previousHandler = qInstallMessageHandler(myMessageOutput);
    qDebug() << "[Database::init] Created temporary db file: " << QStringLiteral("/tmp/x y.db");
    qDebug() << "Song Index: " << 3;
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;

    const QList<QByteArray> lines = readLog().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0).mid(21), QByteArray("D| [Database::init] Created temporary db file:  \"/tmp/x y.db\""));
    QCOMPARE(lines.at(1).mid(21), QByteArray("D| Song Index:  3"));
}

void TestMessageHandler::unwritableLogIsSilent()
{
    // A folder in the way of "log.txt": the message is lost, nothing breaks.
    QVERIFY(QDir().mkdir(QStringLiteral("log.txt")));
    myMessageOutput(QtDebugMsg, QMessageLogContext(), QStringLiteral("lost"));
    myMessageOutput(QtCriticalMsg, QMessageLogContext(), QStringLiteral("lost too"));
    QVERIFY(QFileInfo(QStringLiteral("log.txt")).isDir());
}

void TestMessageHandler::header()
{
    const QStringList lines = logHeaderLines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(0), QStringLiteral("|==============================================================================|"));
    QCOMPARE(lines.at(1), QStringLiteral("V ========================  Log start  ======================================= V"));
    QCOMPARE(lines.at(0).size(), 80);
    QCOMPARE(lines.at(1).size(), 80);
    QVERIFY(lines.at(2).endsWith(QStringLiteral("Orvalo3 Soft")));
    QVERIFY(lines.at(2).size() > QStringLiteral("Orvalo3 Soft").size());
    QCOMPARE(lines.at(3), QStringLiteral("Version:  1.0"));
    // "Jul 14 2015 - 10:15:23"; the compiler pads a one-digit day with a space.
    const QRegularExpression build(QStringLiteral("^Build:    (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                  "[ 1-3]\\d \\d{4} - \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY2(build.match(lines.at(4)).hasMatch(), qPrintable(lines.at(4)));
    QCOMPARE(lines.at(5), QString());
}

void TestMessageHandler::startLogging_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<bool>("previousRunKept");
    QTest::addColumn<bool>("headerWritten");

    QTest::newRow("off") << false << false << true << false;
    QTest::newRow("off, clear set") << false << true << true << false;
    QTest::newRow("on, append") << true << false << true << true;
    QTest::newRow("on, clear") << true << true << false << true;
}

void TestMessageHandler::startLogging()
{
    QFETCH(bool, enabled);
    QFETCH(bool, clear);
    QFETCH(bool, previousRunKept);
    QFETCH(bool, headerWritten);

    const QByteArray previousRun("[01-01-2015 10:00:00]D| previous run\n");
    writeLog(previousRun);
    const QDateTime before = QFileInfo(QStringLiteral("log.txt")).lastModified();

    previousHandler = ::startLogging(enabled, clear);
    qDebug() << "during the run";
    qWarning() << "a warning";
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;

    QByteArray log = readLog();
    if (!enabled) {
        QCOMPARE(log, previousRun);
        QCOMPARE(QFileInfo(QStringLiteral("log.txt")).lastModified(), before);
        return;
    }
    QCOMPARE(log.startsWith(previousRun), previousRunKept);
    if (previousRunKept)
        log.remove(0, previousRun.size());

    const QList<QByteArray> lines = log.split('\n');
    QCOMPARE(lines.size(), headerWritten ? 6 + 2 + 1 : 2 + 1);
    const QStringList header = logHeaderLines();
    const QRegularExpression stamp(QStringLiteral("^") + timestampPattern + QStringLiteral("$"));
    for (int i = 0; i < 6; ++i) {
        QVERIFY(stamp.match(QString::fromUtf8(lines.at(i).left(21))).hasMatch());
        QCOMPARE(QString::fromUtf8(lines.at(i).mid(21)), QStringLiteral("D| ") + header.at(i));
    }
    QVERIFY(lines.at(6).endsWith("D| during the run"));
    QVERIFY(lines.at(7).endsWith("W| a warning"));
}

void TestMessageHandler::fatalEndsProcess_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("expectedLog");

    QTest::newRow("logging") << "log" << QByteArray("D| before the end\n" "F| the end\n");
    QTest::newRow("silent") << "silent" << QByteArray();
}

void TestMessageHandler::fatalEndsProcess()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, expectedLog);

    QProcess helper;
    helper.setWorkingDirectory(dir->path());
    helper.start(QStringLiteral(LOGFATAL_HELPER), {mode});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

    QByteArray stripped;
    for (const QByteArray& line : readLog().split('\n'))
        if (!line.isEmpty())
            stripped += line.mid(21) + '\n';
    QCOMPARE(stripped, expectedLog);
    if (expectedLog.isEmpty())
        QVERIFY(!QFile::exists(QStringLiteral("log.txt")));
}

QTEST_GUILESS_MAIN(TestMessageHandler)
#include "tst_messagehandler.moc"
