#include "platform/platform.h"

#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase() { qunsetenv("ORVALO3_VOLUMES_DIR"); }

    void volumeRules_data()
    {
        QTest::addColumn<QString>("volumes"); // a memory root: this folder plus one component
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("volumeRoot"); // empty: not on a memory
        QTest::addColumn<QString>("root");
        const QString v = "/Volumes", linux = "/run/media/ann/";
        QTest::newRow("memory root") << v << "/Volumes/CARD" << "/Volumes/CARD" << "/Volumes/CARD";
        QTest::newRow("deep folder") << v << "/Volumes/CARD/songs/pop" << "/Volumes/CARD" << "/Volumes/CARD";
        QTest::newRow("volumes itself") << v << "/Volumes" << "" << "/";
        QTest::newRow("volumes with slash") << v << "/Volumes/" << "" << "/Volumes/";
        QTest::newRow("case ignored") << v << "/volumes/card/x" << "/volumes/card" << "/volumes/card";
        QTest::newRow("system disk") << v << "/Users/me/Music" << "" << "/Users/me";
        QTest::newRow("lookalike") << v << "/VolumesX/CARD" << "" << "/VolumesX/CARD";
        QTest::newRow("Linux memory") << linux << "/run/media/ann/CARD/songs" << "/run/media/ann/CARD"
                                      << "/run/media/ann/CARD";
        QTest::newRow("Linux folder itself") << linux << "/run/media/ann" << "" << "/run/media";
    }
    void volumeRules()
    {
        QFETCH(QString, volumes);
        QFETCH(QString, path);
        QFETCH(QString, volumeRoot);
        QFETCH(QString, root);
        qputenv("ORVALO3_VOLUMES_DIR", volumes.toUtf8());
        QVERIFY(!Platform::volumesDir().endsWith('/'));
        QCOMPARE(Platform::isOnVolume(path), !volumeRoot.isEmpty());
        QCOMPARE(Platform::volumeRoot(path), volumeRoot);
        QCOMPARE(Platform::rootOf(path), root);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
