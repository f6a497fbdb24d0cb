// Saving song files through MetaSong: the "_MF4" cycle, MP3 tags that change
// size, permissions, the immutable-flag program, readers of other programs,
// and saves that fail part way, which must leave the song as it was.
#include "platform/platform.h"
#include "songfiles/metasong.h"
#include "songfiles/mfxheader.h"
#include "tst_metasong_helpers.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace SongBytes;

namespace {

SongInfo details()
{
    SongInfo s;
    s.title = "Yesterday";
    s.artist = "The Beatles";
    s.author = "Lennon";
    s.genre = "Pop";
    s.length = 125;
    s.userBpm = 97;
    s.key = "D";
    s.markers = {Marker{"Intro", 1}, Marker{"Verse", 9}};
    s.isTavrel = true;
    return s;
}

QByteArray songFile(const QString& format)
{
    // Several kilobytes of each format, even packed.
    if (format == "mid")
        return midiFile(details(), 0, 3000);
    if (format == "mp3")
        return mp3File(details(), 40);
    return mfxFile(QByteArray("_") + format.toUpper().toLatin1(), details(), QByteArray("\xFF\x00\xFF", 3), 3000);
}

const QFileDevice::Permissions kModeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
    | QFileDevice::ExeOther;

bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << program << args << p.readAllStandardError();
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    return true;
}

// Puts a folder first on the PATH for the lifetime of the object.
class PathPrefix
{
public:
    explicit PathPrefix(const QString& dir, bool only = false)
        : saved(qgetenv("PATH"))
    {
        qputenv("PATH", only ? dir.toLocal8Bit() : dir.toLocal8Bit() + ":" + saved);
    }
    ~PathPrefix() { qputenv("PATH", saved); }

private:
    QByteArray saved;
};

}

class TestMetaSongSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void mf4Cycle_data();
    void mf4Cycle();
    void mp3TagGrows();
    void mp3PathWithoutExtension();
    void mp3LargeTag();
    void permissionsKept_data();
    void permissionsKept();
    void failedSaveKeepsSong_data();
    void failedSaveKeepsSong();
    void unknownContentRefused();
    void removeReadOnlyFlag_data();
    void removeReadOnlyFlag();
    void independentReaders();

private:
    QString folder(); // a fresh folder for each test row
    QScopedPointer<QTemporaryDir> dir;
};

void TestMetaSongSave::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

QString TestMetaSongSave::folder()
{
    return dir->path();
}

void TestMetaSongSave::mf4Cycle_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::newRow("FF 00 FF") << QByteArray("\xFF\x00\xFF", 3);
    QTest::newRow("other bytes") << QByteArray("\x00\x01\x02", 3);
}

void TestMetaSongSave::mf4Cycle()
{
    QFETCH(QByteArray, extra);
    const QString path = folder() + "/song.mf4";
    SongInfo s = details();
    s.mfxFlags = MfxHeader::MarkersFlag; // the song has markers
    const QByteArray original = mfxFile("_MF4", s, extra);
    QVERIFY(writeFile(path, original));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo same;
    meta.getSongInfo(same);
    meta.setSongInfo(same, false);
    QVERIFY(meta.saveToFile(path));

    const QByteArray saved = readFile(path);
    QCOMPARE(le32At(saved, 4), quint32(saved.size()));
    QByteArray image;
    LzHuff codec;
    QVERIFY(codec.expand(saved.mid(512), image));
    QCOMPARE(le32At(saved, 12), quint32(image.size()));
    const int t = image.indexOf("MTrk");
    QCOMPARE(image.mid(t + 8, 3), QByteArray("\xFF\x00\xFF", 3));
    if (extra == QByteArray("\xFF\x00\xFF", 3)) {
        QCOMPARE(saved, original); // nothing to change: the very same bytes
    } else {
        QByteArray header = original.left(512); // untouched but for the two sizes
        putLe(header, 4, quint32(saved.size()), 4);
        putLe(header, 12, quint32(image.size()), 4);
        QCOMPARE(saved.left(512), header);
    }
    QCOMPARE(entries(folder()), QStringList{"song.mf4"});
}

