// Recognising song files, reading their details and merging new details in
// automatic and manual mode, checked on files saved and read back.
#include "songfiles/metasong.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "tst_metasong_helpers.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace SongBytes;

Q_DECLARE_METATYPE(SongInfo)

namespace {

QList<Marker> markers(std::initializer_list<std::pair<int, const char*>> list)
{
    QList<Marker> result;
    for (const auto& m : list)
        result.append(Marker{QString::fromUtf8(m.second), m.first});
    return result;
}

// A null text means "no such event/frame/field" in the file built from it.
SongInfo song(const QString& title, const QString& artist, const QString& author,
              const QString& genre, int length, int bpm, const QString& key,
              const QList<Marker>& marks = {}, bool tavrel = false)
{
    SongInfo s;
    s.title = title;
    s.artist = artist;
    s.author = author;
    s.genre = genre;
    s.length = length;
    s.userBpm = bpm;
    s.key = key;
    s.markers = marks;
    s.isTavrel = tavrel;
    return s;
}

QByteArray fileFor(const QString& format, const SongInfo& s)
{
    if (format == "mid")
        return midiFile(s);
    if (format == "mp3")
        return mp3File(s);
    return mfxFile(QByteArray("_") + format.toUpper().toLatin1(), s);
}

// The MIDI image of a saved MIDI or MFx file, for presence tests.
RawMidiFile imageOf(const QByteArray& file)
{
    RawMidiFile midi;
    if (file.startsWith("MThd")) {
        midi.loadData(file);
        return midi;
    }
    QByteArray image;
    LzHuff codec;
    codec.expand(file.mid(headerLength(file.left(4))), image);
    if (file.startsWith("_MF4"))
        image.remove(image.indexOf("MTrk") + 8, 3);
    midi.loadData(image);
    return midi;
}

}

class TestMetaSong : public QObject
{
    Q_OBJECT

private slots:
    void import_data();
    void import();
    void songInfoPerFormat_data();
    void songInfoPerFormat();
    void merge_data();
    void merge();
    void artistRule_data();
    void artistRule();
    void artistAlternatesOverSynchronisations_data();
    void artistAlternatesOverSynchronisations();
    void keysListAndDebugMarker();

private:
    // Writes the file, imports it, merges record, saves, and reads it back.
    bool mergeAndReload(const QString& format, const QByteArray& file, const SongInfo& record,
                        bool manual, SongInfo& reloaded, QByteArray* saved = nullptr);
    QTemporaryDir dir;
};

