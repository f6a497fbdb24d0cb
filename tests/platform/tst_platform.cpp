#include "platform/platform.h"
#include "platform/removablememories.h"

#include <QtTest>

namespace {

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
    QTemporaryDir system;  // a made-up /proc and /sys
    QString volumes() const { return system.filePath("media/ann"); }
    QByteArray pathEnv = qgetenv("PATH");

private slots:
    void cleanupTestCase()
    {
        qunsetenv("ORVALO3_VOLUMES_DIR");
        qputenv("PATH", pathEnv);
    }

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

#ifndef Q_OS_MACOS
    // The mounts of a made-up system: sdz a removable disk (a card reader's
    // card), sda the system's disk, sdy a removable disk without partitions.
    void initTestCase()
    {
        const QString sys = system.filePath("sys");
        QVERIFY(writeFile(sys + "/devices/usb/sdz/removable", "1\n") && writeFile(sys + "/devices/usb/sdz/sdz1/partition", "1\n"));
        QVERIFY(writeFile(sys + "/devices/pci/sda/removable", "0\n") && writeFile(sys + "/devices/pci/sda/sda1/partition", "1\n"));
        QVERIFY(writeFile(sys + "/devices/usb/sdy/removable", "1\n"));
        QVERIFY(QDir().mkpath(sys + "/dev/block"));
        for (const QString link : {"8:1 usb/sdz/sdz1", "8:17 pci/sda/sda1", "8:32 usb/sdy"})
            QVERIFY(QFile::link("../../devices/" + link.section(' ', 1), sys + "/dev/block/" + link.section(' ', 0, 0)));
        QVERIFY(QDir().mkpath(volumes() + "/B-CARD") && QDir().mkpath(volumes() + "/a-key"));
        const QByteArray v = QFile::encodeName(volumes());
        QVERIFY(writeFile(system.filePath("proc/self/mountinfo"),
                          "26 1 8:17 / / rw,relatime - ext4 /dev/sda1 rw\n"
                          "30 26 8:1 / /mnt/my\\040card rw,nosuid shared:71 - vfat /dev/sdz1 rw\n"
                          "31 26 8:32 / /srv/key rw - vfat /dev/sdy rw\n"
                          "32 26 0:45 / /srv/scratch rw - tmpfs tmpfs rw\n"
                          "33 26 8:1 / /boot/efi rw - vfat /dev/sdz1 rw\n"
                          "34 26 8:1 / " + v + "/B-CARD rw - vfat /dev/sdz1 rw\n"
                          "35 26 8:17 / /home rw - ext4 /dev/sda1 rw\n"));
    }

    void removableMemories_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");  // of the removable memory holding it; empty: none
        QTest::addColumn<QString>("device");  // of that root
        QTest::newRow("folder of a memory") << "/mnt/my card/songs/pop" << "/mnt/my card" << "/dev/sdz1";
        QTest::newRow("disk without partitions") << "/srv/key" << "/srv/key" << "/dev/sdy";
        QTest::newRow("lookalike") << "/srv/keys" << "" << "";
        QTest::newRow("not a block device") << "/srv/scratch/x" << "" << "";
        QTest::newRow("system's disk") << "/home/ann" << "" << "";
        QTest::newRow("boot partition on a removable disk") << "/boot/efi" << "" << "";
        QTest::newRow("volumes folder") << "<v>/B-CARD/songs/" << "<v>/B-CARD" << "/dev/sdz1";
        QTest::newRow("volumes folder, not a mount") << "<v>/a-key" << "<v>/a-key" << "";
    }
    void removableMemories()
    {
        QFETCH(QString, path);
        QFETCH(QString, root);
        QFETCH(QString, device);
        qputenv("ORVALO3_VOLUMES_DIR", QFile::encodeName(volumes()));
        const RemovableMemories memories(system.path());
        QCOMPARE(memories.rootOf(path.replace("<v>", volumes())), root.replace("<v>", volumes()));
        QCOMPARE(memories.deviceOf(root), device);
        // The folders of the volumes folder by name, then the memories mounted elsewhere.
        QCOMPARE(memories.list(), QStringList({volumes() + "/a-key", volumes() + "/B-CARD", "/mnt/my card", "/srv/key"}));
    }

    // udisksctl is a stand-in that records its arguments and answers as the row says.
    void eject_data()
    {
        QTest::addColumn<QString>("memory");
        QTest::addColumn<QString>("script");  // empty: no udisksctl
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("calls");
        const QString fine = "exit 0";
        QTest::newRow("ejected") << "/mnt/my card" << fine << int(RemovableMemories::Ejected)
                                 << "unmount -b /dev/sdz1\npower-off -b /dev/sdz1\n";
        // Unmounted, every write is on the card: it can be taken out.
        QTest::newRow("not powered off") << "/srv/key" << "[ \"$1\" = unmount ]" << int(RemovableMemories::Ejected)
                                         << "unmount -b /dev/sdy\npower-off -b /dev/sdy\n";
        QTest::newRow("busy") << "/mnt/my card"
                              << "echo 'Error unmounting /dev/sdz1: GDBus.Error:org.freedesktop.UDisks2.Error."
                                 "DeviceBusy: Error unmounting /dev/sdz1: target is busy'; exit 1"
                              << int(RemovableMemories::Busy) << "unmount -b /dev/sdz1\n";
        QTest::newRow("refused") << "/mnt/my card" << "echo 'Not authorized to perform operation'; exit 1"
                                 << int(RemovableMemories::Failed) << "unmount -b /dev/sdz1\n";
        QTest::newRow("no block device") << volumes() + "/a-key" << fine << int(RemovableMemories::NoDevice) << "";
        QTest::newRow("no udisksctl") << "/mnt/my card" << "" << int(RemovableMemories::NoTool) << "";
    }
    void eject()
    {
        QFETCH(QString, memory);
        QFETCH(QString, script);
        QTemporaryDir bin;
        const QString calls = bin.filePath("calls");
        if (!script.isEmpty()) {
            const QString tool = bin.filePath("udisksctl");
            QVERIFY(writeFile(tool, ("#!/bin/sh\necho \"$*\" >> '" + calls + "'\n" + script + "\n").toUtf8()));
            QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("ORVALO3_VOLUMES_DIR", QFile::encodeName(volumes()));
        const RemovableMemories::Ejection ejection = RemovableMemories(system.path()).eject(memory);
        qputenv("PATH", pathEnv);
        QTEST(int(ejection.result), "result");
        QFile recorded(calls);
        recorded.open(QIODevice::ReadOnly);
        QTEST(QString::fromUtf8(recorded.readAll()), "calls");
        // What the tool said is kept when it refused.
        QCOMPARE(ejection.detail.contains("Not authorized"), QByteArray(QTest::currentDataTag()) == "refused");
    }
#endif

    void diskutilInfo_data()
    {
        QTest::addColumn<QString>("info");
        QTest::addColumn<bool>("removable");
        QTest::newRow("card") << "   Device Node:  /dev/disk4s1\n   Removable Media:           Removable\n" << true;
        QTest::newRow("external disk") << "   Removable Media:  Fixed\n   Device Location:  External\n" << true;
        QTest::newRow("internal disk") << "   Removable Media:  Fixed\n   Device Location:  Internal\n" << false;
    }
    void diskutilInfo()
    {
        QFETCH(QString, info);
        QTEST(RemovableMemories::diskutilSaysRemovable(info), "removable");
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
