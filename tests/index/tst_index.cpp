#include "index/index.h"

#include "songimages.h"

#include <QSignalSpy>
#include <QtTest>

using namespace images;

namespace {
QByteArray tempo(quint32 usPerQuarter) { return meta(0x51, be32(usPerQuarter).mid(1)); }

QByteArray padded(const QByteArray &text, int width) { return text + QByteArray(width - text.size(), '\0'); }

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

// The indexed paths in the order "ordfile.id3" gives.
QStringList orderedPaths(const Memory &memory)
{
    const QByteArray records = readFile(memory.file("/index.id3"));
    const QByteArray ord = readFile(memory.file("/ordfile.id3"));
    QStringList paths;
    for (int at = 0; at + 1 < ord.size(); at += 2) {
        const int id = quint8(ord[at]) | quint8(ord[at + 1]) << 8;
        paths << QString::fromLatin1(records.mid(id * 270 + 4, 252).constData());
    }
    return paths;
}

QByteArray titled(const QByteArray &title, const QByteArray &artist) { return midi(meta(0x03, title) + tag(2, artist)); }

const QDateTime Old(QDate(2001, 1, 1), QTime(1, 1, 1));

bool patch(const Memory &memory, const QString &rel, int offset, const QByteArray &bytes)
{
    QFile f(memory.file(rel));
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// Dates the index files back to Old first when `set`; tells whether all carry Old.
bool aged(const Memory &memory, bool set)
{
    for (const char *name : indexFiles) {
        QFile f(memory.file(QStringLiteral("/") + name));
        if (set && !(f.open(QIODevice::Append) && f.setFileTime(Old, QFileDevice::FileModificationTime)))
            return false;
        if (QFileInfo(f).lastModified() != Old)
            return false;
    }
    return true;
}
}

class TestIndex : public QObject
{
    Q_OBJECT
private slots:
    // Expected: result|title|artist|genre|type|bpm|markers.
    void readsSongFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mp3 tag") << "a.mp3"
            << mp3(id3Frame("TPE1", "Mina") + id3Frame("TIT2", "Grande grande") + id3Frame("TCON", " pop "))
            << "1|GRANDE GRANDE|MINA|POP|1|0|0";
        QTest::newRow("mp3 without tag") << "Song One.Mp3" << QByteArray(700, '\x55')
                                         << "1|SONG ONE.MP3|<UNKNOWN>|<UNKNOWN>|1|0|0";
        QTest::newRow("mp3 title beyond byte 512") << "late.mp3"
            << mp3(id3Frame("PRIV", QByteArray(520, 'x')) + id3Frame("TIT2", "Late"))
            << "1|LATE.MP3|<UNKNOWN>|<UNKNOWN>|1|0|0";
        QTest::newRow("mp3 empty frame") << "e.mp3" << mp3(QByteArray("TIT2\0\0\0\0\0\0", 10) + id3Frame("TPE1", "X"))
                                         << "1||X|<UNKNOWN>|1|0|0";
        QTest::newRow("midi tags") << "t.mid"
            << midi(tempo(500000) + meta(0x03, "Volare") + tag(2, "Modugno") + tag(1, "Pop") + meta(0x06, "Intro"))
            << "1|VOLARE|MODUGNO|POP|0|120|1";
        QTest::newRow("tempo 300 bpm kept in 8 bits") << "f.mid" << midi(tempo(200000))
                                                      << "1|F.MID|<UNKNOWN>|<UNKNOWN>|0|44|0";
        QTest::newRow("tempo 0 leaves bpm 0") << "z.mid" << midi(tempo(0) + meta(0x03, "Zero"))
                                              << "1|ZERO|<UNKNOWN>|<UNKNOWN>|0|0|0";
        QTest::newRow("karaoke title") << "k.kar"
            << midi(meta(0x02, "(c) 1999") + meta(0x01, "@TMy Song") + meta(0x01, "@LENG"))
            << "1|MY SONG|<UNKNOWN>|<UNKNOWN>|0|0|0";
        QTest::newRow("system-exclusive artist") << "s.mid"
            << midi(meta(0x03, "Azzurro") + bytes({0, 0xF0, 21, 0, 0x20, 0x24, 0, 5}) + "(Paolo Conte)" + bytes({0xF7}))
            << "1|AZZURRO|PAOLO CONTE|<UNKNOWN>|0|0|0";
        QTest::newRow("mfx") << "m.mf5" << mfx("_MF5", 96, "Caruso", true, "Dalla", "Pop") << "1|CARUSO|DALLA|POP|4|96|1";
        QTest::newRow(".mid holding an MF4") << "song.mid" << mfx("_MF4", 120, "Vento", false, "X", "Y")
                                             << "1|VENTO|X|Y|3|120|0";
        QTest::newRow("too short: presets") << "tiny.mid" << QByteArray("MThd") << "0|tiny.mid|<unknown>|<unknown>|0|0|0";
    }
    void readsSongFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        Memory memory;
        QVERIFY(memory.add("/" + name, content));
        SongInfoIndex entry;
        entry.absPath = memory.file("/" + name);
        const int result = Index().setSongInfo(entry);
        QTEST(QStringList({QString::number(result), entry.title, entry.artist, entry.genre, QString::number(entry.type),
                           QString::number(entry.bpm), QString::number(entry.hasMarkers)}).join('|'),
              "expected");
    }

    // Titles sort case-insensitively, "É" gets no letter slot; artists group their songs under a header.
    void titleAndArtistFiles()
    {
        Memory memory;
        QVERIFY(memory.add("/a1.mid", titled("Beta", "a")));
        QVERIFY(memory.add("/a2.mid", titled("alpha", "A")));
        QVERIFY(memory.add("/a3.mid", titled("9 Lives", "A")));
        QVERIFY(memory.add("/b1.mid", titled(QString("\u00e9quipe").toUtf8(), "B")));
        QVERIFY(memory.add("/b2.mid", titled("Bz", "B")));
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        QCOMPARE(readFile(memory.file("/title.id3")),
                 songRecord(2, "9 LIVES") + songRecord(1, "ALPHA") + songRecord(0, "BETA")
                     + songRecord(4, "BZ") + songRecord(3, "\xC9QUIPE"));
        QCOMPARE(readFile(memory.file("/atitle.id3")), letters({{'9', 0}, {'A', 64}, {'B', 128}}));
        QCOMPARE(readFile(memory.file("/artist.id3")),
                 artistHeader(0, 3, "A") + songRecord(2, "9 LIVES") + songRecord(1, "ALPHA") + songRecord(0, "BETA")
                     + artistHeader(3, 2, "B") + songRecord(4, "BZ") + songRecord(3, "\xC9QUIPE"));
        QCOMPARE(readFile(memory.file("/aartist.id3")), letters({{'A', 0}, {'B', 256}}));
        QCOMPARE(readFile(memory.file("/fsinfos.id3")), bytes({5, 0, 2, 0}) + QByteArray(8, '\0'));
    }

    // 601 songs: "/x.mid", an MF4 container, is song 300; "ordfile.id3" spans more than one block.
    void song300RecordsAndPathOrder()
    {
        Memory memory;
        QVERIFY(memory.add("/x.mid", mfx("_MF4", 120, "X", true, "", ""), QDateTime(QDate(2009, 3, 5), QTime(7, 8, 9))));
        for (int k = 0; k < 300; ++k) {
            QVERIFY(memory.add(QString("/a%1.mid").arg(k, 3, 10, QLatin1Char('0')), "none"));
            QVERIFY(memory.add(QString("/y%1.mid").arg(k, 3, 10, QLatin1Char('0')), "none"));
        }
        Index index;
        QVERIFY(index.createIndex(memory.root()));
        const QByteArray records = readFile(memory.file("/index.id3"));
        QCOMPARE(records.mid(300 * 270, 270), bytes({0, 0, 0x01, 0x2C}) + padded("/x.mid", 252) + "20090305070809");
        QCOMPARE(readFile(memory.file("/title.id3")).mid(300 * 64, 64), songRecord(300, "X", 0x78, 0x0B));
        QByteArray ord;
        for (int k = 0; k < 601; ++k)
            ord += bytes({k & 0xFF, k >> 8});
        QCOMPARE(readFile(memory.file("/ordfile.id3")), ord);
    }

    // Reserved folders, other extensions, hidden files and a path of 252 bytes are skipped, a link
    // loop ends; songs are ordered by their upper-case Latin-1 path bytes.
    void scanRules()
    {
        Memory memory;
        for (const char *rel : {"/SFX/s.mid", "/Bridge/b.mid", "/songs/sfx/n.mid", "/songs/a.mid", "/x.Mid",
                                "/x.midi", "/x.wav", "/noext", "/.hidden.mid", "/A/z.mid", "/b.KAR", "/c.mp3",
                                "/x_.mid", "/xZ.mid", "/\u00e8.mid"})
            QVERIFY(memory.add(rel, "none"));
        QVERIFY(QFile::link(memory.root(), memory.file("/songs/loop")));
        const QString folder = "/d/" + QString(120, 'd') + "/" + QString(100, 'e') + "/";
        const QString fits = folder + QString(251 - folder.size() - 4, 'f') + ".mid";
        const QString tooLong = folder + QString(252 - folder.size() - 4, 'g') + ".mid";
        QVERIFY(memory.add(fits, "none"));
        QVERIFY(memory.add(tooLong, "none"));
        Index index;
        QSignalSpy found(&index, &Index::fileFoundChanged);
        QSignalSpy errors(&index, &Index::errorFromIndex);
        QVERIFY(index.createIndex(memory.root() + "/"));
        QCOMPARE(orderedPaths(memory), QStringList({"/A/z.mid", "/b.KAR", "/c.mp3", fits, "/songs/a.mid", "/x.Mid",
                                                 "/xZ.mid", "/x_.mid", "/\u00e8.mid"}));
        QCOMPARE(found.last().at(0).toInt(), 10);   // the refused file was found too
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), "File non importato, path troppo lungo: " + memory.file(tooLong));
    }

    // A rebuild that fails leaves no index: none of the old one, no half-written new one.
    void failedRebuildLeavesNoIndex()
    {
        Memory memory;
        for (const char *name : {"/a.mid", "/genre.id3", "/temp1.id3", "/sfx.id3"})
            QVERIFY(memory.add(name, "old"));
        QVERIFY(QDir(memory.root()).mkdir("artist.id3"));   // cannot be opened as a file
        QVERIFY(!Index().createIndex(memory.root()));
        QCOMPARE(QDir(memory.root()).entryList(QDir::Files), QStringList({"a.mid", "sfx.id3"}));
    }

    void update_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("filesRead");   // -1: the update fails
        QTest::newRow("nothing changed") << "none" << 0;
        QTest::newRow("song 1 deleted") << "delete" << 0;
        QTest::newRow("song rewritten") << "rewrite" << 1;
        QTest::newRow("accented song added last") << "accented" << 1;
        QTest::newRow("song added in front") << "add" << 1;
        QTest::newRow("fsinfos.id3 missing: rebuild") << "missing" << 5;
        QTest::newRow("title names song 9") << "damaged title" << -1;
        QTest::newRow("artist names song 200") << "damaged artist" << -1;
        QTest::newRow("path without terminator") << "damaged path" << -1;
    }
    // After an update every song carries the bytes of a rebuild, accented texts and paths included; new
    // songs are numbered last. With nothing changed, or a damaged index, no file is written.
    void update()
    {
        QFETCH(QString, change);
        QFETCH(int, filesRead);
        Memory memory;   // five songs numbered 0 to 4, the last with accented path and texts
        QVERIFY(memory.add("/a/one.mid", titled("One", "Zeta")));
        QVERIFY(memory.add("/a/two.mp3", mp3(id3Frame("TIT2", "Two") + id3Frame("TPE1", "Alfa"))));
        QVERIFY(memory.add("/b.mf5", mfx("_MF5", 90, "Three", true, "Zeta", "")));
        QVERIFY(memory.add("/c.kar", titled("Four", "Alfa")));
        QVERIFY(memory.add("/Citt\u00e0/Perch\u00e9.mid", titled("Citt\u00e0", "Perch\u00e9")));
        QVERIFY(Index().createIndex(memory.root()));
        QVERIFY(aged(memory, true));
        if (change == "delete")
            QVERIFY(QFile::remove(memory.file("/a/two.mp3")));
        else if (change == "rewrite")
            QVERIFY(memory.add("/c.kar", titled("Quattro", "Alfa"), Old));
        else if (change == "accented")
            QVERIFY(memory.add("/z.mid", titled("Zed", "\u00c9lan")));
        else if (change == "add")
            QVERIFY(memory.add("/0.mid", titled("New", "Beta")));
        else if (change == "missing")
            QVERIFY(QFile::remove(memory.file("/fsinfos.id3")));
        else if (change == "damaged title")
            QVERIFY(patch(memory, "/title.id3", 3, bytes({9})));
        else if (change == "damaged artist")
            QVERIFY(patch(memory, "/artist.id3", 64 + 3, bytes({200})));
        else if (change == "damaged path")
            QVERIFY(patch(memory, "/index.id3", 4, QByteArray(252, 'p')));
        if (filesRead < 0)   // with a new song an update would write
            QVERIFY(memory.add("/new.mid", titled("New", "X")) && aged(memory, true));
        const QMap<QString, QByteArray> before = memory.index();
        Index index;
        QCOMPARE(index.updateIndex(memory.root() + "/"), filesRead >= 0);
        QCOMPARE(aged(memory, false), change == "none" || filesRead < 0);
        const QMap<QString, QByteArray> updated = memory.index();
        if (filesRead < 0) {
            QCOMPARE(updated, before);
        } else if (change == "add") {
            QCOMPARE(updated.value("index.id3").mid(5 * 270), bytes({0, 0, 0, 5}) + padded("/0.mid", 252) + "20200102030405");
            QCOMPARE(updated.value("ordfile.id3"), bytes({5, 0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0}));
            QCOMPARE(updated.value("title.id3").mid(2 * 64, 8), bytes({0, 0, 0, 5}) + QByteArray("NEW\0", 4));
        } else {
            QCOMPARE(index.songFilesRead(), filesRead);
            QVERIFY(index.createIndex(memory.root()));
            QCOMPARE(updated, memory.index());
        }
    }
};

QTEST_GUILESS_MAIN(TestIndex)
#include "tst_index.moc"
