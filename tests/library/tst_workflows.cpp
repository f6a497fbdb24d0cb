// The workflows of the library driven without any window, as a command line
// drives them: questions answered by a script, outcomes addressed by song id.
#include "../songfiles/midiimage.h"

#include "database/database.h"
#include "library/cataloguesync.h"
#include "library/filecopier.h"
#include "library/workflowhost.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

using namespace MidiImage;

namespace {

// Answers from a list; records how many outcomes had arrived at each question.
class ScriptedHost : public WorkflowHost
{
public:
    QList<answerEnum> answers;
    int stopAt = -1;  // the stopRequested() call, counted from 0, that answers true
    QStringList deliveredAtQuestion;
    QStringList asked;  // the files of the replace questions, without their folder
    SongOutcomes delivered;

    answerEnum askReplace(const QString& target) override
    {
        asked << target.section('/', -1);
        return next();
    }
    answerEnum askEditNotMaker(const QString&) override { return next(); }
    void begin(phaseEnum, int) override {}
    void progress(int, int) override {}
    bool stopRequested() override { return stopChecks++ == stopAt; }
    void songsDone(const SongOutcomes& outcomes) override { delivered += outcomes; }

    // "id:outcome" of each delivered song, with the title read back after an update.
    QString outcomes() const
    {
        static const char* const codes = "ORUFLSNCKX"; // by outcomeEnum
        QStringList list;
        for (const SongOutcome& o : delivered) {
            list << QString::number(o.id) + ':' + codes[o.outcome];
            if (o.outcome == SongOutcome::OutcomeUpdated)
                list.last() += ':' + o.details.title;
        }
        return list.join(' ');
    }

private:
    answerEnum next()
    {
        deliveredAtQuestion << QString::number(delivered.size());
        return answers.isEmpty() ? AnswerNo : answers.takeFirst();
    }
    int stopChecks = 0;
};

// A MIDI song without a title, so it takes the catalogue's.
QByteArray song(bool maker)
{
    return smf(0, {(maker ? meta(0x02, "(C) Tavrel 2021") : QByteArray()) + notes()});
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class TestWorkflows : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString start = QDir::currentPath();

private slots:
    void initTestCase()
    {
        // The catalogue "songsdb_debug" in the working folder replaces the shipped one.
        QVERIFY(QDir::setCurrent(dir.path()));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "catalogue");
        db.setDatabaseName(dir.filePath("songsdb_debug"));
        QSqlQuery q(db);
        QVERIFY(db.open());
        QVERIFY(q.exec("CREATE TABLE Songs(title varchar, artist varchar, genre varchar, author varchar, length "
                       "integer, bpm integer, key varchar, filename varchar primary key, markers varchar, "
                       "altartist varchar)"));
        QVERIFY(q.exec("INSERT INTO Songs(filename, title, artist) VALUES ('KNOWN', 'KNOWN SONG', 'A'), "
                       "('OTHER', 'OTHER SONG', 'B'), ('SECOND', 'SECOND SONG', 'C')"));
    }
    void cleanupTestCase() { QDir::setCurrent(start); }

    void sync_data()
    {
        QTest::addColumn<QList<int>>("answers"); // to the questions about songs that are not the maker's
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<QString>("outcomes");
        QTest::addColumn<QString>("deliveredAtQuestions");
        // Ids out of row order: 7 and 9 are the maker's songs, 9 unknown to the catalogue; 5 is unreadable.
        QTest::newRow("Si, No") << QList<int>{WorkflowHost::AnswerYes, WorkflowHost::AnswerNo} << -1
                                << "7:U:KNOWN SONG 3:U:OTHER SONG 9:F 5:R 1:L" << "1 4";
        QTest::newRow("No tutti") << QList<int>{WorkflowHost::AnswerNoAll} << -1 << "7:U:KNOWN SONG 3:L 9:F 5:R 1:L"
                                  << "1";
        QTest::newRow("Si tutti") << QList<int>{WorkflowHost::AnswerYesAll} << -1
                                  << "7:U:KNOWN SONG 3:U:OTHER SONG 9:F 5:R 1:U:SECOND SONG" << "1";
        // Stopped before the third song: the two done are delivered.
        QTest::newRow("stopped") << QList<int>{WorkflowHost::AnswerYes} << 2 << "7:U:KNOWN SONG 3:U:OTHER SONG"
                                 << "1";
    }

