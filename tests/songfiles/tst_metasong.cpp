// Recognising song files, reading their details and merging new details in
// automatic and manual mode, checked on files saved and read back.
#include "songfiles/metasong.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "tst_metasong_helpers.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace SongBytes;

class TestMetaSong : public QObject
{
    Q_OBJECT

private slots:
    void import_data();
    void import();
    void details_data();
    void details();
    void merge_data();
    void merge();
    void artistRule_data();
    void artistRule();

private:
    QString write(const QString& name, const QByteArray& data);
    QTemporaryDir dir;
    int files = 0;
};

QString TestMetaSong::write(const QString& name, const QByteArray& data)
{
    const QString folder = dir.filePath(QString::number(++files));
    QDir().mkpath(folder);
    writeFile(folder + "/" + name, data);
    return folder + "/" + name;
}

void TestMetaSong::import_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("format"); // empty: refused
    QTest::addColumn<QString>("log");

    const SongInfo s = song("t=Yesterday|a=Beatles|k=D|len=125|m=1:Intro");
    const QByteArray mp3 = fileFor("mp3", s), tail(64, 'x');
    const QString expandFailed = "[MetaSong::importFile] LzHuff Expand filed, skipping file";
    const QString corrupted = "[MetaSong::importFile] MidiStream corrupted, skipping file";

    QTest::newRow("ID3 named .mp3") << "song.mp3" << mp3 << "MP3" << "";
    QTest::newRow("ID3 named .wav") << "song.wav" << mp3 << "" << "";
    QTest::newRow("RIFF named .mp3") << "song.mp3" << "RIFF" + tail << "" << "";
    QTest::newRow("frame sync FF FB, upper-case name") << "SONG.MP3" << mpegAudio(2) << "MP3" << "";
    QTest::newRow("FF F3") << "a.mp3" << bytes({0xFF, 0xF3}) + tail << "MP3" << "";
    QTest::newRow("FF F2") << "a.mp3" << bytes({0xFF, 0xF2}) + tail << "" << "";
    QTest::newRow("FF 7F") << "a.mp3" << bytes({0xFF, 0x7F}) + tail << "MP3" << "";
    QTest::newRow("FF 80") << "a.mp3" << bytes({0xFF, 0x80}) + tail << "" << "";
    QTest::newRow("two zero bytes") << "a.mp3" << bytes({0, 0, 0x12}) + tail << "MP3" << "";
    QTest::newRow("name ending MP3 without a dot") << "songmp3" << mp3 << "MP3" << "";
    QTest::newRow("tag larger than the file") << "a.mp3" << "ID3" + bytes({3, 0, 0}) + synchsafe(5000) + tail << "" << "";
    QTest::newRow("MIDI format 0") << "song.mid" << midiFile(s, 0) << "MIDI" << "";
    QTest::newRow("MIDI format 1 .kar") << "song.kar" << midiFile(s, 1) << "MIDI" << "";
    QTest::newRow("MIDI format 2") << "song.mid" << midiFile(s, 1).replace(9, 1, "\x02") << "" << "";
    QTest::newRow("MIDI bytes named .mp3") << "song.mp3" << midiFile(s) << "MIDI" << "";
    QTest::newRow("_MF3") << "song.mf3" << mfxFile("_MF3", s) << "MF3" << "";
    QTest::newRow("_MF4") << "song.mf4" << mfxFile("_MF4", s) << "MF4" << "";
    QTest::newRow("_MF5") << "song.mf5" << mfxFile("_MF5", s) << "MF5" << "";
    QTest::newRow("_MF5 with a 512-byte header") << "song.mf5" << mfxHeader("_MF5", s).left(512) + tail << "" << "";
    QByteArray tooLarge = mfxFile("_MF3", s);
    putLe(tooLarge, 512, 600000, 4);
    QTest::newRow("packed size 600000") << "song.mf3" << tooLarge << "" << expandFailed;
    QTest::newRow("no packed stream") << "song.mf3" << mfxHeader("_MF3", s) << "" << expandFailed;
    QTest::newRow("payload not MIDI") << "song.mf3" << mfxHeader("_MF3", s) + pack("no MIDI at all") << "" << corrupted;
    QByteArray damaged = mfxFile("_MF3", s);
    for (int i = 516; i < 530; ++i)
        damaged[i] = char(~quint8(damaged[i]));
    QTest::newRow("damaged bit stream") << "song.mf3" << damaged << "" << corrupted;
    QTest::newRow("_MF4 payload without room for its three bytes") << "song.mf4"
        << mfxHeader("_MF4", s) + pack("MThd" + be32(6) + bytes({0, 0, 0, 1, 1, 0}) + "MTrk" + be32(1)) << "" << corrupted;
}

void TestMetaSong::import()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, format);
    QFETCH(QString, log);

    LogCapture capture;
    MetaSong meta;
    QCOMPARE(meta.importFile(write(name, data)), !format.isEmpty());
    if (!log.isEmpty())
        QVERIFY2(capture.lines().contains(log), qPrintable(capture.lines().join('\n')));
    SongInfo info;
    meta.getSongInfo(info);
    if (!format.isEmpty())
        QCOMPARE(info.format, format);
}

