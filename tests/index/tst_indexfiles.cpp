#include "index/index.h"

#include "songimages.h"

#include <QSignalSpy>
#include <QtTest>

using namespace images;

namespace {
QByteArray be32(quint32 v)
{
    return bytes({int(v >> 24), int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
}

QByteArray padded(const QByteArray &text, int width)
{
    return text.left(width) + QByteArray(qMax(0, width - text.size()), '\0');
}

QByteArray songRecord(quint32 id, const QByteArray &title, int bpm = 0, int flags = 0)
{
    return be32(id) + padded(title, 58) + bytes({bpm, flags});
}

QByteArray artistHeader(int previous, int count, const QByteArray &name)
{
    return bytes({previous >> 8, previous & 0xFF, count >> 8, count & 0xFF}) + padded(name, 58) + bytes({0x00, 0xFF});
}

// A letter table with the given slots (character, offset) set.
QByteArray letters(const QList<QPair<char, quint32>> &entries)
{
    QByteArray table(256, '\xFF');
    for (const auto &slot : entries)
        table.replace(4 * (slot.first - 0x20), 4, be32(slot.second));
    return table;
}

QStringList indexedPaths(const Memory &memory)
{
    const QByteArray records = readFile(memory.file("/index.id3"));
    QStringList paths;
    for (int at = 0; at + 270 <= records.size(); at += 270)
        paths << QString::fromLatin1(records.constData() + at + 4);
    return paths;
}

QByteArray titled(const QByteArray &title, const QByteArray &artist = QByteArray())
{
    return midi(meta(0x03, title) + (artist.isEmpty() ? QByteArray() : tag(2, artist)));
}
}

class TestIndexFiles : public QObject
{
    Q_OBJECT
private slots:
    void titleFileAndLetterTable()
    {
        Memory memory;
        QVERIFY(memory.add("/a.mid", titled("Beta")));
        QVERIFY(memory.add("/b.mid", titled("alpha")));
        QVERIFY(memory.add("/c.mid", titled("9 Lives")));
        QVERIFY(memory.add("/d.mid", titled(QString::fromUtf8("\u00e9quipe").toUtf8())));
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        QCOMPARE(readFile(memory.file("/title.id3")),
                 songRecord(2, "9 LIVES") + songRecord(1, "ALPHA") + songRecord(0, "BETA")
                     + songRecord(3, "\xC9QUIPE"));
        QCOMPARE(readFile(memory.file("/atitle.id3")), letters({{'9', 0}, {'A', 64}, {'B', 128}}));
        QCOMPARE(readFile(memory.file("/fsinfos.id3")), bytes({4, 0, 1, 0}) + QByteArray(8, '\0'));
    }

    void artistGroups()
    {
        Memory memory;
        QVERIFY(memory.add("/a1.mid", titled("T3", "a")));
        QVERIFY(memory.add("/a2.mid", titled("T1", "A")));
        QVERIFY(memory.add("/a3.mid", titled("T2", "A")));
        QVERIFY(memory.add("/b1.mid", titled("U2", "B")));
        QVERIFY(memory.add("/b2.mid", titled("U1", "B")));
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        QCOMPARE(readFile(memory.file("/artist.id3")),
                 artistHeader(0, 3, "A") + songRecord(1, "T1") + songRecord(2, "T2") + songRecord(0, "T3")
                     + artistHeader(3, 2, "B") + songRecord(4, "U1") + songRecord(3, "U2"));
        QCOMPARE(readFile(memory.file("/aartist.id3")), letters({{'A', 0}, {'B', 256}}));
        QCOMPARE(readFile(memory.file("/fsinfos.id3")), bytes({5, 0, 2, 0}) + QByteArray(8, '\0'));
    }

    // 601 songs: "/x.mid" is song 300; "ordfile.id3" spans more than one block.
    void pathRecordsAndPathOrder()
    {
        Memory memory;
        QVERIFY(memory.add("/x.mid", titled("X")));
        for (int k = 0; k < 300; ++k) {
            QVERIFY(memory.add(QString("/a%1.mid").arg(k, 3, 10, QLatin1Char('0')), "none"));
            QVERIFY(memory.add(QString("/y%1.mid").arg(k, 3, 10, QLatin1Char('0')), "none"));
        }
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        const QByteArray records = readFile(memory.file("/index.id3"));
        QCOMPARE(records.size(), 601 * 270);
        QCOMPARE(records.mid(300 * 270, 11), bytes({0x00, 0x00, 0x01, 0x2C, 0x2F, 0x78, 0x2E, 0x6D, 0x69, 0x64, 0x00}));
        QCOMPARE(records.mid(300 * 270 + 11, 245), QByteArray(245, '\0'));
        QCOMPARE(records.mid(300 * 270 + 256, 14), QByteArray("20200102030405"));
        QByteArray ord;
        for (int k = 0; k < 601; ++k)
            ord += bytes({k & 0xFF, k >> 8});
        QCOMPARE(readFile(memory.file("/ordfile.id3")), ord);
    }

    void dateTempoTypeAndMarkers()
    {
        Memory memory;
        QVERIFY(memory.add("/s.mf4", mfx("_MF4", 120, "S", true, "", ""),
                           QDateTime(QDate(2009, 3, 5), QTime(7, 8, 9))));
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        QCOMPARE(readFile(memory.file("/index.id3")).mid(256), QByteArray("20090305070809"));
        QCOMPARE(readFile(memory.file("/title.id3")), songRecord(0, "S", 0x78, 0x0B));
    }

    void scanRules()
    {
        Memory memory;
        for (const char *rel : {"/SFX/s.mid", "/Bridge/b.mid", "/songs/sfx/n.mid", "/songs/a.mid", "/x.Mid",
                                "/x.midi", "/x.wav", "/noext", "/.hidden.mid", "/A/z.mid", "/b.KAR", "/c.mp3"})
            QVERIFY(memory.add(rel, "none"));
        QVERIFY(QFile::link(memory.root(), memory.file("/songs/loop")));  // must not scan for ever
        Index index;
        QSignalSpy found(&index, &Index::fileFoundChanged);
        QVERIFY(index.createIndex(memory.root() + "/"));
        QCOMPARE(indexedPaths(memory), QStringList({"/A/z.mid", "/b.KAR", "/c.mp3", "/songs/a.mid", "/x.Mid"}));
        QCOMPARE(found.count(), 5);
        QCOMPARE(found.last().at(0).toInt(), 5);
    }

    void pathLengthLimit()
    {
        Memory memory;
        const QString folder = "/" + QString(120, 'd') + "/" + QString(100, 'e') + "/";
        const QString fits = folder + QString(251 - folder.size() - 4, 'f') + ".mid";
        const QString tooLong = folder + QString(252 - folder.size() - 4, 'g') + ".mid";
        QCOMPARE(fits.size(), 251);
        QVERIFY(memory.add(fits, "none"));
        QVERIFY(memory.add(tooLong, "none"));
        Index index;
        QSignalSpy errors(&index, &Index::errorFromIndex);
        QVERIFY(index.createIndex(memory.root()));
        QCOMPARE(indexedPaths(memory), QStringList({fits}));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), "File non importato, path troppo lungo: " + memory.file(tooLong));
    }

