// MetaSong: recognising song files, reading their details, merging new
// details in automatic and manual mode, and saving safely.
#include "platform/platform.h"
#include "songfiles/metasong.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "songfiles/savefaults.h"
#include "tst_metasong_helpers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

struct stat statOf(const QString& path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Gives path the modification (and access) time of `st`, to the nanosecond.
bool setTimes(const QString& path, const struct stat& st)
{
#ifdef __APPLE__
    const timespec times[2] = {st.st_atimespec, st.st_mtimespec};
#else
    const timespec times[2] = {st.st_atim, st.st_mtim};
#endif
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// A user extended attribute (a Finder tag's place on macOS).
#ifdef __APPLE__
const char kAttribute[] = "com.apple.metadata:_kMDItemUserTags";
int setAttribute(const char* path, const char* value, size_t size) { return ::setxattr(path, kAttribute, value, size, 0, 0); }
ssize_t getAttribute(const char* path, char* value, size_t size) { return ::getxattr(path, kAttribute, value, size, 0, 0); }
#else
const char kAttribute[] = "user.colour";
int setAttribute(const char* path, const char* value, size_t size) { return ::setxattr(path, kAttribute, value, size, 0); }
ssize_t getAttribute(const char* path, char* value, size_t size) { return ::getxattr(path, kAttribute, value, size); }
#endif

int run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A small FAT memory mounted through FUSE (root, fusefat, dosfstools): it
// holds no owner, mode, extended attribute or hard link.
struct FatMemory
{
    QTemporaryDir dir;
    QString path = dir.filePath("mnt");
    bool mounted = false;
    FatMemory()
    {
        QFile image(dir.filePath("fat.img"));
        mounted = geteuid() == 0 && image.open(QIODevice::WriteOnly) && image.resize(8 << 20) && QDir().mkpath(path)
            && run("mkfs.vfat", {image.fileName()}) == 0 && run("fusefat", {"-o", "rw+", image.fileName(), path}) == 0;
    }
    ~FatMemory()
    {
        if (mounted)
            run("fusermount", {"-u", path});
    }
};

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
        QTest::addColumn<int>("reason");
        const QList<QPair<const char*, int>> faults = {{"read-only folder", MetaSong::ErrorFolderNotWritable},
            {"full disk", MetaSong::ErrorWriteFailed}, {"vanished folder", MetaSong::ErrorChangedOnDisk}};
        for (const char* f : {"mid", "mf4", "mp3"})
            for (const auto& fault : faults)
                QTest::newRow(qPrintable(QString("%1, %2").arg(f, fault.first))) << f << fault.first << fault.second;
    }
    // Read-only folder: no temporary file can be made (root, whom permission
    // bits do not stop, gets an immutable folder instead).
    // Full disk: at most 2 KB per file (RLIMIT_FSIZE), writes fail part way.
    // Vanished folder: the memory is gone after the import, nothing re-created.
    // Then the fault is removed and the same object saves, keeping the mode.
    void failedSaveKeepsSong()
    {
        QFETCH(QString, format);
        QFETCH(QString, fault);
        QFETCH(int, reason);
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
        QCOMPARE(int(meta.lastError().code), reason);
        QVERIFY(!meta.lastError().text.isEmpty());
        QCOMPARE(readFile(path), original);
        QCOMPARE(entries(folder), QStringList{"song." + format});

        QVERIFY(meta.saveToFile(path));
        QCOMPARE(meta.lastError().code, MetaSong::ErrorNone);
        QCOMPARE(QFile::permissions(path) & notUser, readOnly);
        QCOMPARE(entries(folder), QStringList{"song." + format});
        QCOMPARE(readBack(path).title, QString("Changed"));
    }
    // A song another program changed, replaced (same size and time, or
    // rewritten in place to the same size and time) or deleted since the
    // import is neither saved over nor re-created; a save to another path
    // is not checked.
    void changedOnDisk_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("change");
        for (const char* f : {"mid", "mf3", "mf4", "mf5", "mp3"})
            for (const char* c : {"rewritten", "replaced, same size and time", "same size and time", "deleted", "saved elsewhere"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(f, c))) << f << c;
    }
    void changedOnDisk()
    {
        QFETCH(QString, format);
        QFETCH(QString, change);
        const QString path = write("song." + format, fileFor(format, song(kDetails))), copy = dir->filePath("copy." + format);
        const struct stat before = statOf(path);
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song(kDetails + "|t=Changed"), true);

        // Theirs: another title of the same length, or a longer one.
        QByteArray theirs = fileFor(format, song(kDetails + (change == "rewritten" ? "|t=Their song" : "|t=Yesteryea")));
        QVERIFY(change == "rewritten" || theirs.size() == before.st_size);
        if (change == "replaced, same size and time") {
            const QString fresh = write("fresh", theirs);
            QVERIFY(setTimes(fresh, before));
            QCOMPARE(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()), 0);
        } else if (change == "deleted") {
            QVERIFY(QFile::remove(path));
            theirs.clear();
        } else {
            QVERIFY(QFile::copy(path, copy));
            QVERIFY(writeFile(path, theirs));
            if (change != "rewritten")
                QVERIFY(setTimes(path, before));
        }

        const bool elsewhere = change == "saved elsewhere";
        QCOMPARE(meta.saveToFile(elsewhere ? copy : path), elsewhere);
        QCOMPARE(meta.lastError().code, elsewhere ? MetaSong::ErrorNone : MetaSong::ErrorChangedOnDisk);
        QCOMPARE(readFile(path), theirs);
        QCOMPARE(QFile::exists(path), !theirs.isEmpty());
        if (elsewhere)
            QCOMPARE(readBack(copy).title, QString("Changed"));
    }

    // Extended attributes, hard links, symbolic links, owner and mode of a
    // song survive its save, and so do names of 255 bytes; a FAT memory that
    // holds none of them saves all the same. A read-only song with two links
    // is replaced: its other link keeps the old song.
    void keptThroughSave_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("kind");
        for (const char* f : {"mid", "mf5", "mp3"})
            for (const char* k : {"extended attribute", "hard link", "read-only hard link", "symbolic link", "owner",
                                  "mode", "255-byte name", "FAT memory"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(f, k))) << f << k;
    }
    void keptThroughSave()
    {
        QFETCH(QString, format);
        QFETCH(QString, kind);
        QScopedPointer<FatMemory> fat(kind == "FAT memory" ? new FatMemory : nullptr);
        if (fat && !fat->mounted)
            QSKIP("a FAT memory needs root, /dev/fuse, fusefat and dosfstools");
        if (kind == "owner" && geteuid() != 0)
            QSKIP("only root may give a file to another owner");
        const QString folder = fat ? fat->path : dir->path();
        const QString name = kind == "255-byte name" ? QString(100, QChar(0xE8)) + QString(51, 'x') + "." + format : "song." + format;
        QCOMPARE(QFile::encodeName(name).size(), kind == "255-byte name" ? 255 : 8);
        const QString path = folder + "/" + name, other = folder + "/other." + format, link = folder + "/link." + format;
        const QByteArray original = fileFor(format, song(kDetails), 300);
        QVERIFY(writeFile(path, original));
        const QByteArray file = QFile::encodeName(path);
        QStringList names = {name};
        if (kind.endsWith("hard link")) {
            QCOMPARE(::link(file.constData(), QFile::encodeName(other).constData()), 0);
            names << "other." + format;
        }
        if (kind == "symbolic link") {
            QVERIFY(QFile::link(path, link));
            names << "link." + format;
        }
        if (kind == "extended attribute" && setAttribute(file.constData(), "red", 3) != 0)
            QSKIP("this file system holds no user extended attributes");
        if (kind == "owner")
            QCOMPARE(::chown(file.constData(), 1234, 5678), 0);
        if (kind == "mode" || kind.startsWith("read-only"))
            QCOMPARE(::chmod(file.constData(), kind == "mode" ? 02640 : 0444), 0);
        const struct stat before = statOf(path);

        MetaSong meta;
        QVERIFY(meta.importFile(kind == "symbolic link" ? link : path));
        meta.setSongInfo(song(kDetails + "|t=Changed"), true);
        QVERIFY(meta.saveToFile(kind == "symbolic link" ? link : path));
        const struct stat after = statOf(path);
        QCOMPARE(readBack(path).title, QString("Changed"));
        names.sort();
        QCOMPARE(entries(folder), names);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        if (kind == "extended attribute") {
            char value[8] = {};
            QCOMPARE(int(getAttribute(file.constData(), value, sizeof value)), 3);
            QCOMPARE(QByteArray(value), QByteArray("red"));
        }
        if (kind.endsWith("hard link")) {
            QCOMPARE(after.st_ino == before.st_ino, kind == "hard link");
            QCOMPARE(readBack(other).title, QString(kind == "hard link" ? "Changed" : "Yesterday"));
        }
        if (kind == "symbolic link")
            QCOMPARE(QFileInfo(link).symLinkTarget(), path);
    }

    // A failed write, flush, close or rename is reported and leaves the song
    // as it was, also when a song with two links is saved in place. When
    // even putting it back fails, its copy stays: the next import reports
    // it, and no save goes over it.
    void injectedFaults_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("times");
        for (const char* f : {"mid", "mf4", "mp3"}) {
            auto row = [&](const char* name, bool linked, int op, int nth, int times = 1) {
                QTest::newRow(qPrintable(QString("%1, %2").arg(f, name))) << f << linked << op << nth << times;
            };
            row("write", false, SaveFaults::Write, 1);
            row("flush", false, SaveFaults::Flush, 1);
            row("close", false, SaveFaults::Close, 1);
            row("rename", false, SaveFaults::Rename, 1);
            row("in place, copy not written", true, SaveFaults::Write, 1);
            row("in place, song not written", true, SaveFaults::Write, 2);
            row("in place, song not flushed", true, SaveFaults::Flush, 2);
            row("in place, song not closed", true, SaveFaults::Close, 2);
            row("in place, song not put back", true, SaveFaults::Write, 2, -1);
        }
        QTest::newRow("mp3, audio not written") << "mp3" << false << int(SaveFaults::Write) << 2 << 1;
        QTest::newRow("mp3, in place, audio not written") << "mp3" << true << int(SaveFaults::Write) << 3 << 1;
    }
    void injectedFaults()
    {
        QFETCH(QString, format);
        QFETCH(bool, linked);
        QFETCH(int, operation);
        QFETCH(int, nth);
        QFETCH(int, times);
        const QByteArray original = fileFor(format, song(kDetails), 3000);
        const QString path = write("song." + format, original), other = dir->filePath("other." + format);
        QVERIFY(linked ? ::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) == 0
                       : QFile::setPermissions(path, readOnly));
        const struct stat before = statOf(path);
        QStringList names = linked ? QStringList{"other." + format, "song." + format} : QStringList{"song." + format};
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song(kDetails + "|t=Changed"), true);

        SaveFaults::arm(SaveFaults::Operation(operation), nth, times);
        const bool saved = meta.saveToFile(path);
        SaveFaults::disarm();
        QVERIFY(!saved);
        QCOMPARE(meta.lastError().code, MetaSong::ErrorWriteFailed);
        QCOMPARE(readFile(path), original);
        QCOMPARE(statOf(path).st_ino, before.st_ino);
        QCOMPARE(statOf(path).st_mode, before.st_mode);
        const bool kept = times < 0;
        const QString copy = dir->filePath(".song." + format + ".orvalo3-copy");
        QCOMPARE(entries(dir->path()), kept ? QStringList{copy.section('/', -1)} + names : names);

        MetaSong again;
        QVERIFY(again.importFile(path));
        QCOMPARE(again.leftoverCopy(), kept ? copy : QString());
        if (kept) {
            QCOMPARE(readFile(copy), original);
            QVERIFY(!meta.saveToFile(path));
            QCOMPARE(readFile(path), original);
            QVERIFY(QFile::remove(copy));
        }
        QVERIFY(meta.saveToFile(path));
        QCOMPARE(statOf(path).st_ino == before.st_ino, linked);
        QCOMPARE(readBack(linked ? other : path).title, QString("Changed"));
    }

    // An MFx song whose new details would unpack past the 500,000 bytes the
    // format holds is not saved: it could never be read back.
    void mfxSizeLimit_data()
    {
        QTest::addColumn<QByteArray>("magic");
        QTest::addColumn<int>("over"); // bytes past the limit after the edit
        QTest::newRow("mf3 at the limit") << QByteArray("_MF3") << 0;
        QTest::newRow("mf3 one byte past") << QByteArray("_MF3") << 1;
        QTest::newRow("mf4, its three bytes count") << QByteArray("_MF4") << 1;
        QTest::newRow("mf5 at the limit") << QByteArray("_MF5") << 0;
    }
    void mfxSizeLimit()
    {
        QFETCH(QByteArray, magic);
        QFETCH(int, over);
        const int limit = 500000, extra = magic == "_MF4" ? 3 : 0;
        // The edit adds a length tag: measure it on a small image.
        RawMidiFile probe;
        QVERIFY(probe.loadData(midiFile(song("k=C"))));
        probe.setKey("C");
        probe.setLength(125);
        const int growth = probe.stream().size() - midiFile(song("k=C")).size();
        // Text events fill the image up to the size wanted.
        QByteArray track;
        int size = midiFile(song("k=C")).size() + extra;
        const int wanted = limit + over - growth;
        for (int i = 0; size < wanted; ++i) {
            const int n = qMin(100, wanted - size - 4);
            track += meta(0x01, QByteArray(n, char('a' + i % 26)));
            size += 4 + n;
        }
        QByteArray image = midiFile(song("k=C"));
        image.insert(image.indexOf("MTrk") + 8, track);
        image.replace(image.indexOf("MTrk") + 4, 4, be32(firstTrackLengthField(image) + track.size()));
        if (extra)
            image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
        QCOMPARE(image.size() + growth, limit + over);
        QByteArray header = mfxHeader(magic, song("t=Song"));
        const QByteArray packed = pack(image);
        putLe(header, 4, quint32(header.size() + packed.size()), 4);
        putLe(header, 12, quint32(image.size()), 4);
        const QString path = write("song.mf", header + packed);

        MetaSong meta;
        QVERIFY(meta.importFile(path));
        meta.setSongInfo(song("t=Song|len=125|k=C"), true);
        QCOMPARE(meta.saveToFile(path), over <= 0);
        QCOMPARE(meta.lastError().code, over <= 0 ? MetaSong::ErrorNone : MetaSong::ErrorTooLarge);
        QCOMPARE(readFile(path) == header + packed, over > 0);
        QCOMPARE(readBack(path).length, over > 0 ? 0 : 125);
    }

    // A v2.2 tag is read through its v2.3 frames (TCR names the maker, a
    // title present is kept) and saved as v2.3, which mutagen reads as it
    // read the original, audio unchanged. Tags that cannot be updated are
    // not saved and say why.
    void mp3TagVersions_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QString>("read");
        QByteArray jpeg = bytes({0xFF, 0xD8, 0xFF, 0xE0}) + QByteArray(600, 'j');
        const QByteArray body = v22("TT2", lit("\0Old Title")) + v22("TP1", lit("\0Old Artist"))
            + v22("TCR", lit("\0(c) Tavrel Music")) + v22("COM", lit("\0eng\0A note"))
            + v22("PIC", lit("\0JPG\3cover\0") + jpeg) + QByteArray(50, '\0');
        QTest::newRow("v2.2") << "ID3" + bytes({2, 0, 0}) + synchsafe(body.size()) + body << "Old Title|Old Artist|maker";
        QTest::newRow("v2.2 compressed") << "ID3" + bytes({2, 0, 0x40}) + synchsafe(body.size()) + body << "|";
        QTest::newRow("v2.5") << "ID3" + bytes({5, 0, 0}) + synchsafe(body.size()) + body << "|";
    }
    void mp3TagVersions()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QString, read);
        const QByteArray audio = mpegAudio(20), original = tag + audio;
        const QString path = write("song.mp3", original), before = write("before.mp3", original);
        MetaSong meta;
        QVERIFY(meta.importFile(path));
        SongInfo info;
        meta.getSongInfo(info);
        QCOMPARE(info.title + "|" + info.artist + (info.isTavrel ? "|maker" : ""), read);
        const bool saved = read != "|";
        info.title = "Other";
        meta.setSongInfo(info, false);
        QCOMPARE(meta.saveToFile(path), saved);
        QCOMPARE(meta.lastError().code, saved ? MetaSong::ErrorNone : MetaSong::ErrorUnsupportedTag);
        const QByteArray after = readFile(path);
        QCOMPARE(after == original, !saved);
        if (!saved)
            return;
        QCOMPARE(after.mid(Mp3Header().getId3TagSize(after) + 10), audio);
        QVariantMap mutagenBefore, mutagenAfter;
        if (id3tool({"dump", before}, &mutagenBefore) == 77)
            QSKIP("python3-mutagen is not installed");
        QCOMPARE(id3tool({"dump", path}, &mutagenAfter), 0);
        QCOMPARE(mutagenAfter["frames"], mutagenBefore["frames"]);
        QCOMPARE(mutagenAfter["version"].toList().value(1).toInt(), 3);
        QVERIFY(mutagenAfter["unknown"].toStringList().value(0).startsWith(QByteArray("XEDT").toHex()));
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