void TestMetaSong::details_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected"); // with format, isTavrel, MFx long name and flags

    const QString all = "t=Yesterday|a=Beatles|au=Lennon|g=Pop|len=125|bpm=97|k=D|m=1:Intro,17:Chorus 1";
    QTest::newRow("MIDI of the maker") << "mid" << all + "|tav" << all + "|tav";
    QTest::newRow("MIDI of another") << "mid" << all << all;
    QTest::newRow("MF3 of any copyright") << "mf3" << all + "|ln=YESTERDY|flags=185" << all + "|tav|ln=YESTERDY|flags=185";
    QTest::newRow("MF5") << "mf5" << all + "|ln=Y" << all + "|tav|ln=Y";
    QTest::newRow("MP3: no markers") << "mp3" << all + "|tav" << all + "|tav|m=";
}

void TestMetaSong::details()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(QString, expected);

    MetaSong meta;
    QVERIFY(meta.importFile(write("song." + format, fileFor(format, song(file)))));
    SongInfo info = song("alt=stale");
    meta.getSongInfo(info);
    SongInfo want = song(expected);
    want.format = MetaSong::getFormatString(SongInfo::fileTypeEnum(format == "mid" ? 1 : format == "mp3" ? 6 : format.right(1).toInt()));
    QCOMPARE(info, want);
}

void TestMetaSong::merge_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("absent"); // "key length bpm": no such event or frame at all

    const QString full = "t=Song|a=Them|au=Someone|g=Rock|len=200|bpm=120|k=C|m=5:Solo";
    const QString other = "t=Song|a=Main|au=Writer|g=Pop|len=125|bpm=97|k=D|m=1:Intro,9:Verse";
    const QString maker = other + "|tav", negative = maker + "|len=-1|bpm=-1";
    const QString none = "len=0|bpm=0|k=", dashes = "t=-|a=-|au=--|g=-";

    QTest::newRow("mid auto: title extended") << "mid" << full + "|t=YESTERDAY" << maker + "|t=Yesterday (Live)" << false << full + "|t=Yesterday (Live)|a=Main" << "";
    QTest::newRow("mid auto: other title kept") << "mid" << full + "|t=Let It Be" << maker + "|t=Yesterday" << false << full + "|t=Let It Be|a=Main" << "";
    QTest::newRow("mid manual: all but markers") << "mid" << full << maker + "|t=Yesterday" << true << maker + "|t=Yesterday|m=5:Solo" << "";
    QTest::newRow("mid manual: no markers added") << "mid" << "t=Song" << maker << true << maker + "|m=" << "";
    QTest::newRow("mid auto: another's song") << "mid" << "t=Song" << other << false << other + "|" + none << "key length bpm";
    QTest::newRow("mid auto: the maker's song") << "mid" << "t=Song" << maker << false << maker << "";
    QTest::newRow("mid auto: negative numbers") << "mid" << "t=Song" << negative << false << maker + "|len=0|bpm=0" << "length bpm";
    QTest::newRow("mid auto: present details kept") << "mid" << full << maker << false << full + "|a=Main" << "";
    QTest::newRow("mf4 auto: placeholders, tempo 0") << "mf4" << dashes << other << false << other + "|len=0|k=|flags=1" << "key length";
    QTest::newRow("mf3 auto: \"--\" placeholders") << "mf3" << "t=--|a=--|au=--|g=--" << maker << false << maker + "|flags=1" << "";
    QTest::newRow("mf4 auto: real fields kept") << "mf4" << full + "|flags=4" << maker << false << full + "|a=Main|flags=5" << "";
    QTest::newRow("mf5 auto: tempo 500 replaced") << "mf5" << full + "|bpm=500" << maker << false << full + "|a=Main|bpm=97|flags=1" << "";
    QTest::newRow("mf4 auto: negative numbers") << "mf4" << dashes << negative << false << maker + "|bpm=0|len=0|flags=1" << "length";
    QTest::newRow("mf4 manual: all but markers") << "mf4" << full + "|flags=4" << maker << true << maker + "|m=5:Solo|flags=5" << "";
    QTest::newRow("mf4 manual: no markers, no flag") << "mf4" << full + "|flags=4" << maker + "|m=" << true << maker + "|m=5:Solo|flags=4" << "";
    QTest::newRow("mp3 auto: another's song") << "mp3" << "t=Mine" << other << false << other + "|t=Mine|m=|" + none << "key length bpm";
    QTest::newRow("mp3 auto: the maker's song") << "mp3" << "" << maker << false << maker + "|m=" << "";
    QTest::newRow("mp3 auto: present frames kept") << "mp3" << full << maker << false << full + "|a=Main|m=" << "";
    QTest::newRow("mp3 manual") << "mp3" << full << maker << true << maker + "|m=" << "";
}