void TestMetaSong::import_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("format"); // empty: refused
    QTest::addColumn<QString>("log");

    const SongInfo s = song("Yesterday", "The Beatles", "Lennon", "Pop", 125, 97, "D",
                            markers({{1, "Intro"}}), true);
    const QByteArray mp3 = mp3File(s);
    const QByteArray audio = mpegAudio(3);
    const QByteArray tail(64, 'x');

    QTest::newRow("ID3 named .mp3") << "song.mp3" << mp3 << "MP3" << "";
    QTest::newRow("ID3 named .wav") << "song.wav" << mp3 << "" << "";
    QTest::newRow("RIFF named .mp3") << "song.mp3" << QByteArray("RIFF") + tail << "" << "";
    QTest::newRow("frame sync FF FB, upper-case name") << "SONG.MP3" << audio << "MP3" << "";
    QTest::newRow("FF F3") << "a.mp3" << bytes({0xFF, 0xF3}) + tail << "MP3" << "";
    QTest::newRow("FF F2 refused") << "a.mp3" << bytes({0xFF, 0xF2}) + tail << "" << "";
    QTest::newRow("FF 7F") << "a.mp3" << bytes({0xFF, 0x7F}) + tail << "MP3" << "";
    QTest::newRow("FF 80 refused") << "a.mp3" << bytes({0xFF, 0x80}) + tail << "" << "";
    QTest::newRow("two zero bytes") << "a.mp3" << bytes({0, 0, 0x12}) + tail << "MP3" << "";
    QTest::newRow("name ending MP3 without a dot") << "songmp3" << mp3 << "MP3" << "";
    QTest::newRow("tag larger than the file") << "a.mp3"
        << QByteArray("ID3") + bytes({3, 0, 0}) + synchsafe(5000) + tail << "" << "";
    QTest::newRow("nine bytes") << "a.mp3" << QByteArray("ID3") + bytes({3, 0, 0, 0, 0, 0}) << "" << "";

    QTest::newRow("MIDI format 0") << "song.mid" << midiFile(s, 0) << "MIDI" << "";
    QTest::newRow("MIDI format 1 .kar") << "song.kar" << midiFile(s, 1) << "MIDI" << "";
    QByteArray format2 = midiFile(s, 1);
    format2[9] = 2;
    QTest::newRow("MIDI format 2 refused") << "song.mid" << format2 << "" << "";
    QTest::newRow("MIDI bytes named .mp3") << "song.mp3" << midiFile(s) << "MIDI" << "";

    QTest::newRow("_MF3") << "song.mf3" << mfxFile("_MF3", s) << "MF3" << "";
    QTest::newRow("_MF4") << "song.mf4" << mfxFile("_MF4", s) << "MF4" << "";
    QTest::newRow("_MF5") << "song.mf5" << mfxFile("_MF5", s) << "MF5" << "";
    QTest::newRow("_MF5 with a 512-byte header") << "song.mf5"
        << mfxHeader("_MF5", s).left(512) + QByteArray(100, 'z') << "" << "";

    const QString expandFailed = "[MetaSong::importFile] LzHuff Expand filed, skipping file";
    const QString corrupted = "[MetaSong::importFile] MidiStream corrupted, skipping file";
    QByteArray tooLarge = mfxFile("_MF3", s);
    putLe(tooLarge, 512, 600000, 4);
    QTest::newRow("packed size 600000") << "song.mf3" << tooLarge << "" << expandFailed;
    QTest::newRow("packed stream missing") << "song.mf3" << mfxHeader("_MF3", s) << "" << expandFailed;
    QTest::newRow("payload not MIDI") << "song.mf3"
        << mfxHeader("_MF3", s) + pack("this is no standard midi file at all") << "" << corrupted;
    QByteArray damaged = mfxFile("_MF3", s);
    for (int i = 516; i < 530; ++i)
        damaged[i] = char(~quint8(damaged[i]));
    QTest::newRow("damaged bit stream") << "song.mf3" << damaged << "" << corrupted;
    QTest::newRow("_MF4 payload without room for its three bytes") << "song.mf4"
        << mfxHeader("_MF4", s) + pack("MThd" + be32(6) + bytes({0, 0, 0, 1, 1, 0xE0}) + "MTrk" + be32(1))
        << "" << corrupted;
}

void TestMetaSong::import()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, format);
    QFETCH(QString, log);

    const QString path = dir.filePath(QTest::currentDataTag() + QString("/") + name);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(writeFile(path, data));

    LogCapture capture;
    MetaSong meta;
    QCOMPARE(meta.importFile(path), !format.isEmpty());
    if (!log.isEmpty())
        QVERIFY2(capture.lines().contains(log), qPrintable(capture.lines().join('\n')));
    if (!format.isEmpty()) {
        SongInfo info;
        meta.getSongInfo(info);
        QCOMPARE(info.format, format);
    }
}

void TestMetaSong::songInfoPerFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<SongInfo>("file");
    QTest::addColumn<SongInfo>("expected");

    SongInfo full = song("Yesterday", "The Beatles", "Lennon", "Pop", 125, 97, "Eb",
                         markers({{1, "Intro"}, {17, "Chorus 1"}}), true);
    full.mfxLongName = "YESTERDY";
    full.mfxFlags = qint8(0xB9);

    SongInfo midiExpected = full;
    midiExpected.format = "MIDI";
    midiExpected.mfxLongName.clear();
    midiExpected.mfxFlags = 0;
    QTest::newRow("MIDI") << "mid" << full << midiExpected;

    SongInfo otherPublisher = full;
    otherPublisher.isTavrel = false;
    SongInfo midiOther = midiExpected;
    midiOther.isTavrel = false;
    QTest::newRow("MIDI of another publisher") << "mid" << otherPublisher << midiOther;

    for (const char* f : {"mf3", "mf4", "mf5"}) {
        // Every MFx song is the maker's, whatever its copyright notice.
        SongInfo mfx = full;
        mfx.format = QString(f).toUpper();
        QTest::newRow(f) << QString(f) << otherPublisher << mfx;
    }

    SongInfo mp3 = midiExpected;
    mp3.format = "MP3";
    mp3.markers.clear();
    QTest::newRow("MP3") << "mp3" << full << mp3;
}