void TestMetaSongSave::mp3TagGrows()
{
    const QString path = folder() + "/song.mp3";
    SongInfo s = details();
    const QByteArray audio = mpegAudio(300); // more than one copy piece
    const QByteArray original = id3Tag(s, 0, id3Frame("XEDT", QByteArray(2, '\0'))) + audio;
    QVERIFY(writeFile(path, original));
    const QByteArray userTmp = "the user's own file";
    QVERIFY(writeFile(folder() + "/song.tmp", userTmp));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    s.title += QString(100, 'x'); // every other frame rewritten with the same size
    meta.setSongInfo(s, true);
    QVERIFY(meta.saveToFile(path));

    const QByteArray saved = readFile(path);
    QCOMPARE(saved.size(), original.size() + 100);
    QCOMPARE(saved.right(audio.size()), audio);
    QCOMPARE(entries(folder()), QStringList({"song.mp3", "song.tmp"}));
    QCOMPARE(readFile(folder() + "/song.tmp"), userTmp);
}

void TestMetaSongSave::mp3PathWithoutExtension()
{
    const QString path = folder() + "/songmp3";
    const QByteArray audio = mpegAudio(5);
    QVERIFY(writeFile(path, id3Tag(details()) + audio));
    QVERIFY(writeFile(folder() + "/songmp3.tmp", "mine"));
    QVERIFY(writeFile(folder() + "/song.tmp", "mine too"));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo s = details();
    s.title = "Other";
    meta.setSongInfo(s, true);
    QVERIFY(meta.saveToFile(path));

    MetaSong again;
    QVERIFY(again.importFile(path));
    again.getSongInfo(s);
    QCOMPARE(s.title, QString("Other"));
    QVERIFY(readFile(path).endsWith(audio));
    QCOMPARE(entries(folder()), QStringList({"song.tmp", "songmp3", "songmp3.tmp"}));
    QCOMPARE(readFile(folder() + "/songmp3.tmp"), QByteArray("mine"));
    QCOMPARE(readFile(folder() + "/song.tmp"), QByteArray("mine too"));
}

void TestMetaSongSave::mp3LargeTag()
{
    // A cover picture far beyond the first 1,000,000 bytes, before the title.
    QByteArray picture(1500000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i % 253);
    const QByteArray apic = QByteArray("APIC") + be32(quint32(picture.size() + 1)) + bytes({0, 0, 0}) + picture;
    SongInfo s = details();
    const QByteArray audio = mpegAudio(20);
    const QString path = folder() + "/cover.mp3";
    QVERIFY(writeFile(path, id3Tag(s, 0, apic) + audio));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo info;
    meta.getSongInfo(info);
    QCOMPARE(info.title, s.title);
    s.title = "New";
    meta.setSongInfo(s, true);
    QVERIFY(meta.saveToFile(path));

    const QByteArray saved = readFile(path);
    QVERIFY(saved.endsWith(audio));
    QVERIFY(saved.contains(apic));
    MetaSong again;
    QVERIFY(again.importFile(path));
    again.getSongInfo(info);
    QCOMPARE(info.title, QString("New"));
}

void TestMetaSongSave::permissionsKept_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("mode");
    for (const char* f : {"mid", "mf3", "mp3"}) {
        QTest::newRow(qPrintable(QString("%1 0640").arg(f))) << f << 0640;
        QTest::newRow(qPrintable(QString("%1 0444 (read-only)").arg(f))) << f << 0444;
        QTest::newRow(qPrintable(QString("%1 0604").arg(f))) << f << 0604;
    }
}

void TestMetaSongSave::permissionsKept()
{
    QFETCH(QString, format);
    QFETCH(int, mode);
    const QString path = folder() + "/song." + format;
    QVERIFY(writeFile(path, songFile(format)));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
    const QFileDevice::Permissions before = QFile::permissions(path) & kModeBits;

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo s = details();
    s.title = "Changed";
    meta.setSongInfo(s, true);
    QVERIFY(meta.saveToFile(path));

    QCOMPARE(QFile::permissions(path) & kModeBits, before);
    MetaSong again;
    QVERIFY(again.importFile(path));
    again.getSongInfo(s);
    QCOMPARE(s.title, QString("Changed"));
    QCOMPARE(entries(folder()), QStringList{"song." + format});
}

void TestMetaSongSave::failedSaveKeepsSong_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fault");
    for (const char* f : {"mid", "mf4", "mp3"})
        for (const char* fault : {"read-only folder", "full disk", "vanished folder", "immutable song"})
            QTest::newRow(qPrintable(QString("%1, %2").arg(f, fault))) << f << fault;
}

