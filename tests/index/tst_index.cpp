#include "index/index.h"

#include "songimages.h"
#include "../common/scratchmount.h"

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

// Overwrites bytes at `offset`; a negative offset cuts that many bytes off the end.
bool patch(const Memory &memory, const QString &rel, int offset, const QByteArray &bytes = QByteArray())
{
    QFile f(memory.file(rel));
    if (offset < 0)
        return f.resize(f.size() + offset);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// How checkMemory sees a memory, in a few words.
QString look(const QString &root)
{
    IndexReport r;
    Index().checkMemory(root, r);
    if (r.damaged || !r.complete || r.inStep())
        return r.damaged ? "damaged" : r.complete ? "in step" : "incomplete";
    return QStringList({r.missingSongs.join(','), r.newSongs.join(','), r.changedSongs.join(',')}).join('|');
}

// Files a commit left under its temporary names.
QStringList leftovers(const QString &root)
{
    return QDir(root).entryList({"*.new"}, QDir::Files | QDir::Hidden);
}

// A tmpfs of the given size, or "fat32", mounted on a memory's folder while alive.
struct Mount : ScratchMount::Mount
{
    Mount(const Memory &memory, const QString &kind) : ScratchMount::Mount(memory.root(), kind) {}
};

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
            << mp3(id3Frame("TPE1", "Mina") + id3Frame("TIT2", "  Grande grande ") + id3Frame("TCON", " pop "))
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
        QTest::newRow("track name cut to 58 bytes") << "n.mid" << midi(meta(0x03, QByteArray(70, 'n')))
                                                    << "1|" + QString(58, 'N') + "|<UNKNOWN>|<UNKNOWN>|0|0|0";
        QTest::newRow("karaoke title cut to 56 bytes") << "k.kar" << midi(meta(0x01, "@T" + QByteArray(70, 'k')))
                                                       << "1|" + QString(56, 'K') + "|<UNKNOWN>|<UNKNOWN>|0|0|0";
        QTest::newRow("0x81 before 0xFF ends the scan") << "s.mid" << midi(bytes({0x81, 0xFF, 0x03, 4}) + "Name")
                                                        << "1|S.MID|<UNKNOWN>|<UNKNOWN>|0|0|0";
        QTest::newRow("0x80 before 0xFF does not") << "s.mid" << midi(bytes({0x80, 0xFF, 0x03, 4}) + "Name")
                                                   << "1|NAME|<UNKNOWN>|<UNKNOWN>|0|0|0";
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

    // A root written in any form gives the bytes of its plain form.
    void rootForms()
    {
        Memory memory;
        QVERIFY(memory.add("/a/one.mid", titled("One", "Zeta")) && memory.add("/b.mid", titled("Two", "Alfa")));
        QVERIFY(Index().createIndex(memory.root()));
        const QMap<QString, QByteArray> plain = memory.index();
        QString doubled = memory.root();
        for (const QString &root : {memory.root() + "/.", doubled.replace(doubled.lastIndexOf('/'), 1, "//"),
                                    QDir::current().relativeFilePath(memory.root())}) {
            QVERIFY(Index().createIndex(root));
            QCOMPARE(memory.index(), plain);
        }
    }

    void update_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("filesRead");   // -1: refused as damaged
        QTest::addColumn<QString>("look");    // checkMemory before the update: missing|new|changed
        QTest::newRow("nothing changed") << "none" << 0 << "in step";
        QTest::newRow("song 1 deleted") << "delete" << 0 << "/a/two.mp3||";
        QTest::newRow("song rewritten") << "rewrite" << 1 << "||/c.kar";
        QTest::newRow("touched later the same day") << "later" << 1 << "||/c.kar";
        QTest::newRow("accented song added last") << "accented" << 1 << "|/z.mid|";
        QTest::newRow("song added in front") << "add" << 1 << "|/0.mid|";
        QTest::newRow("fsinfos.id3 missing: rebuild") << "missing" << 5 << "incomplete";
        QTest::newRow("title names song 9") << "/title.id3 3 09" << -1 << "damaged";
        QTest::newRow("artist names song 200") << "/artist.id3 67 c8" << -1 << "damaged";
        QTest::newRow("path without terminator") << "/index.id3 4 " + QString(504, 'e') << -1 << "damaged";
        QTest::newRow("record lost") << "/index.id3 -270" << -1 << "damaged";
        QTest::newRow("song missing from title.id3") << "/title.id3 -64" << -1 << "damaged";
        QTest::newRow("song number near 2^31") << "/index.id3 1080 7ffffffe" << -1 << "damaged";
        QTest::newRow("foreign number in ordfile.id3") << "/ordfile.id3 0 0900" << -1 << "damaged";
        QTest::newRow("ordfile.id3 not a permutation") << "/ordfile.id3 2 0000" << -1 << "damaged";
        QTest::newRow("ordfile.id3 out of path order") << "/ordfile.id3 0 01000000" << -1 << "damaged";
        QTest::newRow("wrong artist group count") << "/artist.id3 3 03" << -1 << "damaged";
        QTest::newRow("wrong title count") << "/fsinfos.id3 0 06" << -1 << "damaged";
        QTest::newRow("bad letter table") << "/atitle.id3 152 00000000" << -1 << "damaged";
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
        const QStringList damage = change.split(' ');
        if (change == "delete")
            QVERIFY(QFile::remove(memory.file("/a/two.mp3")));
        else if (change == "rewrite")
            QVERIFY(memory.add("/c.kar", titled("Quattro", "Alfa"), Old));
        else if (change == "later")
            QVERIFY(memory.add("/c.kar", titled("Quattro", "Alfa"), QDateTime(QDate(2020, 1, 2), QTime(23, 59, 58))));
        else if (change == "accented")
            QVERIFY(memory.add("/z.mid", titled("Zed", "\u00c9lan")));
        else if (change == "add")
            QVERIFY(memory.add("/0.mid", titled("New", "Beta")));
        else if (change == "missing")
            QVERIFY(QFile::remove(memory.file("/fsinfos.id3")));
        else if (filesRead < 0)
            QVERIFY(patch(memory, damage.at(0), damage.at(1).toInt(), QByteArray::fromHex(damage.value(2).toLatin1())));
        if (filesRead < 0)   // with a new song an update would write
            QVERIFY(memory.add("/new.mid", titled("New", "X")) && aged(memory, true));
        QTEST(look(memory.root()), "look");
        const QMap<QString, QByteArray> before = memory.index();
        Index index;
        QCOMPARE(index.updateIndex(memory.root() + "/"), filesRead >= 0);
        QCOMPARE(aged(memory, false), change == "none" || filesRead < 0);
        const QMap<QString, QByteArray> updated = memory.index();
        if (filesRead < 0) {
            QCOMPARE(updated, before);
            QCOMPARE(index.lastError(), Index::ErrorDamaged);
            QVERIFY(index.lastErrorText().contains("\"Ho problemi con gli archivi, ricostruisci database\""));
            QVERIFY(Index().createIndex(memory.root()));   // which repairs it
            QCOMPARE(look(memory.root()), QString("in step"));
            return;
        }
        QCOMPARE(look(memory.root()), QString("in step"));
        if (change == "add") {
            QCOMPARE(updated.value("index.id3").mid(5 * 270), bytes({0, 0, 0, 5}) + padded("/0.mid", 252) + "20200102030405");
            QCOMPARE(updated.value("ordfile.id3"), bytes({5, 0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0}));
            QCOMPARE(updated.value("title.id3").mid(2 * 64, 8), bytes({0, 0, 0, 5}) + QByteArray("NEW\0", 4));
        } else {
            QCOMPARE(index.songFilesRead(), filesRead);
            QVERIFY(index.createIndex(memory.root()));
            QCOMPARE(updated, memory.index());
        }
    }

    void interruptedCommit_data()
    {
        QTest::addColumn<int>("step");        // the commit stops before it
        QTest::addColumn<QString>("then");    // done to the memory after the stop
        QTest::addColumn<QString>("look");    // checkMemory after the stop
        QTest::addColumn<int>("filesRead");   // by the next update: 1 old index kept, 0 commit finished, 4 rebuilt
        for (int step = 0; step <= 8; ++step)
            QTest::addRow("before step %d: old index", step) << step << "" << "|/d.mid|" << 1;
        for (int step = 9; step <= 15; ++step)
            QTest::addRow("before step %d: finished", step) << step << "" << "incomplete" << 0;
        QTest::newRow("before the folder flush") << 16 << "" << "in step" << 0;
        QTest::newRow("torn temporary file") << 11 << "torn" << "incomplete" << 4;
        QTest::newRow("no marker, cut while writing") << 3 << "no marker" << "incomplete" << 4;
    }
    // A commit cut short at any step leaves, after the next run, seven files that agree: the old or the new set.
    void interruptedCommit()
    {
        QFETCH(int, step);
        QFETCH(QString, then);
        Memory memory;
        for (const char *name : {"/a.mid", "/b.mid", "/c.mp3"})
            QVERIFY(memory.add(name, titled(name + 1, "X")));
        QVERIFY(Index().createIndex(memory.root()));
        QVERIFY(memory.add("/d.mid", titled("D", "Y")));
        if (then == "no marker")
            QVERIFY(QFile::remove(memory.file("/fsinfos.id3")));
        Index cut;
        cut.setCommitStop(step);
        QVERIFY(!cut.updateIndex(memory.root()));
        if (then == "torn")
            QVERIFY(patch(memory, "/.title.id3.new", -32));
        QTEST(look(memory.root()), "look");
        Index next;
        QVERIFY(next.updateIndex(memory.root()));
        QTEST(next.songFilesRead(), "filesRead");
        QCOMPARE(look(memory.root()), QString("in step"));
        QCOMPARE(leftovers(memory.root()), QStringList());
    }

    void protectedOrFullMemory_data()
    {
        QTest::addColumn<QString>("memory");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only, update") << "ro" << false << int(Index::ErrorCannotWrite);
        QTest::newRow("read-only, rebuild") << "ro" << true << int(Index::ErrorCannotWrite);
        QTest::newRow("full, update") << "full" << false << int(Index::ErrorMemoryFull);
        QTest::newRow("full, rebuild") << "full" << true << int(Index::ErrorMemoryFull);
    }
    // A memory that cannot take the new index keeps its older one, and the run says why.
    void protectedOrFullMemory()
    {
        QFETCH(QString, memory);
        QFETCH(bool, rebuild);
        Memory card;
        Mount mount(card, "256k");
        if (!mount.mounted)
            QSKIP("cannot mount a tmpfs here (it needs root): write-protected and full memories not tried");
        for (const char *name : {"/a.mid", "/b.mid", "/c.mp3"})
            QVERIFY(card.add(name, titled(name + 1, "X")));
        QVERIFY(Index().createIndex(card.root()) && card.add("/d.mid", titled("D", "X")));
        const QMap<QString, QByteArray> before = card.index();
        if (memory == "ro") {
            QVERIFY(mount.readOnly());
        } else {   // fills the memory, then frees a little less than the new index needs
            QFile filler(card.file("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {
            }
            QVERIFY(filler.resize(filler.size() - 2 * 4096));
        }
        Index index;
        if (memory == "full")
            index.setCommitStop(0);   // the room is known before anything is written
        QVERIFY(!(rebuild ? index.createIndex(card.root()) : index.updateIndex(card.root())));
        QTEST(int(index.lastError()), "error");
        if (memory == "ro")
            QVERIFY(index.lastErrorText().contains(card.file("/index.id3")));
        QCOMPARE(card.index(), before);
        QCOMPARE(leftovers(card.root()), QStringList());
    }

    // On a real FAT32 file system: renames over existing files, 2-second times.
    void fat32Memory()
    {
        Memory card;
        Mount fat(card, "fat32");
        if (!fat.mounted)
            QSKIP("no FAT32 image could be mounted (needs /dev/fuse, fusefat and mkfs.vfat)");
        for (const char *name : {"/a.mid", "/b.mp3", "/Long name of a song.mid"})
            QVERIFY(card.add(name, titled("Song", "X")));
        QVERIFY(Index().createIndex(card.root()) && card.add("/c.mid", titled("C", "X")));
        for (bool rebuild : {false, true}) {
            QVERIFY(rebuild ? Index().createIndex(card.root()) : Index().updateIndex(card.root()));
            QCOMPARE(card.index().value("index.id3").size(), 4 * 270);
            Index unchanged;
            QVERIFY(unchanged.updateIndex(card.root()));
            QCOMPARE(unchanged.songFilesRead(), 0);
            QCOMPARE(look(card.root()), QString("in step"));
        }
        QCOMPARE(leftovers(card.root()), QStringList());
    }

    // A name outside Latin-1 is stored with "?": an unchanged update still writes nothing, and the
    // song is reported once per run as one the player cannot open.
    void nameOutsideLatin1()
    {
        Memory memory;
        QVERIFY(memory.add("/Don\u2019t Stop \u2013 Live.mid", titled("Live", "X")) && memory.add("/b.mid", titled("B", "X")));
        for (bool update : {false, true}) {
            Index index;
            QSignalSpy warnings(&index, &Index::warningFromIndex);
            QVERIFY(update ? index.updateIndex(memory.root()) : index.createIndex(memory.root()));
            QCOMPARE(warnings.count(), 1);
            QVERIFY(warnings.at(0).at(0).toString().endsWith(memory.file("/Don\u2019t Stop \u2013 Live.mid")));
            QCOMPARE(index.songFilesRead(), update ? 0 : 2);
            QVERIFY(aged(memory, !update));
        }
        QVERIFY(readFile(memory.file("/index.id3")).contains(QByteArray("/Don?t Stop ? Live.mid\0", 23)));
    }

    // "straße.mid" and "STRASSE.mid" tie in path order but are two songs; "strasse.mid" is "STRASSE.mid" again.
    void namesTyingInPathOrder()
    {
        Memory memory;
        QVERIFY(memory.add("/STRASSE.mid", titled("Gross", "X")) && memory.add("/stra\u00dfe.mid", titled("Klein", "X")));
        QVERIFY(Index().createIndex(memory.root()));
        QVERIFY(aged(memory, true) && memory.add("/strasse.mid", titled("Again", "X")));
        Index index;
        QVERIFY(index.updateIndex(memory.root()));
        QCOMPARE(index.songFilesRead(), 0);
        QVERIFY(aged(memory, false));
        QCOMPARE(readFile(memory.file("/index.id3")).size(), 2 * 270);
    }

    void sortModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("order");
        QTest::newRow("title") << 0 << "A B C";
        QTest::newRow("artist") << 1 << "C B A";
        QTest::newRow("genre") << 2 << "B C A";
        QTest::newRow("other: title") << 5 << "A B C";
    }
    void sortModes()
    {
        QFETCH(int, mode);
        QList<SongInfoIndex> songs;
        for (const char *song : {"A z y", "B x w", "C w x"}) {   // title artist genre
            const QStringList f = QString(song).split(' ');
            songs.append(SongInfoIndex());
            songs.last().title = f.at(0), songs.last().artist = f.at(1), songs.last().genre = f.at(2);
        }
        std::sort(songs.begin(), songs.end(), compareForSortMode(mode));
        QStringList titles;
        for (const SongInfoIndex &song : qAsConst(songs))
            titles << song.title;
        QTEST(titles.join(' '), "order");
    }

    // The songs list reads the index: titles and artists upper case, even those stored in lower case.
    void songsList()
    {
        Memory memory;
        QVERIFY(memory.add("/tiny.mid", "MTh") && memory.add("/b.mid", titled("Beta", "Abba"))
                && memory.add("/z.mid", titled("Alfa", "Zed")));
        QVERIFY(Index().createIndex(memory.root()));
        QVERIFY(Index().saveSongsList(memory.root(), memory.file("/list.csv"), SORT_MODE(1)) == 1);
        QCOMPARE(readFile(memory.file("/list.csv")),
                 QByteArray("TITOLO;ARTISTA;FILE;\nTINY.MID;<UNKNOWN>;/tiny.mid;\nBETA;ABBA;/b.mid;\nALFA;ZED;/z.mid;\n"));
    }
};

QTEST_GUILESS_MAIN(TestIndex)
#include "tst_index.moc"
