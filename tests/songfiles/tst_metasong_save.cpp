// Saving song files through MetaSong: the "_MF4" cycle, MP3 tags that change
// size, permissions, the immutable-flag program, readers of other programs,
// and saves that fail part way, which must leave the song as it was.
#include "platform/platform.h"
#include "songfiles/metasong.h"
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

const QString kDetails = "t=Yesterday|a=Beatles|au=Lennon|g=Pop|len=125|bpm=97|k=D|m=1:Intro,9:Verse|tav";

bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = p.readAllStandardOutput() + p.readAllStandardError();
    return ok;
}

// The Debian python3 (with python3-mido and python3-mutagen) before any other.
QString python3()
{
    return QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : QStandardPaths::findExecutable("python3");
}

mode_t modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

}

class TestMetaSongSave : public QObject
{
    Q_OBJECT

private slots:
    void init() { dir.reset(new QTemporaryDir); }
    void mf4Cycle_data();
    void mf4Cycle();
    void mp3Save_data();
    void mp3Save();
    void failedSaveKeepsSong_data();
    void failedSaveKeepsSong();
    void removeReadOnlyFlag_data();
    void removeReadOnlyFlag();
    void independentReaders();

private:
    QScopedPointer<QTemporaryDir> dir;
};

void TestMetaSongSave::mf4Cycle_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::newRow("FF 00 FF") << QByteArray("\xFF\x00\xFF", 3);
    QTest::newRow("other bytes") << QByteArray("\x00\x01\x02", 3);
}

void TestMetaSongSave::mf4Cycle()
{
    QFETCH(QByteArray, extra);
    const QString path = dir->filePath("song.mf4");
    const QByteArray original = mfxFile("_MF4", song(kDetails + "|flags=1"), extra);
    QVERIFY(writeFile(path, original));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    SongInfo same;
    meta.getSongInfo(same);
    meta.setSongInfo(same, false);
    QVERIFY(meta.saveToFile(path));

    const QByteArray saved = readFile(path);
    QByteArray image;
    QVERIFY(LzHuff().expand(saved.mid(512), image));
    QCOMPARE(image.mid(image.indexOf("MTrk") + 8, 3), QByteArray("\xFF\x00\xFF", 3));
    QByteArray header = original.left(512); // unchanged but for the two sizes
    putLe(header, 4, quint32(saved.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    QCOMPARE(saved.left(512), header);
    if (extra == "\xFF\x00\xFF")
        QCOMPARE(saved, original); // nothing to change: the very same bytes
    QCOMPARE(entries(dir->path()), QStringList{"song.mf4"});
}

void TestMetaSongSave::mp3Save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("userFiles");
    QTest::addColumn<QByteArray>("frames"); // before the text frames

    const QByteArray xedt = id3Frame("XEDT", QByteArray(2, '\0'));
    QByteArray picture(1500000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i % 253);
    QTest::newRow("tag grows by 100 bytes") << "song.mp3" << QStringList{"song.tmp"} << xedt;
    QTest::newRow("no extension") << "songmp3" << QStringList{"songmp3.tmp", "song.tmp"} << xedt;
    QTest::newRow("cover picture beyond 1,000,000 bytes")
        << "cover.mp3" << QStringList() << id3Frame("APIC", picture) + xedt;
}

void TestMetaSongSave::mp3Save()
{
    QFETCH(QString, name);
    QFETCH(QStringList, userFiles);
    QFETCH(QByteArray, frames);

    const QString path = dir->filePath(name);
    SongInfo s = song(kDetails);
    const QByteArray audio = mpegAudio(300); // several copy pieces
    const QByteArray original = id3Tag(s, frames) + audio;
    QVERIFY(writeFile(path, original));
    for (const QString& f : userFiles)
        QVERIFY(writeFile(dir->filePath(f), f.toUtf8()));

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    s.title += QString(100, 'x'); // every other frame is rewritten at its own size
    meta.setSongInfo(s, true);
    QVERIFY(meta.saveToFile(path));

    const QByteArray saved = readFile(path);
    QCOMPARE(saved.size(), original.size() + 100);
    QCOMPARE(saved.right(audio.size()), audio);
    QVERIFY(saved.contains(frames));
    QStringList expected = QStringList(userFiles) << name, found = entries(dir->path());
    expected.sort();
    found.sort();
    QCOMPARE(found, expected); // no temporary file left, the user's own untouched
    for (const QString& f : userFiles)
        QCOMPARE(readFile(dir->filePath(f)), f.toUtf8());
    MetaSong again;
    QVERIFY(again.importFile(path));
    SongInfo info;
    again.getSongInfo(info);
    QCOMPARE(info.title, s.title);
}

void TestMetaSongSave::failedSaveKeepsSong_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fault");
    for (const char* f : {"mid", "mf4", "mp3"})
        for (const char* fault : {"read-only folder", "full disk", "vanished folder", "immutable song"})
            QTest::newRow(qPrintable(QString("%1, %2").arg(f, fault))) << f << fault;
}

