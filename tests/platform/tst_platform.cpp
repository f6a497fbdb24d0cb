#include "platform/platform.h"

#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void init() { qputenv("ORVALO3_VOLUMES_DIR", "/Volumes"); }
    void cleanupTestCase() { qunsetenv("ORVALO3_VOLUMES_DIR"); }

    void overrideDropsTrailingSlash()
    {
        qputenv("ORVALO3_VOLUMES_DIR", "/tmp/vols/");
        QCOMPARE(Platform::volumesDir(), QString("/tmp/vols"));
    }

    void volumeRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("onVolume");
        QTest::addColumn<QString>("volumeRoot");
        QTest::addColumn<QString>("root");
        QTest::newRow("memory root") << "/Volumes/CARD" << true << "/Volumes/CARD" << "/Volumes/CARD";
        QTest::newRow("deep folder") << "/Volumes/CARD/songs/pop" << true << "/Volumes/CARD" << "/Volumes/CARD";
        QTest::newRow("volumes itself") << "/Volumes" << false << "" << "/";
        QTest::newRow("volumes with slash") << "/Volumes/" << false << "" << "/Volumes/";
        QTest::newRow("case ignored") << "/volumes/card/x" << true << "/volumes/card" << "/volumes/card";
        QTest::newRow("system disk") << "/Users/me/Music" << false << "" << "/Users/me";
        QTest::newRow("lookalike") << "/VolumesX/CARD" << false << "" << "/VolumesX/CARD";
    }
    void volumeRules()
    {
        QFETCH(QString, path);
        QFETCH(bool, onVolume);
        QFETCH(QString, volumeRoot);
        QFETCH(QString, root);
        QCOMPARE(Platform::isOnVolume(path), onVolume);
        QCOMPARE(Platform::volumeRoot(path), volumeRoot);
        QCOMPARE(Platform::rootOf(path), root);
    }

    // A Linux mount folder is deeper than "/Volumes": a memory's root is still
    // that folder plus one component.
    void deeperVolumesFolder()
    {
        qputenv("ORVALO3_VOLUMES_DIR", "/run/media/ann");
        QVERIFY(Platform::isOnVolume("/run/media/ann/CARD/songs"));
        QCOMPARE(Platform::volumeRoot("/run/media/ann/CARD/songs"), QString("/run/media/ann/CARD"));
        QCOMPARE(Platform::rootOf("/run/media/ann/CARD/songs"), QString("/run/media/ann/CARD"));
        QCOMPARE(Platform::rootOf("/run/media/ann"), QString("/run/media"));
        QVERIFY(!Platform::isOnVolume("/run/media/bob/CARD"));
    }

    void chflagsFoundOnPath()
    {
        QTemporaryDir dir;
        QFile script(dir.filePath("chflags"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 0\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8() + ":" + oldPath);
        QCOMPARE(Platform::chflagsProgram(), dir.filePath("chflags"));
        qputenv("PATH", dir.path().toUtf8());
        QCOMPARE(Platform::chflagsProgram(), dir.filePath("chflags"));
        qputenv("PATH", "/nonexistent");
        QVERIFY(Platform::chflagsProgram().isEmpty());
        qputenv("PATH", oldPath);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
