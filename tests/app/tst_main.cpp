#include <QProcess>
#include <QSettings>
#include <QtTest>

// Starts the real program offscreen on a German system, as a user would, in a
// temporary working directory with temporary preferences that enable the log.
class TestMain : public QObject
{
    Q_OBJECT

private slots:
    void firstStart()
    {
        QTemporaryDir work;
        QTemporaryDir config;
        const QString settingsPath = config.filePath("tavrel/orvalo3soft.conf");
        QSettings(settingsPath, QSettings::IniFormat).setValue("logenabled", true);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LC_ALL", "de_DE.UTF-8");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(work.path());
        program.start(ORVALO3SOFT_EXE, QStringList());
        QVERIFY(program.waitForStarted());

        // The first start's language reaches the store once the event loop
        // runs; the program keeps running until its window closes.
        QTRY_COMPARE_WITH_TIMEOUT(QSettings(settingsPath, QSettings::IniFormat).value("language").toString(),
                                  QString("en"), 30000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        program.waitForFinished();

        QFile log(work.filePath("log.txt"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QVERIFY(lines.size() >= 7);
        QVERIFY(lines.at(0).endsWith("D| |==============================================================================|"));
        QVERIFY(lines.at(3).endsWith("D| Version:  1.0"));
        QVERIFY(lines.at(5).endsWith("]D| "));
    }
};

QTEST_GUILESS_MAIN(TestMain)
#include "tst_main.moc"
