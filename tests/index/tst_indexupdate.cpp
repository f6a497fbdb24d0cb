#include "index/index.h"

#include "songimages.h"

#include <QSignalSpy>
#include <QtTest>

using namespace images;

namespace {
const QDateTime Old(QDate(2001, 1, 1), QTime(1, 1, 1));

QByteArray song(const char *title, const char *artist)
{
    return midi(meta(0x03, title) + tag(2, artist));
}

// A memory with four indexed songs, numbered 0 to 3 in this order.
void fourSongs(Memory &memory)
{
    QVERIFY(memory.add("/a/one.mid", song("One", "Zeta")));
    QVERIFY(memory.add("/a/two.mp3", mp3(id3Frame("TIT2", "Two") + id3Frame("TPE1", "Alfa"))));
    QVERIFY(memory.add("/b.mf5", mfx("_MF5", 90, "Three", true, "Zeta", "")));
    QVERIFY(memory.add("/c.kar", song("Four", "Alfa")));
    Index index;
    QVERIFY(index.createIndex(memory.root()));
}

void ageIndexFiles(const Memory &memory)
{
    for (const char *name : indexFiles) {
        QFile f(memory.file(QStringLiteral("/") + name));
        QVERIFY(f.open(QIODevice::Append) && f.setFileTime(Old, QFileDevice::FileModificationTime));
    }
}

bool indexFilesAged(const Memory &memory)
{
    for (const char *name : indexFiles) {
        if (QFileInfo(memory.file(QStringLiteral("/") + name)).lastModified() != Old)
            return false;
    }
    return true;
}

// The index files a fresh rebuild of the same memory writes.
QMap<QString, QByteArray> rebuilt(const Memory &memory)
{
    Index index;
    return index.createIndex(memory.root()) ? memory.index() : QMap<QString, QByteArray>();
}
}

class TestIndexUpdate : public QObject
{
    Q_OBJECT
private slots:
    void noChangeTouchesNothing()
    {
        Memory memory;
        fourSongs(memory);
        QVERIFY(memory.add("/Citt\u00e0/Perch\u00e9.mid", song("Citt\u00e0", "Perch\u00e9")));
        QVERIFY(Index().createIndex(memory.root()));
        const QMap<QString, QByteArray> before = memory.index();
        ageIndexFiles(memory);
        Index index;
        QVERIFY(index.updateIndex(memory.root()));
        QCOMPARE(index.songFilesRead(), 0);
        QCOMPARE(memory.index(), before);
        QVERIFY(indexFilesAged(memory));
    }