void TestMetaSong::songInfoPerFormat()
{
    QFETCH(QString, format);
    QFETCH(SongInfo, file);
    QFETCH(SongInfo, expected);

    const QString path = dir.filePath(QString("details-%1.%2").arg(QTest::currentDataTag()).arg(format));
    QVERIFY(writeFile(path, fileFor(format, file)));
    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo info;
    info.altArtist = "stale";
    info.filename = "stale";
    meta.getSongInfo(info);
    QCOMPARE(info.title, expected.title);
    QCOMPARE(info.artist, expected.artist);
    QCOMPARE(info.author, expected.author);
    QCOMPARE(info.genre, expected.genre);
    QCOMPARE(info.key, expected.key);
    QCOMPARE(info.length, expected.length);
    QCOMPARE(info.userBpm, expected.userBpm);
    QCOMPARE(info.markers, expected.markers);
    QCOMPARE(info.isTavrel, expected.isTavrel);
    QCOMPARE(info.format, expected.format);
    QCOMPARE(info.mfxLongName, expected.mfxLongName);
    QCOMPARE(info.mfxFlags, expected.mfxFlags);
    QVERIFY(info.altArtist.isEmpty());
    QVERIFY(info.filename.isEmpty());
}

bool TestMetaSong::mergeAndReload(const QString& format, const QByteArray& file,
                                  const SongInfo& record, bool manual, SongInfo& reloaded,
                                  QByteArray* saved)
{
    static int n = 0;
    const QString path = dir.filePath(QString("merge%1.%2").arg(++n).arg(format));
    if (!writeFile(path, file))
        return false;
    MetaSong meta;
    if (!meta.importFile(path))
        return false;
    meta.setSongInfo(record, manual);
    if (!meta.saveToFile(path))
        return false;
    MetaSong again;
    if (!again.importFile(path))
        return false;
    again.getSongInfo(reloaded);
    if (saved)
        *saved = readFile(path);
    return true;
}

void TestMetaSong::merge_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<SongInfo>("file");
    QTest::addColumn<SongInfo>("record");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<SongInfo>("expected");
    QTest::addColumn<QStringList>("absent"); // "key", "length", "bpm" with no event/frame at all

    const QString none;
    const QList<Marker> fileMarks = markers({{5, "Solo"}});
    const QList<Marker> recMarks = markers({{1, "Intro"}, {9, "Verse"}});
    const SongInfo bare = song("Song", none, none, none, 0, 0, none);
    const SongInfo full = song("Song", "Them", "Someone", "Rock", 200, 120, "C", fileMarks);
    const SongInfo maker = song("Song", "Main", "Writer", "Pop", 125, 97, "D", recMarks, true);
    SongInfo other = maker;
    other.isTavrel = false;
    SongInfo negative = maker;
    negative.length = -1;
    negative.userBpm = -1;
    const QStringList nothing;
    const QStringList numbers = {"key", "length", "bpm"};

    auto with = [](SongInfo s, auto change) { change(s); return s; };
    auto titled = [&](const SongInfo& s, const QString& t) { return with(s, [&](SongInfo& x) { x.title = t; }); };

    // MIDI
    QTest::newRow("mid auto: title extended by the record")
        << "mid" << titled(full, "YESTERDAY") << titled(maker, "Yesterday (Live)") << false
        << with(full, [](SongInfo& x) { x.title = "Yesterday (Live)"; x.artist = "Main"; }) << nothing;
    QTest::newRow("mid auto: other title kept")
        << "mid" << titled(full, "Let It Be") << titled(maker, "Yesterday") << false
        << with(full, [](SongInfo& x) { x.title = "Let It Be"; x.artist = "Main"; }) << nothing;
    QTest::newRow("mid manual: title replaced, markers untouched")
        << "mid" << titled(full, "Let It Be") << titled(maker, "Yesterday") << true
        << with(maker, [&](SongInfo& x) { x.title = "Yesterday"; x.markers = fileMarks; }) << nothing;
    QTest::newRow("mid manual: no markers written into a file without")
        << "mid" << bare << maker << true << with(maker, [](SongInfo& x) { x.markers.clear(); }) << nothing;
    QTest::newRow("mid auto: another publisher gets no key, length, tempo")
        << "mid" << bare << other << false
        << with(maker, [](SongInfo& x) { x.key.clear(); x.length = 0; x.userBpm = 0; }) << numbers;
    QTest::newRow("mid auto: the maker's song gets all") << "mid" << bare << maker << false << maker << nothing;
    QTest::newRow("mid auto: negative numbers not written")
        << "mid" << bare << negative << false
        << with(maker, [](SongInfo& x) { x.length = 0; x.userBpm = 0; }) << QStringList{"length", "bpm"};
    QTest::newRow("mid auto: present details and markers kept")
        << "mid" << full << maker << false << with(full, [](SongInfo& x) { x.artist = "Main"; }) << nothing;

    // MFx
    const SongInfo placeholders = song("-", "-", "--", "-", 0, 0, none);
    QTest::newRow("mf4 auto: placeholders replaced, tempo 0 replaced for anyone")
        << "mf4" << placeholders << other << false
        << with(maker, [](SongInfo& x) { x.key.clear(); x.length = 0; x.mfxFlags = 1; }) << QStringList{"key", "length"};
    QTest::newRow("mf3 auto: \"--\" fields replaced")
        << "mf3" << song("--", "--", "--", "--", 0, 0, none) << maker << false
        << with(maker, [](SongInfo& x) { x.mfxFlags = 1; }) << nothing;
    SongInfo kept = song("Mine", "Them", "Me", "Rock", 200, 120, "C", fileMarks);
    kept.mfxFlags = 4;
    QTest::newRow("mf4 auto: real fields, valid tempo and markers kept; flag added")
        << "mf4" << kept << maker << false
        << with(kept, [](SongInfo& x) { x.artist = "Main"; x.mfxFlags = 5; }) << nothing;
    QTest::newRow("mf5 auto: tempo 500 is replaced")
        << "mf5" << with(kept, [](SongInfo& x) { x.userBpm = 500; }) << maker << false
        << with(kept, [](SongInfo& x) { x.artist = "Main"; x.userBpm = 97; x.mfxFlags = 5; }) << nothing;
    QTest::newRow("mf4 auto: negative tempo not written")
        << "mf4" << placeholders << negative << false
        << with(maker, [](SongInfo& x) { x.userBpm = 0; x.length = 0; x.mfxFlags = 1; }) << QStringList{"length"};
    QTest::newRow("mf4 manual: everything but markers, flag set")
        << "mf4" << kept << maker << true
        << with(maker, [&](SongInfo& x) { x.markers = fileMarks; x.mfxFlags = 5; }) << nothing;
    QTest::newRow("mf4 manual: no markers in the record, flag unchanged")
        << "mf4" << kept << with(maker, [](SongInfo& x) { x.markers.clear(); }) << true
        << with(maker, [&](SongInfo& x) { x.markers = fileMarks; x.mfxFlags = 4; }) << nothing;

    // MP3
    QTest::newRow("mp3 auto: only absent title and author; no numbers for another publisher")
        << "mp3" << song("Mine", none, none, none, 0, 0, none) << other << false
        << with(other, [](SongInfo& x) { x.title = "Mine"; x.key.clear(); x.length = 0; x.userBpm = 0; x.markers.clear(); x.isTavrel = false; })
        << numbers;
    QTest::newRow("mp3 auto: the maker's song gets the numbers")
        << "mp3" << song(none, none, none, none, 0, 0, none) << maker << false
        << with(maker, [](SongInfo& x) { x.markers.clear(); x.isTavrel = false; }) << nothing;
    QTest::newRow("mp3 auto: present frames kept")
        << "mp3" << full << maker << false
        << with(full, [](SongInfo& x) { x.artist = "Main"; x.markers.clear(); }) << nothing;
    QTest::newRow("mp3 manual: everything")
        << "mp3" << full << maker << true
        << with(maker, [](SongInfo& x) { x.markers.clear(); x.isTavrel = false; }) << nothing;
}

