#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Starts the real program offscreen, as a user would, in a temporary working
// directory and with temporary preferences, and looks at what the start left.
class TestMain : public QObject
{
    Q_OBJECT

private slots:
    void firstStart_data();
    void firstStart();
};

void TestMain::firstStart_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("logClear");
    QTest::addColumn<QString>("expectedLanguage");

    QTest::newRow("Italian system, log cleared") << "it_IT.UTF-8" << true << "it";
    QTest::newRow("German system, log appended") << "de_DE.UTF-8" << false << "en";
}

void TestMain::firstStart()
{
    QFETCH(QString, locale);
    QFETCH(bool, logClear);
    QFETCH(QString, expectedLanguage);

    QTemporaryDir work;
    QTemporaryDir config;
    QVERIFY(work.isValid() && config.isValid());
    const QString settingsPath = config.filePath(QStringLiteral("tavrel/orvalo3soft.conf"));
    {
        QSettings settings(settingsPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("logenabled"), true);
        settings.setValue(QStringLiteral("logclear"), logClear);
    }
    const QByteArray previousRun("[01-01-2015 10:00:00]D| previous run\n");
    {
        QFile log(work.filePath(QStringLiteral("log.txt")));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(previousRun);
    }

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work.path());
    program.start(QStringLiteral(ORVALO3SOFT_EXE), QStringList());
    QVERIFY(program.waitForStarted());

    // The language chosen at the first start reaches the store once the
    // event loop runs; the program keeps running until its window closes.
    QString language;
    QElapsedTimer timer;
    timer.start();
    while (language.isEmpty() && timer.elapsed() < 30000) {
        QTest::qWait(100);
        language = QSettings(settingsPath, QSettings::IniFormat).value(QStringLiteral("language")).toString();
    }
    QCOMPARE(language, expectedLanguage);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();

    QFile log(work.filePath(QStringLiteral("log.txt")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QByteArray content = log.readAll();
    QCOMPARE(content.startsWith(previousRun), !logClear);
    if (!logClear)
        content.remove(0, previousRun.size());
    const QList<QByteArray> lines = content.split('\n');
    QVERIFY(lines.size() >= 7);
    QVERIFY(lines.at(0).endsWith("D| |==============================================================================|"));
    QVERIFY(lines.at(3).endsWith("D| Version:  1.0"));
    QVERIFY(lines.at(5).endsWith("]D| "));
}

QTEST_GUILESS_MAIN(TestMain)
#include "tst_main.moc"