    void changesGiveTheRebuildBytes_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("filesRead");
        QTest::newRow("song 1 deleted") << "delete" << 0;
        QTest::newRow("song touched") << "touch" << 1;
        QTest::newRow("song rewritten") << "rewrite" << 1;
        QTest::newRow("accented song added") << "accented" << 1;
        QTest::newRow("song added in front") << "add" << 1;
    }
    // After an update every song carries the same bytes as after a rebuild,
    // accented texts and paths included; only the numbering of new songs
    // differs (they come last).
    void changesGiveTheRebuildBytes()
    {
        QFETCH(QString, change);
        Memory memory;
        fourSongs(memory);
        if (change == "accented") {
            QVERIFY(memory.add("/Citt\u00e0/Perch\u00e9.mid", song("Citt\u00e0", "Perch\u00e9")));
            QVERIFY(memory.add("/p.mid", song("Perch\u00e9", "Citt\u00e0")));
            QVERIFY(Index().createIndex(memory.root()));
            QVERIFY(memory.add("/z.mid", song("Zed", "\u00c9lan")));
        } else if (change == "delete") {
            QVERIFY(QFile::remove(memory.file("/a/two.mp3")));
        } else if (change == "touch") {
            QVERIFY(memory.add("/b.mf5", mfx("_MF5", 90, "Three", true, "Zeta", ""), Old));
        } else if (change == "rewrite") {
            QVERIFY(memory.add("/c.kar", song("Quattro", "Alfa"), Old));
        } else {
            QVERIFY(memory.add("/0.mid", song("New", "Beta")));
        }
        Index index;
        QVERIFY(index.updateIndex(memory.root()));
        QTEST(index.songFilesRead(), "filesRead");
        const QMap<QString, QByteArray> updated = memory.index();
        if (change == "add") {
            const QByteArray paths = updated.value("index.id3");
            QCOMPARE(paths.size(), 5 * 270);
            QCOMPARE(paths.mid(4 * 270, 11), bytes({0, 0, 0, 4}) + QByteArray("/0.mid", 7));
            QCOMPARE(updated.value("ordfile.id3"), bytes({4, 0, 0, 0, 1, 0, 2, 0, 3, 0}));
            QCOMPARE(updated.value("title.id3").mid(64, 10), bytes({0, 0, 0, 4}) + QByteArray("NEW\0\0", 6));
        } else {
            QCOMPARE(updated, rebuilt(memory));
        }
        if (change == "delete")
            QCOMPARE(updated.value("index.id3").size(), 3 * 270);
    }

    void missingFileMakesARebuild()
    {
        Memory memory;
        fourSongs(memory);
        const QMap<QString, QByteArray> before = memory.index();
        QVERIFY(QFile::remove(memory.file("/fsinfos.id3")));
        Index index;
        QVERIFY(index.updateIndex(memory.root() + "/"));
        QCOMPARE(index.songFilesRead(), 4);
        QCOMPARE(memory.index(), before);
    }

    // An empty index (all seven files present, no songs): the first song added
    // must be song 0, the number of its record.
    void updateOfAnEmptyIndexNumbersFromZero()
    {
        Memory memory;
        for (const char *name : indexFiles)
            QVERIFY(memory.add(QStringLiteral("/") + name, QByteArray()));
        QVERIFY(memory.add("/a.mid", song("A", "B")));
        Index index;
        QVERIFY(index.updateIndex(memory.root()));
        QCOMPARE(memory.index().value("index.id3").left(4), bytes({0, 0, 0, 0}));
        QCOMPARE(memory.index(), rebuilt(memory));
    }

    void damagedIndexFailsWithoutWriting_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("title names song 9") << "title.id3" << 3 << bytes({9});
        QTest::newRow("title record cut") << "title.id3" << 256 << bytes({1, 2, 3});
        QTest::newRow("artist names song 200") << "artist.id3" << 64 + 3 << bytes({200});
        QTest::newRow("path record cut") << "index.id3" << 4 * 270 << bytes({0});
        QTest::newRow("song numbers out of order") << "index.id3" << 270 + 3 << bytes({0});
        QTest::newRow("path without terminator") << "index.id3" << 4 << QByteArray(252, 'p');
    }
    void damagedIndexFailsWithoutWriting()
    {
        QFETCH(QString, file);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        Memory memory;
        fourSongs(memory);
        QVERIFY(memory.add("/new.mid", song("New", "X")));  // an update would write
        QFile f(memory.file("/" + file));
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size());
        f.close();
        const QMap<QString, QByteArray> before = memory.index();
        ageIndexFiles(memory);
        Index index;
        QVERIFY(!index.updateIndex(memory.root()));
        QCOMPARE(memory.index(), before);
        QVERIFY(indexFilesAged(memory));
    }

    // Random index files: the load either fails or yields a sound index.
    void randomIndexFilesAreSafe()
    {
        Memory memory;
        fourSongs(memory);
        const QMap<QString, QByteArray> good = memory.index();
        QRandomGenerator random(11);
        for (int round = 0; round < 200; ++round) {
            for (const char *name : {"index.id3", "title.id3", "artist.id3"}) {
                QByteArray content = good.value(name);
                for (int k = 0; k < 3; ++k)
                    content[int(random.bounded(content.size()))] = char(random.bounded(256));
                content.truncate(int(random.bounded(content.size() + 1)));
                QFile f(memory.file(QStringLiteral("/") + name));
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
            }
            Index index;
            if (index.updateIndex(memory.root()) && memory.index().value("index.id3") != good.value("index.id3")) {
                const QByteArray paths = memory.index().value("index.id3");
                for (int at = 0; at < paths.size(); at += 270)
                    QCOMPARE(paths.mid(at, 4), bytes({0, 0, (at / 270) >> 8, (at / 270) & 0xFF}));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestIndexUpdate)
#include "tst_indexupdate.moc"