// Each fault stops the save at a different step:
// - read-only folder: the temporary file cannot be created. Permission bits do
//   not stop root, so as root the folder is made immutable (chattr +i) instead.
// - full disk: the process may write at most 2 KB per file (RLIMIT_FSIZE), so
//   the writes fail part way through, as on a full memory (EFBIG for ENOSPC).
// - vanished folder: the memory was removed after the import; nothing exists
//   at the path any more (the song itself is checked where it was moved).
// - immutable song: the final rename over the song is refused (chattr +i on
//   the song, root only; without chflags nothing clears the flag).
void TestMetaSongSave::failedSaveKeepsSong()
{
    QFETCH(QString, format);
    QFETCH(QString, fault);
    const QString songDir = folder() + "/memory";
    QVERIFY(QDir().mkpath(songDir));
    const QString path = songDir + "/song." + format;
    const QByteArray original = songFile(format);
    QVERIFY(original.size() > 4096);
    QVERIFY(writeFile(path, original));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo s = details();
    s.title = "Changed title";
    s.artist = QString(60, 'a');
    meta.setSongInfo(s, true);

    const QByteArray dirName = QFile::encodeName(songDir);
    const QByteArray songName = QFile::encodeName(path);
    QString checkPath = path;
    QString cleanup;
    bool ok = true;
    LogCapture capture;

    if (fault == "read-only folder") {
        if (geteuid() != 0) {
            QVERIFY(::chmod(dirName.constData(), 0555) == 0);
            ok = meta.saveToFile(path);
            ::chmod(dirName.constData(), 0755);
        } else {
            if (!run("chattr", {"+i", songDir}))
                QSKIP("running as root on a file system without chattr +i: no way to make a read-only folder");
            ok = meta.saveToFile(path);
            run("chattr", {"-i", songDir});
        }
    } else if (fault == "full disk") {
        struct rlimit saved;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        struct rlimit small = saved;
        small.rlim_cur = 2048;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        ok = meta.saveToFile(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    } else if (fault == "vanished folder") {
        const QString moved = folder() + "/elsewhere";
        QVERIFY(QDir().rename(songDir, moved));
        ok = meta.saveToFile(path);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFileInfo::exists(songDir));
        QVERIFY(QDir().rename(moved, songDir));
    } else if (fault == "immutable song") {
        if (!Platform::chflagsProgram().isEmpty())
            QSKIP("chflags clears the flag on this system");
        if (geteuid() != 0 || !run("chattr", {"+i", path}))
            QSKIP("chattr +i needs root and a file system that has the flag");
        ok = meta.saveToFile(path);
        run("chattr", {"-i", path});
    }

    QVERIFY(!ok);
    QCOMPARE(readFile(checkPath), original);
    QCOMPARE(entries(songDir), QStringList{"song." + format});
    const QString failures = capture.lines().filter("[MetaSong::saveToFile] Impossible").join('\n');
    QVERIFY2(!failures.isEmpty(), qPrintable(capture.lines().join('\n')));

    // The same object saves once the fault is gone.
    QVERIFY(meta.saveToFile(path));
    MetaSong again;
    QVERIFY(again.importFile(path));
    SongInfo info;
    again.getSongInfo(info);
    QCOMPARE(info.title, QString("Changed title"));
}

void TestMetaSongSave::unknownContentRefused()
{
    const QString path = folder() + "/song.mid";
    QVERIFY(writeFile(path, "MThd is not enough"));
    MetaSong meta;
    QVERIFY(!meta.importFile(path));
    LogCapture capture;
    QVERIFY(!meta.saveToFile(path));
    QCOMPARE(capture.lines(),
             QStringList{"[MetaSong::saveToFile] UNKNOWN format (or data corrupted) in memory, aborting"});
    QCOMPARE(readFile(path), QByteArray("MThd is not enough"));
}

void TestMetaSongSave::removeReadOnlyFlag_data()
{
    QTest::addColumn<QByteArray>("script"); // empty: no chflags on the PATH
    QTest::addColumn<QString>("log");
    QTest::addColumn<bool>("called");

    QTest::newRow("finishes") << QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n")
                              << "remove read only flag: OK" << true;
    QTest::newRow("exit status not examined")
        << QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit 1\n")
        << "remove read only flag: OK" << true;
    QTest::newRow("cannot start") << QByteArray("#!/nonexistent/interpreter\n")
                                  << "remove read only flag: ERROR" << false;
    QTest::newRow("no chflags") << QByteArray()
                                << "remove read only flag: no chflags command, nothing to clear" << false;
}

