// The command line as a user runs it: the built orvalo3soft-cli as a process
// on song files and player memories in temporary folders, its output, the
// files it leaves and its exit status.
#include "../songfiles/tst_metasong_helpers.h"

#include "library/librarybackup.h"
#include "library/memorylock.h"

#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace SongBytes;

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

const char* const indexFiles[] = {"index.id3", "ordfile.id3", "title.id3", "atitle.id3",
                                  "artist.id3", "aartist.id3", "fsinfos.id3"};

bool put(const QString& path, const QByteArray& bytes)
{
    return QDir().mkpath(QFileInfo(path).path()) && writeFile(path, bytes);
}

bool hasIndex(const QString& root)
{
    for (const char* name : indexFiles) {
        if (!QFile::exists(root + '/' + name))
            return false;
    }
    return true;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
    QTemporaryDir home;  // settings, and the working folder with the test catalogue
    std::unique_ptr<QTemporaryDir> work;

    QString path(const QString& rel) const { return work->path() + '/' + rel; }
    QString card() const { return path("volumes/CARD"); }

    QProcessEnvironment extraEnv;  // for the next runs, on top of the system's

    Run cli(const QStringList& args, const QString& config = QString(), const QByteArray& locale = "C.UTF-8")
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(extraEnv);
        env.insert("XDG_CONFIG_HOME", config.isEmpty() ? home.filePath("config") : config);
        env.insert("ORVALO3_VOLUMES_DIR", path("volumes"));
        env.insert("LC_ALL", locale);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home.path());
        p.start(ORVALO3_CLI, args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return Run();
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // Song files in the work folder: "name.ext=details" (see song()), or "broken.mid".
    QStringList makeSongs(const QStringList& entries)
    {
        QStringList paths;
        for (const QString& entry : entries) {
            const QString name = entry.section('=', 0, 0);
            const QByteArray bytes = name.startsWith("broken") ? QByteArray("MThd broken")
                                                               : fileFor(name.section('.', -1), song(entry.section('=', 1)));
            paths << path(name);
            if (!put(paths.last(), bytes))
                qFatal("cannot write %s", qPrintable(paths.last()));
        }
        return paths;
    }

    // The details of each song as `info --json` gives them, one line each.
    QString json(const QStringList& files)
    {
        const Run run = cli(QStringList{"info", "--json"} + files);
        return QString(run.out).replace(work->path(), "");
    }

    // The bytes of a lock file QLockFile writes, with the owner line `line` replaced.
    static QByteArray lockBytes(int line, const QByteArray& replacement)
    {
        QTemporaryDir dir;
        QLockFile lock(dir.filePath("x.lock"));
        if (!lock.tryLock(0))
            return QByteArray();
        QList<QByteArray> lines = readFile(dir.filePath("x.lock")).split('\n');
        lines[line] = replacement;
        return lines.join('\n');
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        QSettings settings(home.filePath("config/tavrel/orvalo3soft.conf"), QSettings::IniFormat);
        settings.setValue("language", "en");
        settings.sync();
        // The catalogue "songsdb_debug" in the working folder replaces the shipped one.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "catalogue");
        db.setDatabaseName(home.filePath("songsdb_debug"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, author varchar, length "
                       "integer, bpm integer, key varchar, filename varchar primary key, markers varchar, "
                       "altartist varchar)"));
        QVERIFY(q.exec("INSERT INTO Songs(filename, title, artist, genre, author, length, bpm, key, markers) VALUES "
                       "('KNOWN', 'KNOWN SONG', 'KNOWN BAND', 'POP', 'WRITER', 200, 120, 'D', '1;INTRO;5;VERSE'), "
                       "('OTHER', 'OTHER SONG', 'OTHER BAND', 'ROCK', 'WRITER', 180, 90, 'C', '')"));
    }

    void init()
    {
        work.reset(new QTemporaryDir);
        extraEnv.clear();
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");  // a part of standard output, or of standard error on wrong usage
        QTest::newRow("no command") << QStringList{} << 2 << "Usage: orvalo3soft-cli COMMAND";
        QTest::newRow("unknown command") << QStringList{"play"} << 2 << "unknown command: play";
        QTest::newRow("unknown option") << QStringList{"info", "--xml", "a.mid"} << 2
                                        << "Usage: orvalo3soft-cli info [--json] FILE...";
        QTest::newRow("value missing") << QStringList{"backup", "a.mid", "--to"} << 2 << "--to needs a value";
        QTest::newRow("no song") << QStringList{"sync", "--all"} << 2 << "no song file given";
        QTest::newRow("nothing to set") << QStringList{"set", "a.mid"} << 2 << "nothing to write";
        QTest::newRow("unknown key") << QStringList{"set", "a.mid", "--key", "H"} << 2 << "unknown key: \"H\"";
        QTest::newRow("key names are exact") << QStringList{"set", "a.mid", "--key=a-"} << 2 << "unknown key";
        QTest::newRow("length without seconds") << QStringList{"set", "a.mid", "--length", "125"} << 2
                                                << "invalid length";
        QTest::newRow("three digits of seconds") << QStringList{"set", "a.mid", "--length", "1:075"} << 2
                                                 << "invalid length";
        QTest::newRow("four digits of tempo") << QStringList{"set", "a.mid", "--bpm", "1000"} << 2 << "invalid tempo";
        QTest::newRow("replace and keep") << QStringList{"transfer", "a.mid", "--to", "x", "--replace", "--keep"}
                                          << 2 << "--replace and --keep";
        QTest::newRow("option twice") << QStringList{"transfer", "a.mid", "--to", "x", "--to", "y"} << 2
                                      << "given twice: --to";
        QTest::newRow("index action") << QStringList{"index", "fix", "x"} << 2 << "index needs rebuild, update or check";
        QTest::newRow("eject after a check") << QStringList{"index", "check", "x", "--eject"} << 2
                                             << "--eject goes with rebuild and update only";
        QTest::newRow("list order") << QStringList{"list", "x", "--by", "genre"} << 2 << "--by needs title or artist";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Commands:\n  info ";
        QTest::newRow("command help") << QStringList{"set", "a.mid", "--help"} << 0 << "--key K";
        QTest::newRow("help command") << QStringList{"help", "transfer"} << 0 << "--memory ROOT";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "orvalo3soft-cli 1.0\n";
        // "--" ends the options: a file may begin with "-".
        QTest::newRow("file like an option") << QStringList{"info", "--", "-x.mid"} << 1 << "";
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        const Run run = cli(args);
        QCOMPARE(run.code, code);
        QVERIFY2((code == 2 ? run.err : run.out).contains(said), qPrintable(run.out + run.err));
        if (code == 2) {
            QVERIFY(run.out.isEmpty());
            QVERIFY(run.err.contains("\nUsage: orvalo3soft-cli "));
        }
    }

    // The window's first-start rule without storing it, or the stored language.
    void language_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("usage");
        QTest::newRow("none, Italian system") << "" << QByteArray("it_IT.UTF-8") << "Uso:";
        QTest::newRow("none, other system") << "" << QByteArray("C.UTF-8") << "Usage:";
        QTest::newRow("Italian") << "it" << QByteArray("C.UTF-8") << "Uso:";
        QTest::newRow("German shows English") << "de" << QByteArray("it_IT.UTF-8") << "Usage:";
    }
    void language()
    {
        QFETCH(QString, stored);
        QFETCH(QByteArray, locale);
        const QString file = path("config/tavrel/orvalo3soft.conf");
        QVERIFY(put(file, stored.isEmpty() ? QByteArray("[General]\nlogenabled=false\n")
                                                 : "[General]\nlanguage=" + stored.toLatin1() + '\n'));
        const QByteArray before = readFile(file);
        const Run run = cli({"play"}, path("config"), locale);
        QCOMPARE(run.code, 2);
        QTEST(run.err.section('\n', 1, 1).section(' ', 0, 0), "usage");
        QCOMPARE(readFile(file), before);
    }

    void info_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("json");
        const QString details = "=t=Song|a=Band|g=Pop|au=Writer|len=125|bpm=97|k=D|m=1:Intro,9:Verse";
        const QString markers = "\"markers\":[{\"bar\":1,\"text\":\"Intro\"},{\"bar\":9,\"text\":\"Verse\"}]";
        QTest::newRow("MIDI") << "a.mid" + details
            << "{\"artist\":\"Band\",\"author\":\"Writer\",\"bpm\":97,\"file\":\"/a.mid\",\"format\":\"MIDI\","
               "\"genre\":\"Pop\",\"key\":\"D\",\"length\":125,\"maker\":false," + markers + ",\"title\":\"Song\"}\n";
        QTest::newRow("MP3, the maker's") << "a.mp3" + details + "|tav"
            << "{\"artist\":\"Band\",\"author\":\"Writer\",\"bpm\":97,\"file\":\"/a.mp3\",\"format\":\"MP3\","
               "\"genre\":\"Pop\",\"key\":\"D\",\"length\":125,\"maker\":true,\"markers\":[],\"title\":\"Song\"}\n";
        QTest::newRow("MF5") << "a.mf5" + details
            << "{\"artist\":\"Band\",\"author\":\"Writer\",\"bpm\":97,\"file\":\"/a.mf5\",\"format\":\"MF5\","
               "\"genre\":\"Pop\",\"key\":\"D\",\"length\":125,\"maker\":true," + markers + ",\"title\":\"Song\"}\n";
        QTest::newRow("damaged") << "broken.mid"
            << "{\"error\":\"not a song file in a known format, or damaged\",\"file\":\"/broken.mid\"}\n";
        QTest::newRow("missing") << "gone.mid" << "{\"error\":\"file not found\",\"file\":\"/gone.mid\"}\n";
    }
    void info()
    {
        QFETCH(QString, song);
        const QStringList files = song.startsWith("gone") ? QStringList{path("gone.mid")} : makeSongs({song});
        QTEST(json(files), "json");
    }

    // A damaged song among good ones: the others are done, the run is not.
    void infoOfGoodAndDamagedSongs()
    {
        const QStringList files = makeSongs({"a.mid=t=One|a=Band|len=65|m=3:Solo,7:End|k=D", "broken.mid",
                                             "b.mf3=t=Two"});
        const Run run = cli(QStringList{"info"} + files);
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, files[1] + ": not a song file in a known format, or damaged\n");
        QCOMPARE(run.out, "File:         " + files[0] + "\nFormat:       MIDI\nTitle:        One\n"
                          "Artist:       Band\nGenre:\nAuthor:\nLength:       1:05\nBPM:\nKey:          D\n"
                          "Markers:      3 Solo\n              7 End\nMaker's song: no\n\n"
                          "File:         " + files[2] + "\nFormat:       MF3\nTitle:        Two\nArtist:\nGenre:\n"
                          "Author:\nLength:\nBPM:\nKey:\nMarkers:\nMaker's song: yes\n");
    }

    // A copy left by an interrupted save is told of by every command that reads the song.
    void leftoverCopyWarned_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("info") << QStringList{"info"};
        QTest::newRow("set") << QStringList{"set", "--genre", "Rock"};
        QTest::newRow("sync") << QStringList{"sync", "--dry-run"};
    }
    void leftoverCopyWarned()
    {
        QFETCH(QStringList, command);
        const QStringList files = makeSongs({"a.mid=t=One", "b.mid=t=Two"});
        const QString copy = path(".a.mid.orvalo3-copy");
        QVERIFY(put(copy, readFile(files[0])));
        const Run run = cli(command.mid(0, 1) + files + command.mid(1));
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, "warning: an interrupted save left the copy " + copy
                              + ", which holds its song as it was before; once the song is right, delete it\n");
        QVERIFY(QFile::exists(copy));
    }

    void set_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("changed");  // the details that differ afterwards, as info --json writes them
        QTest::newRow("MIDI, editor's rules") << "mid" << QStringList{"--title", " New ", "--length", "3:75",
                                                                      "--bpm", "120", "--key", "A-"}
            << "\"bpm\":120 \"key\":\"A-\" \"length\":255 \"title\":\"New\"";
        QTest::newRow("cleared, the rest kept") << "mid" << QStringList{"--artist", "", "--length=", "--genre", "Rock"}
                                                << "\"artist\":\"\" \"genre\":\"Rock\" \"length\":0";
        QTest::newRow("MP3") << "mp3" << QStringList{"--key", "", "--author", "Someone", "--length", ":30"}
                             << "\"author\":\"Someone\" \"key\":\"\" \"length\":30";
        QTest::newRow("MF4") << "mf4" << QStringList{"--title", "Mf", "--bpm", "7"} << "\"bpm\":7 \"title\":\"Mf\"";
    }
    void set()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, options);
        const QStringList files = makeSongs({"a." + format + "=t=Old|a=Band|g=Pop|au=Writer|len=125|bpm=97|k=D"});
        const QString before = json(files);
        const Run run = cli(QStringList{"set"} + files + options);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, files[0] + ": saved\n");
        const QString after = json(files);
        QStringList changed;
        const QStringList old = before.mid(1).split(',');
        for (const QString& field : after.mid(1).split(',')) {
            if (!old.contains(field))
                changed << field.chopped(field.endsWith("}\n") ? 2 : 0);
        }
        QTEST(changed.join(' '), "changed");
    }

    // A damaged song and one that cannot be saved among good ones: each says why.
    void setGoodAndDamagedSongs()
    {
        QStringList files = makeSongs({"a.mid=t=Old", "broken.mid", "b.mp3=t=Old"});
        files << path("v25.mp3");
        QVERIFY(put(files.last(), "ID3" + bytes({5, 0, 0}) + synchsafe(10) + QByteArray(10, '\0') + mpegAudio(6)));
        const QByteArray unsaved = readFile(files.last());
        const Run run = cli(QStringList{"set"} + files + QStringList{"--title", "New"});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.out, files[0] + ": saved\n" + files[2] + ": saved\n");
        QCOMPARE(run.err, files[1] + ": not a song file in a known format, or damaged\n" + files[3]
                              + ": This MP3's ID3 tag is damaged, compressed or of a version that cannot be updated\n");
        QCOMPARE(readFile(files[3]), unsaved);
        QVERIFY(json({files[0], files[2]}).count("\"title\":\"New\"") == 2);
    }

    void sync_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("failing");  // a song that is not done among them: "", "damaged" or "not saved"
        QTest::addColumn<QString>("titles");   // of known.mid and other.mid afterwards
        QTest::addColumn<QString>("said");
        const QString known = "known.mid: completed from the catalogue\n  Title: \"\" -> \"KNOWN SONG\"\n"
                              "  Artist: \"\" -> \"KNOWN BAND\"\n  Genre: \"\" -> \"POP\"\n  Author: \"\" -> \"WRITER\"\n"
                              "  Length: \"\" -> \"3:20\"\n  BPM: \"\" -> \"120\"\n  Key: \"\" -> \"D\"\n"
                              "  Markers: \"\" -> \"1 INTRO, 5 VERSE\"\n";
        QTest::newRow("the maker's songs") << QStringList{} << "damaged" << "KNOWN SONG|"
            << known + "other.mid: not one of the maker's songs, left as it is (--all completes it)\n"
                       "nowhere.mid: not in the catalogue, left as it is\n";
        QTest::newRow("all songs") << QStringList{"--all"} << "" << "KNOWN SONG|OTHER SONG"
                                   << "other.mid: completed from the catalogue\n  Title: \"\" -> \"OTHER SONG\"\n";
        QTest::newRow("dry run") << QStringList{"--dry-run", "--all"} << "damaged" << "|"
                                 << "known.mid: would change\n  Title: \"\" -> \"KNOWN SONG\"\n";
        QTest::newRow("a song not saved") << QStringList{"--all"} << "not saved" << "KNOWN SONG|OTHER SONG" << "";
    }
    void sync()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, failing);
        QStringList files = makeSongs({"known.mid=tav", "other.mid=", "nowhere.mid=tav|t=Nowhere"});
        QString reason;
        if (failing == "damaged") {
            files << makeSongs({"broken.mid"});
            reason = "not a song file in a known format, or damaged";
        } else if (failing == "not saved") {
            // An ID3 tag of a version that can be read but not updated, of a song in the catalogue.
            files << path("known.mp3");
            QVERIFY(put(files.last(), "ID3" + bytes({5, 0, 0}) + synchsafe(10) + QByteArray(10, '\0') + mpegAudio(6)));
            reason = "This MP3's ID3 tag is damaged, compressed or of a version that cannot be updated";
        }
        QList<QByteArray> before;
        for (const QString& f : files)
            before << readFile(f);
        const Run run = cli(QStringList{"sync"} + options + files);
        QCOMPARE(run.code, failing.isEmpty() ? 0 : 1);
        QFETCH(QString, said);
        QVERIFY2(QString(run.out).replace(work->path() + '/', "").contains(said), qPrintable(run.out));
        QCOMPARE(run.err, failing.isEmpty() ? QString() : files.last() + ": " + reason + '\n');
        const QString titles = json(files.mid(0, 2));
        QTEST(titles.section("\"title\":\"", 1, 1).section('"', 0, 0) + '|'
                  + titles.section("\"title\":\"", 2, 2).section('"', 0, 0),
              "titles");
        for (int i = 0; i < files.size(); ++i) {
            if (options.contains("--dry-run") || i >= 3)
                QCOMPARE(readFile(files[i]), before[i]);
        }
    }

    void backup_data()
    {
        QTest::addColumn<bool>("gone");  // a song vanished before the backup
        QTest::newRow("all copied") << false;
        QTest::newRow("one song gone") << true;
    }
    void backup()
    {
        QFETCH(bool, gone);
        QStringList files = makeSongs({"a.mid=t=A", "b.mp3=t=B"});
        QVERIFY(writeFile(path("b.cdg"), "graphics"));
        QVERIFY(QDir().mkpath(path("safe")));
        if (gone)
            files.insert(1, path("gone.mid"));
        const Run run = cli(QStringList{"backup"} + files + QStringList{"--to", path("safe")});
        QCOMPARE(run.code, gone ? 1 : 0);
        // Why a copy failed is the copier's own reason.
        QCOMPARE(run.err.startsWith(files[1] + ": "), gone);
        const QString folder = run.out.trimmed();
        QVERIFY2(folder.startsWith(path("safe/backup_tavrel_")), qPrintable(run.out));
        for (const char* name : {"a.mid", "b.mp3", "b.cdg"})
            QCOMPARE(readFile(folder + '/' + name), readFile(path(name)));
        QVERIFY(readFile(folder + '/' + LibraryBackup::manifestName).contains("b.cdg\t" + path("b.cdg").toUtf8()));
        QCOMPARE(cli({"backup", files[0], "--to", path("nowhere")}).err,
                 "orvalo3soft-cli: the folder " + path("nowhere") + " does not exist\n");
    }

    void transfer_data()
    {
        QTest::addColumn<QString>("to");      // below the work folder
        QTest::addColumn<QStringList>("options");  // "@x" is the folder x below the work folder
        QTest::addColumn<QString>("memory");  // where the index goes; empty when nothing is copied
        QTest::addColumn<QString>("copiedTo");
        QTest::addColumn<QString>("said");    // a part of standard output, or of standard error on failure
        QTest::newRow("memory top folder") << "volumes/CARD/" << QStringList{} << "volumes/CARD"
                                           << "volumes/CARD/songs" << "/volumes/CARD updated";
        QTest::newRow("memory named") << "mem/live" << QStringList{"--memory", "@mem"} << "mem" << "mem/live"
                                      << "a.mid: copied";
        QTest::newRow("reserved folder") << "volumes/CARD/Playlist" << QStringList{} << "" << ""
                                         << "reserved for the player";
        QTest::newRow("outside the memory named") << "other" << QStringList{"--memory", "@mem"} << "" << ""
                                                  << "/other is not in the memory ";
        QTest::newRow("system disk") << "other" << QStringList{} << "" << "" << "is not on a removable memory";
        QTest::newRow("memory busy") << "volumes/CARD" << QStringList{} << "" << "" << "memory busy";
        QTest::newRow("kept by default") << "volumes/CARD/songs" << QStringList{} << "volumes/CARD"
                                         << "volumes/CARD/songs" << "a.mid: kept the file of the same name";
        QTest::newRow("replaced") << "volumes/CARD/songs" << QStringList{"--replace"} << "volumes/CARD"
                                  << "volumes/CARD/songs" << "a.mid: copied";
    }
    void transfer()
    {
        QFETCH(QString, to);
        QFETCH(QStringList, options);
        QFETCH(QString, memory);
        QFETCH(QString, copiedTo);
        QFETCH(QString, said);
        const QString tag = QTest::currentDataTag();
        if (tag == "system disk" && QStorageInfo(work->path()).rootPath() != "/")
            QSKIP("the temporary folder is a memory of its own here");
        const QStringList files = makeSongs({"a.mid=t=Alfa|a=Zed", "b.mp3=t=Beta|a=Abba"});
        for (const QString& dir : {to, QStringLiteral("mem"), QStringLiteral("other")})
            QVERIFY(QDir().mkpath(path(dir)));
        for (QString& option : options) {
            if (option.startsWith('@'))
                option = path(option.mid(1));
        }
        const QByteArray old = fileFor("mid", song("t=Old|a=Zed"));
        if (tag.startsWith("kept") || tag == "replaced")
            QVERIFY(put(path(to + "/a.mid"), old));
        QLockFile lock(card() + '/' + MemoryLock::fileName());
        QVERIFY(tag != "memory busy" || lock.tryLock(0));

        const Run run = cli(QStringList{"transfer"} + files + QStringList{"--to", path(to)} + options);
        QCOMPARE(run.code, memory.isEmpty() ? 1 : 0);
        QVERIFY2((memory.isEmpty() ? run.err : run.out).contains(said), qPrintable(run.out + run.err));
        QVERIFY(!run.err.contains('\r'));  // no progress line into a pipe
        lock.unlock();
        for (const QString& dir : {QStringLiteral("volumes/CARD"), QStringLiteral("mem")})
            QCOMPARE(hasIndex(path(dir)), dir == memory);
        if (memory.isEmpty()) {
            // A refused transfer changes nothing, not even the memory's "songs" folder.
            QVERIFY(!QFile::exists(path(to + "/a.mid")) && !QFileInfo::exists(card() + "/songs"));
            return;
        }
        const bool kept = tag.startsWith("kept");
        for (const QString& f : files)
            QCOMPARE(readFile(path(copiedTo + '/' + f.section('/', -1))), kept && f.endsWith("a.mid") ? old : readFile(f));
        QVERIFY(!QFile::exists(path(memory + '/' + MemoryLock::fileName())));
        const Run list = cli({"list", path(memory)});
        QCOMPARE(list.code, 0);
        const QString rel = copiedTo.mid(memory.size());
        const QString alfa = "ALFA;ZED;" + rel + "/a.mid;\n";
        const QString beta = "BETA;ABBA;" + rel + "/b.mp3;\n";
        QCOMPARE(list.out, "TITLE;ARTIST;FILE;\n" + (kept ? beta + "OLD;ZED;" + rel + "/a.mid;\n" : alfa + beta));
        QCOMPARE(cli({"index", "check", path(memory)}).out,
                 "index of " + path(memory) + " in order: 2 song files\n");
    }

    // --eject after a run on a removable memory, through a stand-in udisksctl recording its arguments; the
    // card is /dev/sdz1 in a made-up mount table.
    void eject_data()
    {
        QTest::addColumn<QStringList>("args");  // "@x" is the folder x below the work folder
        QTest::addColumn<QString>("udisksctl");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");  // the last line of standard output, or of standard error on failure
        QTest::addColumn<QString>("calls");
        QTest::newRow("transfer") << QStringList{"transfer", "@a.mid", "--to", "@volumes/CARD", "--eject"} << "exit 0"
                                  << 0 << "The memory @volumes/CARD has been ejected: it can now be taken out."
                                  << "unmount -b /dev/sdz1\npower-off -b /dev/sdz1\n";
        QTest::newRow("index update, memory in use")
            << QStringList{"index", "update", "@volumes/CARD", "--eject"} << "echo 'target is busy'; exit 1" << 1
            << "The memory @volumes/CARD cannot be ejected because it is in use: close the programs and windows "
               "using it and try again. Do not take it out before." << "unmount -b /dev/sdz1\n";
        QTest::newRow("not a removable memory") << QStringList{"transfer", "@a.mid", "--to", "@mem", "--memory", "@mem", "--eject"}
                                                << "exit 0" << 1 << "@mem is not a removable memory: it was not ejected" << "";
    }
    void eject()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, udisksctl);
        makeSongs({"a.mid=t=Alfa"});
        QVERIFY(QDir().mkpath(card()) && QDir().mkpath(path("mem")));
        QVERIFY(QFile::copy(path("a.mid"), card() + "/b.mid"));
        QVERIFY(put(path("system/proc/self/mountinfo"), "40 1 8:1 / " + QFile::encodeName(card()) + " rw - vfat /dev/sdz1 rw\n"));
        QVERIFY(put(path("bin/udisksctl"), ("#!/bin/sh\necho \"$*\" >> '" + path("calls") + "'\n" + udisksctl + "\n").toUtf8()));
        QVERIFY(QFile::setPermissions(path("bin/udisksctl"), QFile::ReadOwner | QFile::ExeOwner));
        extraEnv.insert("ORVALO3_SYSTEM_ROOT", path("system"));
        extraEnv.insert("PATH", path("bin"));
        for (QString& arg : args) {
            if (arg.startsWith('@'))
                arg = path(arg.mid(1));
        }
        const Run run = cli(args);
        QTEST(run.code, "code");
        QFETCH(QString, said);
        QCOMPARE((run.code == 0 ? run.out : run.err).trimmed().section('\n', -1).remove("orvalo3soft-cli: "),
                 said.replace('@', work->path() + '/'));
        QTEST(QString::fromUtf8(readFile(path("calls"))), "calls");
    }

    void index_data()
    {
        QTest::addColumn<QString>("memory");  // what is on the memory
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("indexed");
        QTest::addColumn<QString>("said");  // a part of standard output, or of standard error on failure
        QTest::newRow("rebuild") << "songs" << "rebuild" << 0 << true << "rebuilt: 2 song files";
        QTest::newRow("update") << "songs" << "update" << 0 << true << "updated: 2 song files";
        // A memory without songs is more likely half-copied than meant to be empty: its index stays.
        QTest::newRow("update of an emptied memory") << "emptied" << "update" << 1 << true << "holds no songs to index";
        QTest::newRow("damaged index") << "damaged" << "update" << 1 << true
                                       << "index is damaged: title.id3 names song 2139062143, which does not exist. "
                                          "(index rebuild rebuilds it)";
        QTest::newRow("path too long") << "long" << "rebuild" << 1 << true << "File not imported, path too long: ";
        QTest::newRow("no memory") << "none" << "rebuild" << 1 << false << "does not exist";
    }
    void index()
    {
        QFETCH(QString, memory);
        QFETCH(QString, action);
        QFETCH(QString, said);
        QVERIFY(QDir().mkpath(card()));
        makeSongs({"volumes/CARD/a.mid=t=Alfa", "volumes/CARD/pop/b.mp3=t=Beta"});
        if (memory == "emptied" || memory == "damaged") {
            QCOMPARE(cli({"index", "rebuild", card()}).code, 0);
            if (memory == "emptied")
                QVERIFY(QFile::remove(card() + "/a.mid") && QDir(card() + "/pop").removeRecursively());
            else
                QVERIFY(writeFile(card() + "/title.id3", QByteArray(64, '\x7f')));
        }
        if (memory == "long")
            makeSongs({"volumes/CARD/" + QString(200, 'd') + '/' + QString(55, 's') + ".mid="});
        const Run run = cli({"index", action, memory == "none" ? path("none") : card()});
        QTEST(run.code, "code");
        QTEST(hasIndex(card()), "indexed");
        QVERIFY2((run.code == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
    }

    void check_data()
    {
        QTest::addColumn<QString>("change");  // what happens to the memory after its index was written
        QTest::addColumn<QString>("said");    // standard output when in step, else standard error
        QTest::newRow("in step") << "" << "index of CARD in order: 2 song files\n";
        QTest::newRow("song added") << "added" << "CARD/c.mid: is on the memory, but not in the index\n"
                                               "orvalo3soft-cli: CARD: the index is not in step with the songs "
                                               "(index update brings it up to date)\n";
        QTest::newRow("song gone") << "gone" << "CARD/a.mid: is in the index, but the file is gone\n";
        QTest::newRow("song changed") << "changed" << "CARD/pop/b.mp3: changed after the last index update\n";
        QTest::newRow("name the player cannot read") << "unplayable"
            << "CARD/Don\u2019t.mid: the player will not open it: its name holds characters it cannot read\n";
        QTest::newRow("no index") << "no index" << "orvalo3soft-cli: CARD: the index is not complete: the file "
                                                   "fsinfos.id3 is missing (index rebuild makes one)\n";
        QTest::newRow("damaged") << "damaged" << "orvalo3soft-cli: CARD: the index is damaged: title.id3 names song "
                                                 "2139062143, which does not exist (index rebuild rebuilds it)\n";
        QTest::newRow("busy") << "busy" << "memory busy";
    }
    void check()
    {
        QFETCH(QString, change);
        QFETCH(QString, said);
        makeSongs({"volumes/CARD/a.mid=t=Alfa", "volumes/CARD/pop/b.mp3=t=Beta"});
        if (change == "unplayable")
            makeSongs({"volumes/CARD/Don\u2019t.mid=t=Dont"});
        QCOMPARE(cli({"index", "rebuild", card()}).code, 0);
        QFile changed(card() + "/pop/b.mp3");
        QLockFile otherRun(card() + '/' + MemoryLock::fileName());
        if (change == "added")
            makeSongs({"volumes/CARD/c.mid=t=Gamma"});
        else if (change == "gone")
            QVERIFY(QFile::remove(card() + "/a.mid"));
        else if (change == "changed")
            QVERIFY(changed.open(QIODevice::ReadWrite)
                    && changed.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
        else if (change == "no index")
            QVERIFY(QFile::remove(card() + "/fsinfos.id3"));
        else if (change == "damaged")
            QVERIFY(writeFile(card() + "/title.id3", QByteArray(64, '\x7f')));
        else if (change == "busy")
            QVERIFY(otherRun.tryLock(0));

        // What the memory holds, to the byte and the second.
        const auto snapshot = [this]() {
            QStringList files;
            QDirIterator it(card(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QFileInfo f(it.next());
                files << f.filePath() + ' ' + f.lastModified().toString(Qt::ISODate) + ' ' + readFile(f.filePath()).toHex();
            }
            files.sort();
            return files;
        };
        const QStringList before = snapshot();
        const Run run = cli({"index", "check", card()});
        QCOMPARE(run.code, change.isEmpty() ? 0 : 1);
        const QString shown = QString(change.isEmpty() ? run.out : run.err).replace(path("volumes/"), "");
        QVERIFY2(shown.contains(said), qPrintable(run.out + run.err));
        QCOMPARE(snapshot(), before);
    }

    // A run held by a live process stops a second one; a lock left over by
    // one that ended, or by another machine long ago, does not.
    void lock_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("ageMinutes");
        QTest::addColumn<bool>("busy");
        QTest::newRow("held here") << QByteArray("held") << 0 << true;
        QTest::newRow("process ended") << QByteArray("ended") << 0 << false;
        QTest::newRow("other machine") << lockBytes(2, "elsewhere") << 5 << true;
        QTest::newRow("other machine, long ago") << lockBytes(2, "elsewhere") << 120 << false;
        QTest::newRow("owner cut short") << QByteArray("") << 0 << true;
        QTest::newRow("owner cut short, long ago") << QByteArray("") << 5 << false;
    }
    void lock()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, ageMinutes);
        QFETCH(bool, busy);
        makeSongs({"volumes/CARD/a.mid=t=Alfa"});
        const QString lockFile = card() + '/' + MemoryLock::fileName();
        QLockFile held(lockFile);
        if (lock == "held") {
            QVERIFY(held.tryLock(0));
        } else {
            if (lock == "ended") {
                QProcess ended;
                ended.start("true", QStringList());
                QVERIFY(ended.waitForStarted());
                lock = lockBytes(0, QByteArray::number(ended.processId()));
                QVERIFY(ended.waitForFinished());
            }
            QVERIFY(put(lockFile, lock));
            QFile f(lockFile);
            QVERIFY(f.open(QIODevice::ReadWrite)
                    && f.setFileTime(QDateTime::currentDateTime().addSecs(-60 * ageMinutes - 1),
                                     QFileDevice::FileModificationTime));
        }
        // A check, which writes nothing, sees the lock as a rebuild does.
        QCOMPARE(cli({"index", "check", card()}).err.contains("memory busy"), busy);
        const Run run = cli({"index", "rebuild", card()});
        QCOMPARE(run.code, busy ? 1 : 0);
        QCOMPARE(run.err.contains("memory busy: a transfer or an index run is already at work on " + card()), busy);
        QCOMPARE(hasIndex(card()), !busy);
        if (!busy)
            QVERIFY(!QFile::exists(lockFile));
    }

    void list_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("list");  // empty: no index
        QTest::newRow("by title") << QStringList{} << "TITLE;ARTIST;FILE;\nALFA;ZED;/b.mp3;\nZULU;ABBA;/a.mp3;\n";
        QTest::newRow("by artist, into a file") << QStringList{"--by", "artist", "-o", "list.csv"}
                                                << "TITLE;ARTIST;FILE;\nZULU;ABBA;/a.mp3;\nALFA;ZED;/b.mp3;\n";
        QTest::newRow("no index") << QStringList{} << "";
    }
    void list()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, list);
        makeSongs({"volumes/CARD/a.mp3=t=Zulu|a=Abba", "volumes/CARD/b.mp3=t=Alfa|a=Zed"});
        if (!list.isEmpty())
            QCOMPARE(cli({"index", "rebuild", card()}).code, 0);
        const int o = options.indexOf("-o");
        if (o >= 0)
            options[o + 1] = path(options[o + 1]);
        const Run run = cli(QStringList{"list", card()} + options);
        QCOMPARE(run.code, list.isEmpty() ? 1 : 0);
        QCOMPARE(o >= 0 ? QString::fromUtf8(readFile(options[o + 1])) : run.out, list);
        if (list.isEmpty())
            QVERIFY(run.err.contains("has no complete index"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