void TestMetaSong::merge()
{
    QFETCH(QString, format);
    QFETCH(SongInfo, file);
    QFETCH(SongInfo, record);
    QFETCH(bool, manual);
    QFETCH(SongInfo, expected);
    QFETCH(QStringList, absent);

    LogCapture capture;
    SongInfo got;
    QByteArray saved;
    QVERIFY(mergeAndReload(format, fileFor(format, file), record, manual, got, &saved));
    QVERIFY(capture.lines().contains(
        QString("[MetaSong] setSongInfo, manual:  %1").arg(manual ? "true" : "false")));

    QCOMPARE(got.title, expected.title);
    QCOMPARE(got.artist, expected.artist);
    QCOMPARE(got.author, expected.author);
    QCOMPARE(got.genre, expected.genre);
    QCOMPARE(got.key, expected.key);
    QCOMPARE(got.length, expected.length);
    QCOMPARE(got.userBpm, expected.userBpm);
    QCOMPARE(got.markers, expected.markers);
    if (format.startsWith("mf"))
        QCOMPARE(got.mfxFlags, expected.mfxFlags);

    if (format == "mp3") {
        Mp3Header tag;
        QVERIFY(tag.loadHeader(saved));
        // The Tamsel edit parameter, added in both modes, exactly once.
        QVERIFY(tag.hasTamselEditParam());
        QCOMPARE(saved.count("XEDT"), 1);
        QCOMPARE(tag.hasKey(), !absent.contains("key"));
        QCOMPARE(tag.hasLength(), !absent.contains("length"));
        QCOMPARE(tag.hasUserBpm(), !absent.contains("bpm"));
    } else {
        const RawMidiFile image = imageOf(saved);
        QCOMPARE(image.hasKey(), !absent.contains("key"));
        QCOMPARE(image.hasLength(), !absent.contains("length"));
        if (format == "mid")
            QCOMPARE(image.hasUserBpm(), !absent.contains("bpm"));
    }
}