// Each fault stops the save at another step:
// - read-only folder: no temporary file can be made. Permission bits do not
//   stop root, so as root the folder is made immutable (chattr +i) instead.
// - full disk: the process may write at most 2 KB per file (RLIMIT_FSIZE), so
//   writes fail part way, as on a full memory (EFBIG standing in for ENOSPC).
// - vanished folder: the memory is gone after the import (folder moved away).
// - immutable song: the song may not be replaced (chattr +i, root only; with
//   no chflags on the system nothing clears the flag).
// Then the fault is removed and the same object saves, keeping the song's mode.
void TestMetaSongSave::failedSaveKeepsSong()
{
    QFETCH(QString, format);
    QFETCH(QString, fault);
    const QString folder = dir->filePath("memory"), path = folder + "/song." + format;
    QVERIFY(QDir().mkpath(folder));
    const QByteArray original = fileFor(format, song(kDetails), 3000);
    QVERIFY(original.size() > 4096);
    QVERIFY(writeFile(path, original));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);

    MetaSong meta;
    QVERIFY(meta.importFile(path));
    meta.setSongInfo(song(kDetails + "|t=Changed|a=" + QString(60, 'a')), true);

    LogCapture capture;
    bool saved = true;
    if (fault == "read-only folder" && geteuid() != 0) {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        saved = meta.saveToFile(path);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    } else if (fault == "read-only folder" || fault == "immutable song") {
        const QString target = fault == "immutable song" ? path : folder;
        if (fault == "immutable song" && !Platform::chflagsProgram().isEmpty())
            QSKIP("chflags clears the flag on this system");
        if (geteuid() != 0 || !run("chattr", {"+i", target}))
            QSKIP("chattr +i needs root and a file system with that flag");
        saved = meta.saveToFile(path);
        QVERIFY(run("chattr", {"-i", target}));
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
        const QString moved = dir->filePath("elsewhere");
        QVERIFY(QDir().rename(folder, moved));
        saved = meta.saveToFile(path);
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QDir().rename(moved, folder));
    }

    QVERIFY(!saved);
    QVERIFY2(!capture.lines().filter("[MetaSong::saveToFile] Impossible").isEmpty(),
             qPrintable(capture.lines().join('\n')));
    QCOMPARE(readFile(path), original);
    QCOMPARE(entries(folder), QStringList{"song." + format});
    QCOMPARE(modeOf(path), mode_t(0444));

    QVERIFY(meta.saveToFile(path));
    QCOMPARE(modeOf(path), mode_t(0444));
    QCOMPARE(entries(folder), QStringList{"song." + format});
    MetaSong again;
    QVERIFY(again.importFile(path));
    SongInfo info;
    again.getSongInfo(info);
    QCOMPARE(info.title, QString("Changed"));
}

void TestMetaSongSave::removeReadOnlyFlag_data()
{
    QTest::addColumn<QByteArray>("script"); // empty: no chflags on the PATH
    QTest::addColumn<QString>("log");

    const QByteArray record = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n";
    QTest::newRow("finishes") << record << "remove read only flag: OK";
    QTest::newRow("exit status not examined") << record + "exit 1\n" << "remove read only flag: OK";
    QTest::newRow("cannot start") << QByteArray("#!/nonexistent/interpreter\n") << "remove read only flag: ERROR";
    QTest::newRow("no chflags") << QByteArray() << "remove read only flag: no chflags command, nothing to clear";
}