void TestMetaSong::merge()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(QString, record);
    QFETCH(bool, manual);
    QFETCH(QString, expected);
    QFETCH(QString, absent);

    const QString path = write("song." + format, fileFor(format, song(file)));
    MetaSong meta;
    QVERIFY(meta.importFile(path));
    LogCapture capture;
    meta.setSongInfo(song(record), manual);
    QCOMPARE(capture.lines(), QStringList({QString("[MetaSong] setSongInfo, manual:  %1").arg(manual ? "true" : "false"), ""}));
    QVERIFY(meta.saveToFile(path));

    MetaSong again;
    QVERIFY(again.importFile(path));
    SongInfo got, want = song(expected);
    again.getSongInfo(got);
    QCOMPARE(got.title, want.title);
    QCOMPARE(got.artist, want.artist);
    QCOMPARE(got.author, want.author);
    QCOMPARE(got.genre, want.genre);
    QCOMPARE(got.key, want.key);
    QCOMPARE(got.length, want.length);
    QCOMPARE(got.userBpm, want.userBpm);
    QCOMPARE(got.markers, want.markers);
    QCOMPARE(got.mfxFlags, want.mfxFlags);

    const QByteArray saved = readFile(path);
    bool key, length, bpm = !absent.contains("bpm"); // MFx: the tempo is a header field
    if (format == "mp3") {
        Mp3Header tag;
        QVERIFY(tag.loadHeader(saved));
        QCOMPARE(saved.count("XEDT"), 1); // added in both modes
        key = tag.hasKey(), length = tag.hasLength(), bpm = tag.hasUserBpm();
    } else {
        QByteArray image = saved;
        if (format != "mid") {
            LzHuff().expand(saved.mid(headerLength(saved.left(4))), image);
            image.remove(format == "mf4" ? image.indexOf("MTrk") + 8 : 0, format == "mf4" ? 3 : 0);
        }
        RawMidiFile midi;
        QVERIFY(midi.loadData(image));
        key = midi.hasKey(), length = midi.hasLength();
        if (format == "mid")
            bpm = midi.hasUserBpm();
    }
    QCOMPARE(key, !absent.contains("key"));
    QCOMPARE(length, !absent.contains("length"));
    QCOMPARE(bpm, !absent.contains("bpm"));
}

void TestMetaSong::artistRule_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file"); // the file's artist item
    QTest::addColumn<QString>("record");
    QTest::addColumn<QStringList>("expected"); // after each of three synchronisations

    for (const QString fmt : {"mid", "mf4", "mp3"}) {
        auto row = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(fmt + ": " + name)) << fmt; };
        row("none in the file, alternative preferred") << "" << "a=Main|alt=Alt" << QStringList{"Alt", "Alt", "Alt"};
        row("none in the file, no alternative") << "" << "a=Main" << QStringList{"Main", "Main", "Main"};
        row("file holds the alternative") << "a=Alt" << "a=Main|alt=Alt" << QStringList{"Alt", "Alt", "Alt"};
        row("no alternative") << "a=Other" << "a=Main" << QStringList{"Main", "Main", "Main"};
        row("file holds the artist") << "a=Main" << "a=Main|alt=Alt" << QStringList{"Alt", "Alt", "Alt"};
        row("a third name alternates") << "a=Other" << "a=Main|alt=Alt" << QStringList{"Main", "Alt", "Alt"};
        row("empty counts as none") << "a=" << "a=Main" << QStringList{"Main", "Main", "Main"};
    }
    QTest::newRow("mf4: \"-\" counts as none") << "mf4" << "a=-" << "a=Main|alt=Alt" << QStringList{"Alt", "Alt", "Alt"};
    QTest::newRow("mf3: \"--\" counts as none") << "mf3" << "a=--" << "a=Main" << QStringList{"Main", "Main", "Main"};
}

void TestMetaSong::artistRule()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    QFETCH(QString, record);
    QFETCH(QStringList, expected);

    const QString path = write("song." + format, fileFor(format, song("t=Song|len=9|bpm=9|k=C|" + file)));
    QStringList seen;
    for (int sync = 0; sync < 3; ++sync) {
        MetaSong meta, again;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song("t=Song|tav|" + record), false);
        QVERIFY(meta.saveToFile(path));
        QVERIFY(again.importFile(path));
        SongInfo info;
        again.getSongInfo(info);
        seen << info.artist;
    }
    QCOMPARE(seen, expected);

    // Manual mode writes the artist as given.
    MetaSong meta, again;
    QVERIFY(meta.importFile(path));
    meta.setSongInfo(song("a=Typed|alt=Alt"), true);
    QVERIFY(meta.saveToFile(path) && again.importFile(path));
    SongInfo info;
    again.getSongInfo(info);
    QCOMPARE(info.artist, QString("Typed"));
}

QTEST_GUILESS_MAIN(TestMetaSong)
#include "tst_metasong.moc"