void TestMetaSongSave::removeReadOnlyFlag()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, log);
    QFETCH(bool, called);

    const QString bin = folder() + "/bin";
    QVERIFY(QDir().mkpath(bin));
    if (!script.isEmpty()) {
        QVERIFY(writeFile(bin + "/chflags", script));
        QVERIFY(QFile::setPermissions(bin + "/chflags", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    PathPrefix path(bin, script.isEmpty());

    const QString song = folder() + "/My Song -x.mid";
    QVERIFY(writeFile(song, midiFile(details())));
    MetaSong meta;
    QVERIFY(meta.importFile(song));
    LogCapture capture;
    QVERIFY(meta.saveToFile(song)); // cleared before every save, and the save goes on
    QCOMPARE(capture.lines().filter("remove read only flag"), QStringList{log});
    if (called)
        QCOMPARE(readFile(bin + "/chflags.args"), QFile::encodeName("nouchg\n" + song + "\n"));
}

void TestMetaSongSave::independentReaders()
{
    const QString python = python3();
    if (python.isEmpty())
        QSKIP("python3 is not installed");

    // MIDI: every detail and a debug marker written through the facade.
    const QString mid = folder() + "/edited.mid";
    QVERIFY(writeFile(mid, midiFile(SongInfo(), 1)));
    MetaSong midiSong;
    QVERIFY(midiSong.importFile(mid));
    SongInfo s = details();
    s.title = "Caffè \"Blu\"";
    midiSong.setSongInfo(s, false);
    s.length = 300;
    midiSong.setSongInfo(s, true);
    QVERIFY(midiSong.dbgAddMarker("Outro", 40) > 0);
    QVERIFY(midiSong.saveToFile(mid));

    const char* midoScript =
        "import sys, mido\n"
        "f = mido.MidiFile(sys.argv[1])\n"
        "print(f.type, len(f.tracks))\n"
        "for m in f.tracks[0]:\n"
        "    if m.type == 'track_name': print('name', m.name.encode('latin-1').decode('utf-8'))\n"
        "    if m.type == 'key_signature': print('key', m.key)\n"
        "    if m.type == 'unknown_meta' and m.type_byte == 0x4B: print('tag', m.data[0])\n"
        "print('notes', sum(1 for t in f.tracks for m in t if m.type == 'note_on'))\n";
    QByteArray out;
    if (!run(python, {"-c", "import mido"}))
        QSKIP("python3-mido is not installed");
    QVERIFY(run(python, {"-c", midoScript, mid}, &out));
    const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), QString("1 2"));
    QVERIFY2(lines.contains(QString::fromUtf8("name Caffè \"Blu\"")), out.constData());
    QVERIFY2(lines.contains("key D"), out.constData());
    QCOMPARE(lines.filter("tag 6").size(), 3); // two markers and the debug one
    QCOMPARE(lines.last(), QString("notes 6"));

    // MP3: every frame written through the facade, audio found after the tag.
    const QString mp3 = folder() + "/edited.mp3";
    QVERIFY(writeFile(mp3, mpegAudio(40)));
    MetaSong mp3Song;
    QVERIFY(mp3Song.importFile(mp3));
    mp3Song.setSongInfo(s, true);
    QVERIFY(mp3Song.saveToFile(mp3));

    const char* mutagenScript =
        "import sys\n"
        "from mutagen.mp3 import MP3\n"
        "f = MP3(sys.argv[1])\n"
        "for k in ['TIT2', 'TPE1', 'TCOM', 'TCON', 'TKEY', 'TLEN', 'TBPM']:\n"
        "    print(k, str(f.tags[k].text[0]).encode('latin-1').decode('utf-8'))\n"
        "print('version', f.tags.version[1], 'frames', round(f.info.length * 44100 / 1152))\n";
    if (!run(python, {"-c", "import mutagen"}))
        QSKIP("python3-mutagen is not installed");
    QVERIFY(run(python, {"-c", mutagenScript, mp3}, &out));
    QCOMPARE(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts),
             QStringList({QString::fromUtf8("TIT2 Caffè \"Blu\""), "TPE1 The Beatles", "TCOM Lennon",
                          "TCON Pop", "TKEY D", "TLEN 300000", "TBPM 97", "version 3 frames 40"}));
}

QTEST_GUILESS_MAIN(TestMetaSongSave)
#include "tst_metasong_save.moc"