    void sync()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, stopAt);
        const QList<QPair<int, QString>> files = {{7, "known.mid"}, {3, "other.mid"}, {9, "nowhere.mid"},
                                                  {5, "broken.mid"}, {1, "second.mid"}};
        SongRefs songs;
        for (const auto& f : files) {
            const QString path = dir.filePath("sync/" + f.second);
            const bool maker = f.first == 7 || f.first == 9;
            QVERIFY(writeFile(path, f.first == 5 ? QByteArray("MThd") : song(maker)));
            songs.append({f.first, path, f.second});
        }
        Database catalogue;
        QVERIFY(catalogue.init());
        ScriptedHost host;
        for (int a : answers)
            host.answers << WorkflowHost::answerEnum(a);
        host.stopAt = stopAt;
        CatalogueSync::NotMakerPolicy policy;
        QCOMPARE(CatalogueSync(catalogue, host).run(songs, policy), stopAt < 0);
        QTEST(host.outcomes(), "outcomes");
        QTEST(host.deliveredAtQuestion.join(' '), "deliveredAtQuestions");
    }

    void copy_data()
    {
        // Sources hold "new", files already at the destination "old"; "+" marks a
        // file beside the picked ones, "-" a picked file that is gone.
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("outcomes"); // picked files get the ids 40, 30, 20, 10
        QTest::addColumn<QString>("deliveredAtQuestions");
        QTest::addColumn<QString>("after");
        QTest::newRow("kept, replaced, failed")
            << "a.mid b.mid c.mid -gone.mid" << "a.mid b.mid" << "dest"
            << QList<int>{WorkflowHost::AnswerNo, WorkflowHost::AnswerYes} << "40:K 30:C 20:C 10:X" << "0 1"
            << "a.mid:old b.mid:new c.mid:new";
        // The karaoke graphics are named after the song, whatever the folders are called.
        QTest::newRow("folders named like songs") << "live.mp3/song.mp3 +live.mp3/song.cdg" << "" << "card.mp3"
                                                  << QList<int>{} << "40:C" << "" << "song.cdg:new song.mp3:new";
        // Replacing with a song gone from the computer keeps the one there.
        QTest::newRow("replacement that fails") << "-a.mid" << "a.mid" << "dest" << QList<int>{WorkflowHost::AnswerYes}
                                                << "40:X" << "0" << "a.mid:old";
    }

    void copy()
    {
        QFETCH(QString, picked);
        QFETCH(QString, existing);
        QFETCH(QString, destination);
        QFETCH(QList<int>, answers);
        QTemporaryDir work;
        const QString dest = work.filePath(destination);
        QVERIFY(QDir().mkpath(dest));
        for (const QString& name : existing.split(' ', Qt::SkipEmptyParts))
            QVERIFY(writeFile(dest + '/' + name, "old"));
        SongRefs songs;
        for (const QString& entry : picked.split(' ')) {
            const QString name = entry.mid(entry[0].isLetter() ? 0 : 1);
            if (!entry.startsWith('-'))
                QVERIFY(writeFile(work.filePath("src/" + name), "new"));
            if (!entry.startsWith('+'))
                songs.append({40 - 10 * songs.size(), work.filePath("src/" + name), name});
        }
        ScriptedHost host;
        for (int a : answers)
            host.answers << WorkflowHost::answerEnum(a);
        // Names appear in the destination only complete, by a rename: a copy
        // cut short (a card pulled) leaves no damaged song under its name.
        const int watch = inotify_init1(IN_NONBLOCK);
        QVERIFY(watch >= 0 && inotify_add_watch(watch, QFile::encodeName(dest).constData(), IN_CREATE) >= 0);
        const FileCopier::Result result = FileCopier(host).copy(songs, dest);
        alignas(inotify_event) char events[8192];
        const ssize_t got = ::read(watch, events, sizeof events);
        ::close(watch);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            QVERIFY2(QByteArray(event->name).startsWith(".orvalo3-new"), event->name);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
        QCOMPARE(result.ok, !picked.contains('-'));
        QTEST(host.outcomes(), "outcomes");
        QTEST(host.deliveredAtQuestion.join(' '), "deliveredAtQuestions");
        // A failed copy says why.
        for (const SongOutcome& o : host.delivered)
            QCOMPARE(o.reason.isEmpty(), o.outcome != SongOutcome::OutcomeNotCopied);
        QStringList read;
        for (const QString& f : QDir(dest).entryList(QDir::Files, QDir::Name)) {
            QFile file(dest + '/' + f);
            read << f + ':' + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        }
        QTEST(read.join(' '), "after");
    }

    // Onto a player memory: names it and the player can hold, unique apart from letter case, in table order.
    void memoryCopy_data()
    {
        // "|" separates names; "+" marks a file beside the picked ones. Files already on the memory hold "old".
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("outcomes");  // picked files get the ids 40, 30, 20, ...
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<QString>("after");
        QTest::newRow("names mapped and numbered, graphics named after their song")
            << "Don\u2019t Stop.mid|a?b.mp3|+a?b.cdg|SONG.mid|song.MID|\u041f\u0440\u0438\u0432\u0435\u0442.kar" << ""
            << QList<int>{} << "" << "40:C 30:C 20:C 10:C 0:C"
            << "Don\u2019t Stop.mid>Don't Stop.mid|a?b.mp3>a_b.mp3|song.MID>song (2).MID|\u041f\u0440\u0438\u0432\u0435\u0442.kar>Privet.kar"
            << "a_b.cdg:new|a_b.mp3:new|Don't Stop.mid:new|Privet.kar:new|song (2).MID:new|SONG.mid:new";
        // FAT32 takes "SONG.MID" for "song.mid"; graphics left on the memory belong to a song of that name.
        QTest::newRow("a name on the memory in another case")
            << "song.mid|b.mp3|+b.cdg|c.mid" << "SONG.MID|b.cdg" << QList<int>{WorkflowHost::AnswerYes, WorkflowHost::AnswerNo}
            << "SONG.MID b.cdg" << "40:C 30:K 20:C" << "" << "b.cdg:old|c.mid:new|song.mid:new";
        QTest::newRow("a folder in the way") << "x.mid|y.mid" << "X.MID/" << QList<int>{} << "" << "40:X 30:C" << ""
                                             << "y.mid:new";
    }
    void memoryCopy()
    {
        QFETCH(QString, picked);
        QFETCH(QString, existing);
        QFETCH(QList<int>, answers);
        QTemporaryDir work;
        const QString dest = work.filePath("CARD/songs");
        QVERIFY(QDir().mkpath(dest));
        for (const QString& name : existing.split('|', Qt::SkipEmptyParts))
            QVERIFY(name.endsWith('/') ? QDir().mkpath(dest + '/' + name) : writeFile(dest + '/' + name, "old"));
        SongRefs songs;
        for (const QString& entry : picked.split('|')) {
            const QString name = entry.mid(entry.startsWith('+') ? 1 : 0);
            QVERIFY(writeFile(work.filePath("src/" + name), "new"));
            if (!entry.startsWith('+'))
                songs.append({40 - 10 * songs.size(), work.filePath("src/" + name), name});
        }
        ScriptedHost host;
        for (int a : answers)
            host.answers << WorkflowHost::answerEnum(a);
        FileCopier copier(host);
        copier.setMemory(work.filePath("CARD"), 0);
        const FileCopier::Result result = copier.copy(songs, dest);
        QTEST(host.asked.join(' '), "asked");
        QTEST(host.outcomes(), "outcomes");
        QStringList renamed;
        for (const SongOutcome& o : result.renamed)
            renamed << o.path.section('/', -1) + '>' + o.copiedAs;
        QTEST(renamed.join('|'), "renamed");
        QStringList read;
        for (const QString& f : QDir(dest).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
            QFile file(dest + '/' + f);
            read << f + ':' + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        }
        QTEST(read.join('|'), "after");
    }
};

QTEST_GUILESS_MAIN(TestWorkflows)
#include "tst_workflows.moc"
