// MetaSong: recognising song files, reading their details, merging new
// details in automatic and manual mode, and saving safely.
#include "platform/platform.h"
#include "songfiles/metasong.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "tst_metasong_helpers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace SongBytes;

namespace {

const QString kDetails = "t=Yesterday|a=Beatles|au=Lennon|g=Pop|len=125|bpm=97|k=D|m=1:Intro,9:Verse|tav";

// Mode 0444 (the "user" flags tell what the running user may do, not the mode).
const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions notUser = ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

SongInfo readBack(const QString& path)
{
    MetaSong meta;
    SongInfo info;
    if (meta.importFile(path))
        meta.getSongInfo(info);
    return info;
}

} // namespace

class TestMetaSong : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> dir;
    QString write(const QString& name, const QByteArray& data)
    {
        writeFile(dir->filePath(name), data);
        return dir->filePath(name);
    }

private slots:
    void init() { dir.reset(new QTemporaryDir); }

    void import_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("format"); // empty: refused
        const SongInfo s = song("t=Yesterday|a=Beatles|k=D|len=125|m=1:Intro");
        const QByteArray mp3 = fileFor("mp3", s), tail(64, 'x');
        QTest::newRow("ID3 named .mp3") << "song.mp3" << mp3 << "MP3";
        QTest::newRow("ID3 named .wav") << "song.wav" << mp3 << "";
        QTest::newRow("RIFF named .mp3") << "song.mp3" << "RIFF" + tail << "";
        QTest::newRow("FF FB, upper-case name") << "SONG.MP3" << mpegAudio(2) << "MP3";
        QTest::newRow("FF F2") << "a.mp3" << bytes({0xFF, 0xF2}) + tail << "";
        QTest::newRow("FF 7F") << "a.mp3" << bytes({0xFF, 0x7F}) + tail << "MP3";
        QTest::newRow("two zero bytes") << "a.mp3" << bytes({0, 0, 0x12}) + tail << "MP3";
        QTest::newRow("tag larger than the file") << "a.mp3" << "ID3" + bytes({3, 0, 0}) + synchsafe(5000) + tail << "";
        QTest::newRow("MIDI named .mp3") << "song.mp3" << midiFile(s) << "MIDI";
        QTest::newRow("_MF5 with a 512-byte header") << "song.mf5" << mfxHeader("_MF5", s).left(512) + tail << "";
        QByteArray tooLarge = mfxFile("_MF3", s);
        putLe(tooLarge, 512, 600000, 4);
        QTest::newRow("packed size 600000") << "song.mf3" << tooLarge << "";
        QTest::newRow("payload not MIDI") << "song.mf3" << mfxHeader("_MF3", s) + pack("no MIDI at all") << "";
        QByteArray damaged = mfxFile("_MF3", s);
        for (int i = 516; i < 530; ++i)
            damaged[i] = char(~quint8(damaged[i]));
        QTest::newRow("damaged bit stream") << "song.mf3" << damaged << "";
        QTest::newRow("_MF4 payload without room for its three bytes") << "song.mf4"
            << mfxHeader("_MF4", s) + pack("MThd" + be32(6) + bytes({0, 0, 0, 1, 1, 0}) + "MTrk" + be32(1)) << "";
    }
    void import()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QString, format);
        MetaSong meta;
        QCOMPARE(meta.importFile(write(name, data)), !format.isEmpty());
        SongInfo info;
        meta.getSongInfo(info);
        QCOMPARE(info.format, format.isEmpty() ? info.format : format);
    }

    void merge_data()
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
        QTest::newRow("mid auto: negative numbers") << "mid" << "t=Song" << negative << false << maker + "|len=0|bpm=0" << "length bpm";
        QTest::newRow("mf4 auto: placeholders, tempo 0") << "mf4" << dashes << other << false << other + "|len=0|k=|flags=1" << "key length";
        QTest::newRow("mf3 auto: \"--\" placeholders") << "mf3" << "t=--|a=--|au=--|g=--" << maker << false << maker + "|flags=1" << "";
        QTest::newRow("mf4 auto: real fields kept") << "mf4" << full + "|flags=4" << maker << false << full + "|a=Main|flags=5" << "";
        QTest::newRow("mf5 auto: tempo 500 replaced") << "mf5" << full + "|bpm=500" << maker << false << full + "|a=Main|bpm=97|flags=1" << "";
        QTest::newRow("mf4 manual: no markers, no flag") << "mf4" << full + "|flags=4" << maker + "|m=" << true << maker + "|m=5:Solo|flags=4" << "";
        QTest::newRow("mp3 auto: another's song") << "mp3" << "t=Mine" << other << false << other + "|t=Mine|m=|" + none << "key length bpm";
        QTest::newRow("mp3 auto: the maker's song") << "mp3" << "" << maker << false << maker + "|m=" << "";
        QTest::newRow("mp3 auto: present frames kept") << "mp3" << full << maker << false << full + "|a=Main|m=" << "";
        QTest::newRow("mp3 manual") << "mp3" << full << maker << true << maker + "|m=" << "";
    }
    void merge()
    {
        QFETCH(QString, format);
        QFETCH(QString, file);
        QFETCH(QString, record);
        QFETCH(bool, manual);
        QFETCH(QString, expected);
        QFETCH(QString, absent);
        // "_MF4": three bytes other than FF 00 FF after the first track's length field.
        const QString path = write("song." + format, format == "mf4" ? mfxFile("_MF4", song(file), QByteArray("\0\1\2", 3))
                                                                     : fileFor(format, song(file)));
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song(record), manual);
        QVERIFY(meta.saveToFile(path));

        const SongInfo got = readBack(path);
        SongInfo want = song(expected);
        want.format = got.format;
        want.isTavrel = got.isTavrel;
        want.mfxLongName = got.mfxLongName;
        QCOMPARE(got, want);

        // Removed details leave no event or frame behind (an MFx tempo is a
        // header field); an MFx size field holds the file's length.
        const QByteArray saved = readFile(path);
        QStringList missing;
        if (format == "mp3") {
            Mp3Header tag;
            QVERIFY(tag.loadHeader(saved));
            QCOMPARE(saved.count("XEDT"), 1); // added in both modes
            missing << (tag.hasKey() ? "" : "key") << (tag.hasLength() ? "" : "length") << (tag.hasUserBpm() ? "" : "bpm");
        } else {
            QByteArray image = saved;
            if (format != "mid") {
                QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + 4), quint32(saved.size()));
                QVERIFY(LzHuff().expand(saved.mid(headerLength(saved.left(4))), image));
            }
            if (format == "mf4") { // the three bytes come back as FF 00 FF
                QCOMPARE(image.mid(image.indexOf("MTrk") + 8, 3), QByteArray("\xFF\x00\xFF", 3));
                image.remove(image.indexOf("MTrk") + 8, 3);
            }
            RawMidiFile midi;
            QVERIFY(midi.loadData(image));
            missing << (midi.hasKey() ? "" : "key") << (midi.hasLength() ? "" : "length")
                    << (midi.hasUserBpm() || format != "mid" ? "" : "bpm");
        }
        missing.removeAll("");
        QCOMPARE(missing.join(' '), absent);
    }

    // The artist rule over three synchronisations in automatic mode, then
    // manual mode writing the artist as given.
    void artistRule_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("file"); // the file's artist item
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("expected");
        for (const QString fmt : {"mid", "mf4", "mp3"}) {
            auto row = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(fmt + ": " + name)) << fmt; };
            row("none in the file, alternative preferred") << "" << "a=Main|alt=Alt" << "Alt Alt Alt";
            row("none in the file, no alternative") << "a=" << "a=Main" << "Main Main Main";
            row("file holds the alternative") << "a=Alt" << "a=Main|alt=Alt" << "Alt Alt Alt";
            row("no alternative") << "a=Other" << "a=Main" << "Main Main Main";
            row("file holds the artist") << "a=Main" << "a=Main|alt=Alt" << "Alt Alt Alt";
            row("a third name alternates") << "a=Other" << "a=Main|alt=Alt" << "Main Alt Alt";
        }
        QTest::newRow("mf4: \"-\" counts as none") << "mf4" << "a=-" << "a=Main|alt=Alt" << "Alt Alt Alt";
    }
    void artistRule()
    {
        QFETCH(QString, format);
        QFETCH(QString, file);
        QFETCH(QString, record);
        QFETCH(QString, expected);
        const QString path = write("song." + format, fileFor(format, song("t=Song|len=9|bpm=9|k=C|" + file)));
        QStringList seen;
        for (int sync = 0; sync < 4; ++sync) {
            MetaSong meta;
            QVERIFY(meta.importFile(path));
            meta.setSongInfo(song(sync < 3 ? "t=Song|tav|" + record : "a=Typed|alt=Alt"), sync == 3);
            QVERIFY(meta.saveToFile(path));
            seen << readBack(path).artist;
        }
        QCOMPARE(seen.join(' '), expected + " Typed");
    }

    void mp3Save_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("frames"); // before the text frames
        const QByteArray xedt = id3Frame("XEDT", QByteArray(2, '\0'));
        QByteArray picture(1500000, '\0');
        for (int i = 0; i < picture.size(); ++i)
            picture[i] = char(i % 253);
        QTest::newRow("tag grows by 100 bytes") << "song.mp3" << xedt;
        QTest::newRow("no extension") << "songmp3" << xedt;
        QTest::newRow("cover beyond 1,000,000 bytes") << "cover.mp3" << id3Frame("APIC", picture) + xedt;
    }
    void mp3Save()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, frames);
        SongInfo s = song(kDetails);
        const QByteArray audio = mpegAudio(300), original = id3Tag(s, frames) + audio;
        const QString path = write(name, original);
        write("song.tmp", "mine"); // the user's own files, never touched
        write(name + ".tmp", "mine too");
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        s.title += QString(100, 'x');
        meta.setSongInfo(s, true);
        QVERIFY(meta.saveToFile(path));
        const QByteArray saved = readFile(path);
        QCOMPARE(saved.size(), original.size() + 100);
        QVERIFY(saved.endsWith(audio) && saved.contains(frames));
        QCOMPARE(entries(dir->path()).size(), 3); // no temporary file left
        QCOMPARE(readFile(dir->filePath("song.tmp")) + readFile(path + ".tmp"), QByteArray("minemine too"));
        QCOMPARE(readBack(path).title, s.title);
    }

    void failedSaveKeepsSong_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("fault");
        for (const char* f : {"mid", "mf4", "mp3"})
            for (const char* fault : {"read-only folder", "full disk", "vanished folder"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(f, fault))) << f << fault;
    }
    // Read-only folder: no temporary file can be made (root, whom permission
    // bits do not stop, gets an immutable folder instead).
    // Full disk: at most 2 KB per file (RLIMIT_FSIZE), writes fail part way.
    // Vanished folder: the memory is gone after the import, no temporary file.
    // Then the fault is removed and the same object saves, keeping the mode.
    void failedSaveKeepsSong()
    {
        QFETCH(QString, format);
        QFETCH(QString, fault);
        const QString folder = dir->filePath("memory"), path = folder + "/song." + format;
        QVERIFY(QDir().mkpath(folder));
        const QByteArray original = fileFor(format, song(kDetails), 3000);
        QVERIFY(original.size() > 4096 && writeFile(path, original));
        QVERIFY(QFile::setPermissions(path, readOnly));
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song(kDetails + "|t=Changed|a=" + QString(60, 'a')), true);

        bool saved = true;
        if (fault == "read-only folder" && geteuid() != 0) {
            QVERIFY(QFile::setPermissions(folder, readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
            saved = meta.saveToFile(path);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else if (fault == "read-only folder") {
            if (QProcess::execute("chattr", {"+i", folder}) != 0)
                QSKIP("chattr +i needs a file system with that flag");
            saved = meta.saveToFile(path);
            QCOMPARE(QProcess::execute("chattr", {"-i", folder}), 0);
        } else if (fault == "full disk") {
            struct rlimit old, small;
            QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
            small = old;
            small.rlim_cur = 2048;
            const auto handler = std::signal(SIGXFSZ, SIG_IGN);
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
            saved = meta.saveToFile(path);
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, handler);
        } else {
            QVERIFY(QDir().rename(folder, dir->filePath("elsewhere")));
            saved = meta.saveToFile(path);
            QVERIFY(QDir().rename(dir->filePath("elsewhere"), folder));
        }
        QVERIFY(!saved);
        QCOMPARE(readFile(path), original);
        QCOMPARE(entries(folder), QStringList{"song." + format});

        QVERIFY(meta.saveToFile(path));
        QCOMPARE(QFile::permissions(path) & notUser, readOnly);
        QCOMPARE(entries(folder), QStringList{"song." + format});
        QCOMPARE(readBack(path).title, QString("Changed"));
    }
    // chflags is run with its arguments before every save; its exit status
    // is not examined.
    void removeReadOnlyFlag_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no chflags on the PATH
        QTest::addColumn<QString>("log");
        const QByteArray record = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit 1\n";
        QTest::newRow("finishes") << record << "remove read only flag: OK";
        QTest::newRow("cannot start") << QByteArray("#!/nonexistent/interpreter\n") << "remove read only flag: ERROR";
        QTest::newRow("no chflags") << QByteArray() << "remove read only flag: no chflags command, nothing to clear";
    }
    void removeReadOnlyFlag()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, log);
        const QString bin = dir->filePath("bin"), stub = bin + "/chflags", path = write("My Song -x.mid", midiFile(song(kDetails)));
        QVERIFY(QDir().mkpath(bin));
        if (!script.isEmpty())
            QVERIFY(writeFile(stub, script) && QFile::setPermissions(stub, QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", script.isEmpty() ? bin.toLocal8Bit() : bin.toLocal8Bit() + ":" + savedPath);
        MetaSong meta;
        const bool imported = meta.importFile(path);
        LogCapture capture;
        const bool saved = imported && meta.saveToFile(path); // the save goes on either way
        qputenv("PATH", savedPath);
        QVERIFY(saved);
        QCOMPARE(capture.lines().filter("remove read only flag"), QStringList{log});
        if (log.endsWith("OK"))
            QCOMPARE(readFile(stub + ".args"), QFile::encodeName("nouchg\n" + path + "\n"));
    }

    // Independent readers accept what the facade wrote: python3-mido a
    // third-party MIDI file, mutagen an untagged MP3.
    void independentReaders()
    {
        const QString source = ORVALO3_SOURCE_DIR "/tests/songfiles/data/midi/be_sharp_bw_redfarn.mid";
        const QString mid = dir->filePath("edited.mid"), mp3 = write("edited.mp3", mpegAudio(40));
        QVERIFY(QFile::copy(source, mid));
        QFile::setPermissions(mid, QFile::ReadOwner | QFile::WriteOwner);
        SongInfo s = song(kDetails + "|len=300|k=Eb|m=1:Intro," + QString(125, QChar(0xE8)));
        s.title = QString::fromUtf8("Perché ") + QString(125, QChar(0x20AC));
        for (const QString& path : {mid, mp3}) {
            MetaSong meta;
            QVERIFY(meta.importFile(path));
            meta.setSongInfo(s, false); // markers are added in automatic mode only
            meta.setSongInfo(s, true);
            QVERIFY(meta.saveToFile(path));
        }
        QByteArray out;
        const int code = runPython({"-c", R"(
import sys, mido
from mutagen.mp3 import MP3
f = mido.MidiFile(sys.argv[1])
music = lambda f: [[m.bytes() + [m.time] for m in t if not m.is_meta] for t in f.tracks]
print(f.type, len(f.tracks), music(f) == music(mido.MidiFile(sys.argv[3])))
for m in f.tracks[0]:
    if m.type == 'key_signature': print('key', m.key)
f = MP3(sys.argv[2])
for k in ['TIT2', 'TPE1', 'TKEY', 'TLEN']:
    print(str(f.tags[k].text[0]).encode('latin-1').decode('utf-8'))
print(f.tags.version[1], round(f.info.length * 44100 / 1152))
)", mid, mp3, source}, &out);
        if (code == -1 || out.contains("ModuleNotFoundError"))
            QSKIP("python3-mido or python3-mutagen is not installed");
        QVERIFY2(code == 0, out.constData());
        QCOMPARE(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts),
                 QStringList({"1 5 True", "key Eb", s.title, "Beatles", "Eb", "300000", "3 40"}));
    }
};

QTEST_GUILESS_MAIN(TestMetaSong)
#include "tst_metasong.moc"