void TestMetaSong::artistRule_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("current"); // null: the file holds no artist
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("altArtist");
    QTest::addColumn<QString>("expected");

    for (const char* f : {"mid", "mf4", "mp3"}) {
        const QString fmt(f);
        auto row = [&](const char* name) { return &QTest::newRow(qPrintable(fmt + ": " + name)); };
        *row("none in the file, alternative preferred") << fmt << QString() << "Main" << "Alt" << "Alt";
        *row("none in the file, no alternative") << fmt << QString() << "Main" << "" << "Main";
        *row("file holds the alternative") << fmt << "Alt" << "Main" << "Alt" << "Alt";
        *row("no alternative") << fmt << "Other" << "Main" << "" << "Main";
        *row("file holds the artist") << fmt << "Main" << "Main" << "Alt" << "Alt";
        *row("file holds a third name") << fmt << "Other" << "Main" << "Alt" << "Main";
        *row("empty artist counts as none") << fmt << "" << "Main" << "" << "Main";
    }
    QTest::newRow("mf4: placeholder counts as none") << "mf4" << "-" << "Main" << "Alt" << "Alt";
    QTest::newRow("mf3: placeholder counts as none") << "mf3" << "--" << "Main" << "" << "Main";
}

void TestMetaSong::artistRule()
{
    QFETCH(QString, format);
    QFETCH(QString, current);
    QFETCH(QString, artist);
    QFETCH(QString, altArtist);
    QFETCH(QString, expected);

    SongInfo file = song("Song", current, "Writer", "Pop", 100, 100, "C");
    SongInfo record = file;
    record.artist = artist;
    record.altArtist = altArtist;
    SongInfo got;
    QVERIFY(mergeAndReload(format, fileFor(format, file), record, false, got));
    QCOMPARE(got.artist, expected);

    // Manual mode writes the artist as given.
    QVERIFY(mergeAndReload(format, fileFor(format, file), record, true, got));
    QCOMPARE(got.artist, artist);
}

void TestMetaSong::artistAlternatesOverSynchronisations_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("mid") << "mid";
    QTest::newRow("mf5") << "mf5";
    QTest::newRow("mp3") << "mp3";
}

void TestMetaSong::artistAlternatesOverSynchronisations()
{
    QFETCH(QString, format);
    const QString path = dir.filePath("alternate." + format);
    QVERIFY(writeFile(path, fileFor(format, song("Song", "Other", "W", "Pop", 1, 1, "C"))));
    SongInfo record = song("Song", "Main", "W", "Pop", 1, 1, "C");
    record.altArtist = "Alt";

    QStringList seen;
    for (int sync = 0; sync < 3; ++sync) {
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(record, false);
        QVERIFY(meta.saveToFile(path));
        MetaSong again;
        QVERIFY(again.importFile(path));
        SongInfo info;
        again.getSongInfo(info);
        seen << info.artist;
    }
    QCOMPARE(seen, QStringList({"Main", "Alt", "Alt"}));
}

void TestMetaSong::keysListAndDebugMarker()
{
    const QString path = dir.filePath("dbg.mid");
    QVERIFY(writeFile(path, midiFile(song("Song", QString(), QString(), QString(), 0, 0, QString(),
                                          markers({{3, "Verse"}})))));
    MetaSong meta;
    QVERIFY(meta.importFile(path));
    const QStringList keys = meta.getKeysList();
    QCOMPARE(keys.size(), 30);
    QCOMPARE(keys.first(), QString("C"));
    QCOMPARE(keys.last(), QString("D-"));

    LogCapture capture;
    QCOMPARE(meta.dbgAddMarker("Intro", 1), 12);
    QCOMPARE(capture.lines(), QStringList({"[MetaSong] addMarker", "Marker added, len=  12",
                                           "-----------------------------------", ""}));
    QVERIFY(meta.saveToFile(path));
    MetaSong again;
    QVERIFY(again.importFile(path));
    SongInfo info;
    again.getSongInfo(info);
    // Added in front, the existing marker kept.
    QCOMPARE(info.markers, markers({{1, "Intro"}, {3, "Verse"}}));
}

QTEST_GUILESS_MAIN(TestMetaSong)
#include "tst_metasong.moc"