    void progressSignals()
    {
        Memory memory;
        QVERIFY(memory.add("/a.mid", "none"));
        QVERIFY(memory.add("/b.mid", "none"));
        Index index;
        QSignalSpy max(&index, &Index::progressMaxSetup);
        QSignalSpy value(&index, &Index::progressValueChanged);
        QSignalSpy paths(&index, &Index::currentPathChanged);
        QVERIFY(index.createIndex(memory.root()));
        QList<int> values;
        for (const QList<QVariant> &args : value)
            values << args.at(0).toInt();
        QCOMPARE(values, QList<int>({0, 1, 2, 0, 10, 20, 30, 40, 50, 90, 100}));
        QCOMPARE(max.count(), 2);
        QCOMPARE(max.at(0).at(0).toInt(), 2);
        QCOMPARE(max.at(1).at(0).toInt(), 100);
        QStringList shown;
        for (const QList<QVariant> &args : paths)
            shown << args.at(0).toString();
        QCOMPARE(shown, QStringList({memory.file("/a.mid"), memory.file("/b.mid"), memory.file("/a.mid"),
                                     memory.file("/b.mid"), QString()}));
    }

    void rebuildWithoutSongsRemovesTheIndex()
    {
        Memory memory;
        for (const char *name : {"/index.id3", "/title.id3", "/genre.id3", "/temp1.id3", "/fsinfos.id3", "/sfx.id3"})
            QVERIFY(memory.add(name, "old"));
        QVERIFY(memory.add("/notes.txt", "text"));
        Index index;
        QVERIFY(!index.createIndex(memory.root()));
        QCOMPARE(QDir(memory.root()).entryList(QDir::Files), QStringList({"notes.txt", "sfx.id3"}));
    }

    void failedWriteLeavesNoHalfIndex()
    {
        Memory memory;
        QVERIFY(memory.add("/a.mid", titled("A", "B")));
        QVERIFY(QDir(memory.root()).mkdir("artist.id3"));  // cannot be opened as a file
        Index index;
        QVERIFY(!index.createIndex(memory.root()));
        QCOMPARE(QDir(memory.root()).entryList(QDir::Files), QStringList({"a.mid"}));
    }
};

QTEST_GUILESS_MAIN(TestIndexFiles)
#include "tst_indexfiles.moc"
