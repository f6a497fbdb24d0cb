#include "windowtest.h"

#include "mainwindow/backupdialog.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// Rows: the maker's songs are 0, 2 (MFx), 4, 5 and 7 to 9, the others 1, 3 and 6; 4 matches two
// records by title, 5 and 7 to 9 no record (name keys lose a last extension of up to three letters).
static const QStringList kRows = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "twice.mid", "missing.mid",
                                  "other2.mid", "lost.midi", "lost", "my.lost.kar"};

// MainWindow::copyFiles (the flat copy used by the backup and the transfer),
// the backup offered before a synchronisation, and the synchronisation of a
// mixed library against a test catalogue.
class TestBackup : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QString dest;

    QString path(const QString& name) const { return sandbox->path(name); }
    QString song(const QString& name) const { return sandbox->path("songs/" + name); }
    static QString statuses(MainWindow& w)
    {
        QString s;
        for (int row = 0; row < libraryModel(w)->goodRowCount(); ++row)
            s += QString::number(libraryModel(w)->status(row));
        return s;
    }

    // What the files of kRows hold at first.
    static QList<QByteArray> mixedData()
    {
        return {midi({}, true), midi({}, false), mfxSong("_MF3", {{}, {}, {}, {}, 0, 0, false, "LONGNM.MID"}),
                mp3("Title Only"), midi("Twice", true), midi("Nowhere", true), midi({}, false),
                midi("Nowhere", true), midi("Nowhere", true), midi("Nowhere", true)};
    }
    QStringList importMixed(MainWindow& w) const
    {
        QStringList files;
        for (int i = 0; i < kRows.size(); ++i) {
            files << song(kRows[i]);
            if (!writeFile(files.last(), mixedData()[i]))
                qFatal("cannot write a test song");
        }
        importWithoutSummary(w, files);
        return files;
    }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        dest = path("dest");
        QVERIFY(makeCatalogue(sandbox->root.path(), {
            {"BYNAME", "BY NAME SONG", "ROSSI MARIO", "MARIO ROSSI", "POP", "VERDI GIUSEPPE", 185, 120, "D",
             "1;Intro;9;Verse;"},
            {"LONGNM", "LONG NAME SONG", "BIANCHI", "", "ROCK", "NERI", 200, 100, "C", "5;Solo;"},
            {"TTLONLY", "TITLE ONLY", "GIALLI", "ANNA GIALLI", "JAZZ", "BLU", 150, 80, "D", {}},
            {"TWICE1", "TWICE", "A", "", "POP", "X", 100, 100, "C", {}},
            {"TWICE2", "twice", "B", "", "POP", "Y", 100, 100, "C", {}},
            {"OTHER1", "OTHER ONE", "VIOLA", "", "BLUES", "ROSA", 90, 70, "C", "1;A;"},
            {"OTHER2", "OTHER TWO", "GRIGI", "", "FOLK", "ORO", 95, 75, "C", {}},
        }));
        QVERIFY(QDir().mkpath(dest) && QDir().mkpath(path("backups")));
        BackupDialog::setFolderChooser([this](QWidget*, const QString&, const QString&) { return path("backups"); });
    }
    void cleanup()
    {
        BackupDialog::setFolderChooser(nullptr);
        sandbox.reset();
    }

    void copy_data()
    {
        // Sources hold "new", files already at the destination "old". A name
        // with "+" is a source beside the picked ones, with "-" a picked file
        // gone before the copy; "x/" at the destination is a folder.
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("existing");
        // To the overwrite questions; -1: Escape, 4: Interrompi then Si.
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("copied");
        QTest::addColumn<QString>("after"); // the destination's files (the sources' when the same folder)

        const QString abcd = "a.mid b.mid c.mid d.mid";
        const QString all = "a.mid:new b.mid:new c.mid:new d.mid:new";
        QTest::newRow("Si tutti asks once") << abcd << "a.mid c.mid" << QList<int>{1} << "dest" << true << 4 << all;
        QTest::newRow("No, Si") << abcd << "a.mid c.mid" << QList<int>{2, 0} << "dest" << true << 3
                                << "a.mid:old b.mid:new c.mid:new d.mid:new";
        QTest::newRow("No tutti asks once") << abcd << "a.mid c.mid" << QList<int>{3} << "dest" << true << 2
                                            << "a.mid:old b.mid:new c.mid:old d.mid:new";
        QTest::newRow("companion, upper-case extension") << "SONG.MP3 +SONG.cdg" << "" << QList<int>{} << "dest"
                                                         << true << 1 << "SONG.MP3:new SONG.cdg:new";
        // The companion is replaced together with the song the user replaces.
        QTest::newRow("both replaced") << "song.mp3 +song.cdg" << "song.mp3 song.cdg" << QList<int>{0} << "dest"
                                       << true << 1 << "song.cdg:new song.mp3:new";
        // Files already where they would go count as copied; replacing them would delete them.
        const QString same = "a.mid:new b.cdg:new b.mp3:new";
        QTest::newRow("same path") << "a.mid b.mp3 +b.cdg" << "" << QList<int>{} << "src" << true << 2 << same;
        // The file in progress is finished, nothing after it is copied.
        QTest::newRow("Interrompi during the question") << "a.mid b.mid c.mid" << "a.mid" << QList<int>{4} << "dest"
                                                        << false << 0 << "a.mid:new";
        // A file gone and a companion the destination cannot take fail; the rest goes on.
        QTest::newRow("failures counted") << "a.mid -gone.mid b.mp3 +b.cdg" << "b.cdg/" << QList<int>{} << "dest"
                                          << false << 1 << "a.mid:new b.mp3:new";
    }

    void copy()
    {
        QFETCH(QString, picked);
        QFETCH(QString, existing);
        QFETCH(QList<int>, answers);
        QFETCH(QString, destination);
        QFETCH(bool, ok);
        QFETCH(int, copied);
        QFETCH(QString, after);
        for (const QString& name : existing.split(' ', Qt::SkipEmptyParts))
            QVERIFY(name.endsWith('/') ? QDir().mkpath(dest + '/' + name) : writeFile(dest + '/' + name, "old"));
        const QStringList entries = picked.split(' ');
        QStringList sources;
        for (const QString& entry : entries) {
            const QString source = path("src/" + entry.mid(entry[0].isLetter() ? 0 : 1));
            QVERIFY(writeFile(source, "new"));
            if (!entry.startsWith('+'))
                sources << source;
        }
        MainWindow w;
        importWithoutSummary(w, sources);
        for (const QString& entry : entries)
            if (entry.startsWith('-'))
                QVERIFY(QFile::remove(path("src/" + entry.mid(1))));

        ModalScript script;
        for (int a : answers) {
            if (a == 4)
                script.then("NoCopyrightDialog", [&w](QWidget* d) {
                    w.findChildren<QProgressDialog*>().last()->findChild<QPushButton*>()->click();
                    child<QAbstractButton>(d, "yesPushButton")->click();
                });
            else
                script.answer(a);
        }
        int count = -1;
        QCOMPARE(w.copyFiles(destination == "dest" ? dest : path(destination), count), ok);
        QCOMPARE(count, copied);
        VERIFY_SCRIPT(script);
        const QDir listed(destination == "dest" ? dest : path("src"));
        QStringList listing;
        for (const QString& f : listed.entryList(QDir::Files, QDir::Name))
            listing << f + ':' + readFile(listed.filePath(f));
        QCOMPARE(listing.join(' '), after);
    }

    void backupDoneAndFailed()
    {
        const QStringList picked = {path("src/one.mid"), path("src/two.mp3")};
        QVERIFY(writeFile(picked[1], mp3("Two")) && writeFile(path("src/two.cdg"), "graphics"));
        // A flat copy with the MP3's companion, in a folder named by the time; a
        // failed copy is reported, and the synchronisation may still go on.
        for (const bool fails : {false, true}) {
            QVERIFY(writeFile(picked[0], midi("One", true)));
            MainWindow w;
            importWithoutSummary(w, picked);
            if (fails)
                QVERIFY(QFile::remove(picked[0]));
            ModalScript script;
            script.press("BackupDialog", "browsePushButton doBackupPushButton").box();
            QVERIFY(w.suggestBackup());
            VERIFY_SCRIPT(script);
            QCOMPARE(script.seen[1].text, fails ? "Backup FALLITO !!!" : "Backup eseguito correttamente");
            QDir backups(path("backups"));
            const QString made = backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
            QVERIFY(made.contains(QRegularExpression("^backup_tavrel_\\d{4}_\\d{2}_\\d{2}_\\d{2}-\\d{2}-\\d{2}$")));
            QVERIFY(backups.cd(made));
            QCOMPARE(backups.entryList(QDir::Files, QDir::Name).join(' '), fails ? "two.cdg two.mp3"
                                                                                 : "one.mid two.cdg two.mp3");
            for (const QString& f : backups.entryList(QDir::Files))
                QCOMPARE(readFile(backups.filePath(f)), readFile(path("src/") + f));
            QVERIFY(backups.removeRecursively());
        }
    }

    void run_data()
    {
        QTest::addColumn<bool>("ask");           // the "copyrightAsk" preference
        QTest::addColumn<QString>("backup");     // the answer to the backup offer
        QTest::addColumn<QList<int>>("answers"); // to the questions, in order; -1: Escape, 4: Interrompi then Si
        QTest::addColumn<QString>("statuses");

        const QString on = "exitPushButton";
        QTest::newRow("No, then Si tutti") << true << on << QList<int>{2, 1} << "1311331333";
        QTest::newRow("Escape is Si") << true << on << QList<int>{-1, 2, 3} << "1113333333";
        QTest::newRow("No tutti asks once") << true << on << QList<int>{3} << "1313333333";
        QTest::newRow("preference off: no question") << false << on << QList<int>{} << "1111331333";
        // The row in progress is finished, no later one starts.
        QTest::newRow("Interrompi between rows") << true << on << QList<int>{4} << "1100000000";
        QTest::newRow("backup offer cancelled") << true << "abortPushButton" << QList<int>{} << "0000000000";
    }

    void run()
    {
        QFETCH(bool, ask);
        QFETCH(QString, backup);
        QFETCH(QList<int>, answers);
        QFETCH(QString, statuses);
        setCopyrightAsk(ask);
        MainWindow w;
        const QStringList files = importMixed(w);

        ModalScript script;
        script.press("BackupDialog", backup);
        for (int a : answers) {
            if (a == 4)
                script.then("NoCopyrightDialog", [&w](QWidget* d) {
                    w.findChildren<QProgressDialog*>().last()->findChild<QPushButton*>()->click();
                    child<QAbstractButton>(d, "yesPushButton")->click();
                });
            else
                script.answer(a);
        }
        child<QToolButton>(&w, "updateDataToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(this->statuses(w), statuses);
        // Only the songs that are not the maker's were asked about, in row order.
        const QStringList others = {files[1], files[3], files[6]};
        for (int i = 1; i < script.seen.size(); ++i)
            QCOMPARE(script.seen[i].text, others[i - 1]);
        // Only an updated row's file changed.
        for (int row = 0; row < files.size(); ++row)
            QVERIFY2((readFile(files[row]) != mixedData()[row]) == (statuses[row] == '1'), qPrintable(kRows[row]));
        if (QByteArray(QTest::currentDataTag()) == "preference off: no question") {
            // Found by file name, by MFx long name and by title; read back from disk the
            // files hold title|artist|genre|author|length|bpm|key|markers.
            const QStringList expected = {
                // The maker's song gets every detail, the alternative artist first.
                "BY NAME SONG|MARIO ROSSI|POP|VERDI GIUSEPPE|185|120|D|1:Intro 9:Verse",
                // Another publisher's song: no key, length or tempo from the catalogue.
                "OTHER ONE|VIOLA|BLUES|ROSA|0|0||1:A",
                "LONG NAME SONG|BIANCHI|ROCK|NERI|200|100|C|5:Solo",
                // Found by title: the file keeps its own title frame.
                "Title Only|ANNA GIALLI|JAZZ|BLU|0|0||"};
            for (int row = 0; row < expected.size(); ++row) {
                const SongInfo s = readInfo(files[row]);
                QStringList markers;
                for (const Marker& m : s.markers)
                    markers << QString::number(m.bar) + ':' + m.text;
                QCOMPARE(QStringList({s.title, s.artist, s.genre, s.author, QString::number(s.length),
                                      QString::number(s.userBpm), s.key, markers.join(' ')}).join('|'), expected[row]);
            }
        }
    }

    void answersForAllLastOneRun()
    {
        setCopyrightAsk(true);
        MainWindow w;
        importMixed(w);
        // "No tutti" in one run, "Si tutti" in the next: each run asks again.
        for (int answer : {3, 1}) {
            ModalScript script;
            script.press("BackupDialog", "exitPushButton").answer(answer);
            QVERIFY(w.updateUserLibrary());
            VERIFY_SCRIPT(script);
            QCOMPARE(statuses(w), QString(answer == 3 ? "1313333333" : "1111331333"));
        }
    }

    void failedSaveIsNotUpdated()
    {
        MainWindow w;
        QVERIFY(writeFile(song("sub/other1.mid"), midi({}, false)));
        importWithoutSummary(w, {song("sub/other1.mid")});
        ModalScript script;
        script.press("BackupDialog", "exitPushButton").then("NoCopyrightDialog", [this](QWidget* d) {
            // While the question is open the song's folder goes away and a plain
            // file takes its name: the save cannot succeed, even as root.
            QDir().rename(song("sub"), song("moved"));
            writeFile(song("sub"), "a file");
            child<QAbstractButton>(d, "yesPushButton")->click();
        });
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(script);
        QCOMPARE(statuses(w), QString("3"));
        QCOMPARE(readFile(song("moved/other1.mid")), midi({}, false));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
