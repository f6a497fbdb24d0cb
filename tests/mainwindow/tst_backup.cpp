#include "windowtest.h"

#include "library/librarybackup.h"
#include "mainwindow/backupdialog.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// Rows: the maker's songs are 0, 2 (MFx), 4, 5, 7 and 9 to 11, the others 1, 3, 6 and 8; 4 matches two
// records by title, 5, 7 to 9 and 11 no record (name keys lose a last extension of up to three letters;
// "_" is no wildcard for TORNAA01); 10 is gone once imported.
static const QStringList kRows = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "twice.mid", "missing.mid",
                                  "other2.mid", "lost.midi", "stranger.mid", "my.lost.kar", "gone.mid",
                                  "torna_01.mid"};

// MainWindow::copyFiles (the flat copy used by the transfer), the backup
// offered before a synchronisation, the synchronisation of a mixed library
// against a test catalogue, and one workflow at a time.
class TestBackup : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QString dest;

    QString path(const QString& name) const { return sandbox->path(name); }
    static Details titled(const QString& title)
    {
        Details d;
        d.title = title;
        return d;
    }
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
        const QByteArray nowhere = midi("Nowhere", true);
        return {midi({}, true), midi({}, false), mfxSong("_MF3", {{}, {}, {}, {}, 0, 0, false, "LONGNM.MID"}),
                mp3("Title Only"), midi("Twice", true), nowhere, midi({}, false), nowhere, midi("Stranger", false),
                nowhere, nowhere, nowhere};
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
        QFile::remove(song("gone.mid"));
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
            {"TORNAA01", "TORNA", "SUD", "", "POP", "NORD", 95, 75, "C", "1;Sbagliato;"},
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
        // Sources are songs, files already at the destination hold "old". A
        // name with "+" is a source beside the picked ones, with "-" a picked
        // file gone before the copy, with "~" one taken off the list; "x/" at
        // the destination is a folder.
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
        QTest::newRow("Escape keeps the file") << "a.mid b.mid" << "a.mid" << QList<int>{-1} << "dest" << true << 1
                                               << "a.mid:old b.mid:new";
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
        // A file gone and a companion the destination cannot take fail, the song is not left without
        // its companion; the rest goes on.
        QTest::newRow("failures counted") << "a.mid -gone.mid b.mp3 +b.cdg" << "b.cdg/" << QList<int>{} << "dest"
                                          << false << 1 << "a.mid:new";
        QTest::newRow("row taken off the list") << "a.mid ~b.mid" << "" << QList<int>{} << "dest" << true << 1
                                                << "a.mid:new";
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
        const auto fresh = [](const QString& name) { return name.endsWith(".cdg") ? "new" : songFor(name, titled("new")); };
        const QStringList entries = picked.split(' ');
        QStringList sources;
        for (const QString& entry : entries) {
            const QString name = entry.mid(entry[0].isLetter() ? 0 : 1);
            QVERIFY(writeFile(path("src/" + name), fresh(name)));
            if (!entry.startsWith('+'))
                sources << path("src/" + name);
        }
        MainWindow w;
        importWithoutSummary(w, sources);
        for (const QString& entry : entries) {
            if (entry.startsWith('-'))
                QVERIFY(QFile::remove(path("src/" + entry.mid(1))));
            if (entry.startsWith('~'))
                QVERIFY(libraryModel(w)->removeRows(sources.indexOf(path("src/" + entry.mid(1))), 1)
                        && libraryModel(w)->select());
        }

        ModalScript script;
        for (int a : answers)
            script.answer(a, &w);
        int count = -1;
        QCOMPARE(w.copyFiles(destination == "dest" ? dest : path(destination), count), ok);
        QCOMPARE(count, copied);
        VERIFY_SCRIPT(script);
        const QDir listed(destination == "dest" ? dest : path("src"));
        QStringList listing;
        for (const QString& f : listed.entryList(QDir::Files, QDir::Name)) {
            const QByteArray bytes = readFile(listed.filePath(f));
            listing << f + ':' + (bytes == "old" ? "old" : bytes == fresh(f) ? "new" : "?");
        }
        QCOMPARE(listing.join(' '), after);
    }

    void backup_data()
    {
        QTest::addColumn<QString>("gone");     // a picked file removed after the import
        QTest::addColumn<QString>("pressed");  // in the box of a failed backup; "stop": Interrompi at once
        QTest::addColumn<bool>("goesOn");      // suggestBackup()
        QTest::addColumn<QString>("copies");   // the backup folder's files besides the manifest
        QTest::addColumn<QString>("message");
        const QString all = "ONE (2).MID one.mid two (2).cdg two (2).mp3 two.cdg two.mp3";
        QTest::newRow("same names kept apart") << "" << "" << true << all << "Backup eseguito correttamente";
        const QString failed = "Backup FALLITO !!!";
        QTest::newRow("failed, Annulla") << "b/ONE.MID" << "Cancel" << false << "one.mid two (2).cdg two (2).mp3 "
                                         "two.cdg two.mp3" << failed;
        QTest::newRow("failed, Escape") << "a/two.mp3" << "escape" << false << "ONE (2).MID one.mid two (2).cdg "
                                        "two (2).mp3" << failed;
        QTest::newRow("failed, Prosegui senza backup") << "b/ONE.MID" << "Ignore" << true << "one.mid two (2).cdg "
                                                       "two (2).mp3 two.cdg two.mp3" << failed;
        // Stopped after the song in progress: some are in the backup, not all.
        QTest::newRow("stopped") << "" << "stop" << false << "some" << "Backup interrotto";
    }

    void backup()
    {
        QFETCH(QString, gone);
        QFETCH(QString, pressed);
        QFETCH(bool, goesOn);
        QFETCH(QString, copies);
        QFETCH(QString, message);
        // Same file names in three folders, an MP3 song's karaoke graphics with each.
        const QStringList names = {"one.mid", "a/two.mp3", "a/two.cdg", "b/two.mp3", "b/two.cdg", "b/ONE.MID"};
        QStringList picked;
        for (const QString& name : names) {
            QVERIFY(writeFile(path("src/" + name), songFor(name, titled(name))));
            if (!name.endsWith(".cdg"))
                picked << path("src/" + name);
        }
        MainWindow w;
        importWithoutSummary(w, picked);
        if (!gone.isEmpty())
            QVERIFY(QFile::remove(path("src/" + gone)));
        QTimer stopper; // Interrompi as soon as the backup's progress shows
        connect(&stopper, &QTimer::timeout, [&w] {
            for (QProgressDialog* progress : w.findChildren<QProgressDialog*>())
                if (progress->isVisible() && progress->windowTitle() == "Backup")
                    progress->findChild<QPushButton*>()->click();
        });
        if (pressed == "stop")
            stopper.start(0);
        ModalScript script;
        script.press("BackupDialog", "browsePushButton doBackupPushButton");
        if (pressed.isEmpty() || pressed == "stop")
            script.box();
        else if (pressed == "escape")
            script.press("QMessageBox", "escape");
        else
            script.box(pressed == "Cancel" ? QMessageBox::Cancel : QMessageBox::Ignore);
        QCOMPARE(w.suggestBackup(), goesOn);
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen[1].text, message);
        QVERIFY(!progressShown(w));
        // A failed backup lists what it lacks.
        QCOMPARE(script.seen[1].info.contains(QDir::toNativeSeparators(path("src/" + gone))), !gone.isEmpty());

        QDir backups(path("backups"));
        const QString made = backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
        QVERIFY(made.contains(QRegularExpression("^backup_tavrel_\\d{4}_\\d{2}_\\d{2}_\\d{2}-\\d{2}-\\d{2}$")));
        QVERIFY(backups.cd(made));
        // Every copy is whole and the manifest names its original.
        QStringList manifest = QString::fromUtf8(readFile(backups.filePath(LibraryBackup::manifestName)))
                                   .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(manifest.takeFirst(), QString("backup name\toriginal path"));
        QStringList listed;
        for (const QString& line : manifest) {
            listed << line.section('\t', 0, 0);
            QCOMPARE(readFile(backups.filePath(listed.last())), readFile(line.section('\t', 1)));
        }
        listed.sort();
        QStringList files = backups.entryList(QDir::Files, QDir::Name);
        files.removeOne(LibraryBackup::manifestName);
        QCOMPARE(files, listed);
        if (copies == "some")
            QVERIFY(!files.isEmpty() && files.size() < 6);
        else
            QCOMPARE(files.join(' '), copies);
    }

    void run_data()
    {
        QTest::addColumn<bool>("ask");           // the "copyrightAsk" preference
        QTest::addColumn<QString>("backup");     // the answer to the backup offer
        QTest::addColumn<QList<int>>("answers"); // to the questions, in order; -1: Escape, 4: Interrompi then Si
        // Of each row: 0 untouched, 1 updated, 4 not found, 5 left unchanged, 6 unreadable.
        QTest::addColumn<QString>("statuses");

        const QString on = "exitPushButton";
        QTest::newRow("No, then Si tutti") << true << on << QList<int>{2, 1} << "151144144464";
        QTest::newRow("Escape is No") << true << on << QList<int>{-1, 0, 2} << "151144544464";
        QTest::newRow("No tutti asks once") << true << on << QList<int>{3} << "151544544464";
        QTest::newRow("preference off: no question") << false << on << QList<int>{} << "111144144464";
        // The row in progress is finished, no later one starts.
        QTest::newRow("Interrompi between rows") << true << on << QList<int>{4} << "110000000000";
        QTest::newRow("backup offer cancelled") << true << "abortPushButton" << QList<int>{} << "000000000000";
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
        for (int a : answers)
            script.answer(a, &w);
        if (backup == on())
            script.box();
        child<QToolButton>(&w, "updateDataToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(this->statuses(w), statuses);
        // Only the songs the catalogue knows that are not the maker's were asked about, in row order.
        const QStringList others = {files[1], files[3], files[6]};
        for (int i = 1; i < script.seen.size() - 1; ++i)
            QCOMPARE(script.seen[i].text, others[i - 1]);
        // Only an updated row's file changed.
        for (int row = 0; row < files.size(); ++row)
            QVERIFY2((readFile(files[row]) != mixedData()[row]) == (statuses[row] == '1') || row == 10,
                     qPrintable(kRows[row]));
        // The report counts what the statuses show and names the unreadable song.
        if (backup == on()) {
            const QString report = script.seen.last().info;
            QCOMPARE(report.section('\n', 0, 3), QString("Song aggiornate: %1\nNon trovate nel database Tavrel: %2\n"
                                                         "Lasciate invariate come richiesto: %3\nNon leggibili: %4")
                                                     .arg(statuses.count('1')).arg(statuses.count('4'))
                                                     .arg(statuses.count('5')).arg(statuses.count('6')));
            QCOMPARE(report.contains(files[10]), statuses[10] == '6');
            QCOMPARE(script.seen.last().text, QString(statuses.contains('0') ? "Sincronizzazione interrotta"
                                                                               : "Sincronizzazione completata"));
        }
        // The status column says what happened to the song in words, with an icon and a tooltip.
        const QModelIndex status = libraryModel(w)->index(10, libraryModel(w)->colIdxStatus());
        QCOMPARE(status.data().toString(), QString(statuses[10] == '6' ? "Illeggibile" : ""));
        QCOMPARE(status.data(Qt::DecorationRole).isValid(), statuses[10] == '6');
        QVERIFY(status.data(Qt::ToolTipRole).toString().startsWith(statuses[10] == '6' ? "Non è stato possibile leggere"
                                                                                        : "Non ancora"));
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
    static QString on() { return "exitPushButton"; }

    void answersForAllLastOneRun()
    {
        setCopyrightAsk(true);
        MainWindow w;
        importMixed(w);
        // "No tutti" in one run, "Si tutti" in the next: each run asks again.
        for (int answer : {3, 1}) {
            ModalScript script;
            script.press("BackupDialog", "exitPushButton").answer(answer).box();
            QVERIFY(w.updateUserLibrary());
            VERIFY_SCRIPT(script);
            QCOMPARE(statuses(w), QString(answer == 3 ? "151544544464" : "111144144464"));
        }
    }

    void oneWorkflowAtATime_data()
    {
        QTest::addColumn<bool>("close"); // the answer to closing the window during the synchronisation
        QTest::newRow("Continua") << false;
        QTest::newRow("Interrompi e chiudi") << true;
    }

    void oneWorkflowAtATime()
    {
        QFETCH(bool, close);
        setCopyrightAsk(true);
        MainWindow w;
        w.show();
        const QStringList files = importMixed(w);
        bool chooserAsked = false;
        w.setFileChooser([&](QWidget*, const QString&, const QString&, const QString&) {
            chooserAsked = true;
            return QStringList{files[0]};
        });
        auto* view = child<QTableView>(&w, "userLibraryTableView");
        QString during;
        ModalScript script;
        // From the event loop, so that the script answers the question closing asks.
        script.press("BackupDialog", "exitPushButton").then("NoCopyrightDialog", [&](QWidget* question) {
            QTimer::singleShot(0, question, [&, question] {
                // Nothing in the window starts another workflow.
                for (const char* name : {"selectDirToolButton", "updateDataToolButton", "transferFilesToolButton",
                                         "dbgImportPushButton", "userLibraryTableView"})
                    during += child<QWidget>(&w, name)->isEnabled() ? '1' : '0';
                during += child<QAction>(&w, "optimizeMemory")->isEnabled() ? '1' : '0';
                child<QToolButton>(&w, "selectDirToolButton")->click();
                child<QAbstractButton>(&w, "dbgImportPushButton")->click();
                emit view->doubleClicked(libraryModel(w)->index(0, 2));
                child<QAction>(&w, "optimizeMemory")->trigger();
                // Closing asks whether to stop after the current song.
                w.close();
                child<QAbstractButton>(question, "yesPushButton")->click();
            });
        });
        script.box(close ? QMessageBox::Yes : QMessageBox::No);
        if (!close)
            script.answer(0).answer(0).box();
        QCOMPARE(w.updateUserLibrary(), !close);
        QCOMPARE(during, QString("000000"));
        VERIFY_SCRIPT(script);
        QVERIFY(script.seen[2].text.contains("interromperla dopo la song in corso"));
        QVERIFY(!chooserAsked && !progressShown(w));
        QCOMPARE(statuses(w), QString(close ? "110000000000" : "111144144464"));
        QCOMPARE(libraryModel(w)->fileName(0), files[0]);
        QTest::qWait(50);
        QCOMPARE(w.isVisible(), !close);
        QCOMPARE(child<QWidget>(&w, "selectDirToolButton")->isEnabled(), true);
    }

    void failedSaveShown()
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
        }).box();
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(script);
        QCOMPARE(statuses(w), QString::number(Database::StatusNotSaved));
        QVERIFY(script.seen.last().info.contains("Non salvate: 1"));
        // Listed with MetaSong's reason, which the row's status tooltip repeats.
        const QString reason = script.seen.last().info.section(song("sub/other1.mid") + ": ", 1);
        QVERIFY(!reason.isEmpty());
        const QModelIndex status = libraryModel(w)->index(0, libraryModel(w)->colIdxStatus());
        QCOMPARE(status.data(Qt::ToolTipRole).toString(), "Non è stato possibile salvare il file:\n" + reason);
        QCOMPARE(readFile(song("moved/other1.mid")), midi({}, false));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