void TestMetaSongSave::removeReadOnlyFlag()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, log);

    const QString bin = dir->filePath("bin"), stub = bin + "/chflags";
    QVERIFY(QDir().mkpath(bin));
    if (!script.isEmpty()) {
        QVERIFY(writeFile(stub, script));
        QVERIFY(QFile::setPermissions(stub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", script.isEmpty() ? bin.toLocal8Bit() : bin.toLocal8Bit() + ":" + savedPath);

    const QString path = dir->filePath("My Song -x.mid");
    QVERIFY(writeFile(path, midiFile(song(kDetails))));
    MetaSong meta;
    bool imported = meta.importFile(path), saved = false;
    LogCapture capture;
    saved = imported && meta.saveToFile(path); // cleared before the save, which goes on either way
    qputenv("PATH", savedPath);

    QVERIFY(saved);
    QCOMPARE(capture.lines().filter("remove read only flag"), QStringList{log});
    if (log.endsWith("OK"))
        QCOMPARE(readFile(stub + ".args"), QFile::encodeName("nouchg\n" + path + "\n"));
}

void TestMetaSongSave::independentReaders()
{
    const QString python = python3();
    if (python.isEmpty() || !run(python, {"-c", "import mido, mutagen"}))
        QSKIP("python3-mido or python3-mutagen is not installed");

    // MIDI edited in both modes plus a debug marker.
    const QString mid = dir->filePath("edited.mid");
    QVERIFY(writeFile(mid, midiFile(SongInfo(), 1)));
    MetaSong midiSong;
    QVERIFY(midiSong.importFile(mid));
    const QString title = QString::fromUtf8("Caff\u00e8 \"Blu\"");
    SongInfo s = song(kDetails), m = song(kDetails + "|len=300|k=Eb");
    s.title = m.title = title;
    midiSong.setSongInfo(s, false);
    midiSong.setSongInfo(m, true);
    QCOMPARE(midiSong.getKeysList().size(), 30);
    LogCapture capture;
    QCOMPARE(midiSong.dbgAddMarker("Outro", 40), 12);
    QCOMPARE(capture.lines(), QStringList({"[MetaSong] addMarker", "Marker added, len=  12",
                                           "-----------------------------------", ""}));
    QVERIFY(midiSong.saveToFile(mid));

    QByteArray out;
    QVERIFY2(run(python, {"-c",
                          "import sys, mido\n"
                          "f = mido.MidiFile(sys.argv[1])\n"
                          "print(f.type, len(f.tracks))\n"
                          "for m in f.tracks[0]:\n"
                          "    if m.type == 'track_name': print(m.name.encode('latin-1').decode('utf-8'))\n"
                          "    if m.type == 'key_signature': print('key', m.key)\n"
                          "    if m.type == 'unknown_meta': print('tag', m.data[0])\n"
                          "print('notes', sum(1 for t in f.tracks for m in t if m.type == 'note_on'))\n",
                          mid}, &out), out.constData());
    QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, QStringList({"1 2", title, "key Eb", "notes 4", "tag 1", "tag 2", "tag 3", "tag 4",
                                 "tag 5", "tag 6", "tag 6", "tag 6"}));

    // MP3 without a tag gets every frame; the audio is still found after it.
    const QString mp3 = dir->filePath("edited.mp3");
    QVERIFY(writeFile(mp3, mpegAudio(40)));
    MetaSong mp3Song;
    QVERIFY(mp3Song.importFile(mp3));
    mp3Song.setSongInfo(m, true);
    QVERIFY(mp3Song.saveToFile(mp3));
    QVERIFY2(run(python, {"-c",
                          "import sys\n"
                          "from mutagen.mp3 import MP3\n"
                          "f = MP3(sys.argv[1])\n"
                          "for k in ['TIT2', 'TPE1', 'TCOM', 'TCON', 'TKEY', 'TLEN', 'TBPM']:\n"
                          "    print(str(f.tags[k].text[0]).encode('latin-1').decode('utf-8'))\n"
                          "print(f.tags.version[1], round(f.info.length * 44100 / 1152))\n",
                          mp3}, &out), out.constData());
    QCOMPARE(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts),
             QStringList({title, "Beatles", "Lennon", "Pop", "Eb", "300000", "97", "3 40"}));
}

QTEST_GUILESS_MAIN(TestMetaSongSave)
#include "tst_metasong_save.moc"
