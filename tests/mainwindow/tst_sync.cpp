#include "windowtest.h"

#include "mainwindow/backupdialog.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// Rows: the maker's songs are 0, 2 (MFx), 4, 5 and 7 to 9; the others are 1, 3 and 6.
static const QStringList kRows = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "twice.mid", "missing.mid",
                                  "other2.mid", "lost.midi", "lost", "my.lost.kar"};

// The synchronisation of a mixed library against a test catalogue.
class TestSync : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;

    QString path(const QString& name) const { return sandbox->path("songs/" + name); }
    // The mixed library, imported; returns the files in row order.
    QStringList importLibrary(MainWindow& w)
    {
        const QList<QByteArray> data = {midi({}, true), midi({}, false), mf3("LONGNM.MID"), mp3("Title Only"),
                                        midi("Twice", true), midi("Nowhere", true), midi({}, false),
                                        midi("Nowhere", true), midi("Nowhere", true), midi("Nowhere", true)};
        QStringList files;
        for (int i = 0; i < data.size(); ++i) {
            files << path(kRows[i]);
            writeFile(files.last(), data[i]);
        }
        importWithoutSummary(w, files);
        return files;
    }
    static QString statuses(MainWindow& w)
    {
        QString s;
        for (int row = 0; row < libraryModel(w)->goodRowCount(); ++row)
            s += QString::number(libraryModel(w)->status(row));
        return s;
    }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
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
        const QString backups = sandbox->path("backups");
        BackupDialog::setFolderChooser([backups](QWidget*, const QString&, const QString&) { return backups; });
    }
    void cleanup()
    {
        BackupDialog::setFolderChooser(nullptr);
        sandbox.reset();
    }

    void run_data()
    {
        QTest::addColumn<bool>("ask");           // the "copyrightAsk" preference
        QTest::addColumn<QString>("backup");     // the answer to the backup offer
        QTest::addColumn<QList<int>>("answers"); // to the questions, in order; -1: Escape, 4: Interrompi then Si
        QTest::addColumn<QString>("statuses");

        const QString on = "exitPushButton";
        QTest::newRow("Si to each") << true << on << QList<int>{0, 0, 0} << "1111331333";
        QTest::newRow("No to each") << true << on << QList<int>{2, 2, 2} << "1313333333";
        QTest::newRow("Si tutti asks once") << true << on << QList<int>{1} << "1111331333";
        QTest::newRow("No tutti asks once") << true << on << QList<int>{3} << "1313333333";
        QTest::newRow("No, then Si tutti") << true << on << QList<int>{2, 1} << "1311331333";
        QTest::newRow("Escape is Si") << true << on << QList<int>{-1, 2, 3} << "1113333333";
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
        const QStringList files = importLibrary(w);
        QByteArrayList before;
        for (const QString& f : files)
            before << readFile(f);

        ModalScript script;
        script.press("BackupDialog", backup);
        for (int a : answers) {
            if (a == 4)
                script.then("NoCopyrightDialog", [&w](QWidget* d) {
                    currentProgress(w)->findChild<QPushButton*>()->click();
                    child<QAbstractButton>(d, "yesPushButton")->click();
                });
            else
                script.answer(a);
        }
        LogCapture log;
        toolButton(w, "updateDataToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(this->statuses(w), statuses);
        // Only the songs that are not the maker's were asked about, in row order.
        const QStringList others = {files[1], files[3], files[6]};
        for (int i = 1; i < script.seen.size(); ++i)
            QCOMPARE(script.seen[i].title + ": " + script.seen[i].text, "Richiesta conferma: " + others[i - 1]);
        // Only an updated row's file changed.
        for (int row = 0; row < files.size(); ++row)
            QVERIFY2((readFile(files[row]) != before[row]) == (statuses[row] == '1'), qPrintable(kRows[row]));
        // A run through every row leaves only the synchronisation button disabled.
        QCOMPARE(buttonStates(w), QString(statuses.contains('0') ? "111" : "101"));
        if (statuses.contains('0'))
            return;
        // The three match keys; a title matching two records; songs not in the catalogue, with name
        // keys made without a last extension of up to three letters.
        for (const QString& found : {"FILENAME: BYNAME", "MFXLONGNAME: LONGNM"})
            QVERIFY2(log.lines().contains("Found in DB by: \"" + found + '"'), qPrintable(found));
        for (const QString& keys :
             {"TWICE/TWICE", "MISSING/NOWHERE", "LOST.MIDI/NOWHERE", "LOST/NOWHERE", "MY.LOST/NOWHERE"})
            QVERIFY2(log.lines().contains("Record \"" + keys + "\" NOT found in DB"), qPrintable(keys));
        QCOMPARE(log.lines().contains("Found in DB by: \"TITLE: TITLE ONLY\""), statuses[3] == '1');
    }

    void answersForAllLastOneRun()
    {
        setCopyrightAsk(true);
        MainWindow w;
        importLibrary(w);
        for (int answer : {3, 1}) {
            ModalScript script;
            script.press("BackupDialog", "exitPushButton").answer(answer);
            QVERIFY(w.updateUserLibrary());
            VERIFY_SCRIPT(script);
            QCOMPARE(statuses(w), QString(answer == 3 ? "1313333333" : "1111331333"));
        }
        // The preference was not touched.
        QCOMPARE(store().value(QLatin1String(SettingsKeys::copyrightAsk)).toBool(), true);
    }

    void failedSaveIsNotUpdated()
    {
        MainWindow w;
        const QString song = path("sub/other1.mid");
        QVERIFY(writeFile(song, midi({}, false)));
        importWithoutSummary(w, {song});
        ModalScript script;
        script.press("BackupDialog", "exitPushButton").then("NoCopyrightDialog", [this](QWidget* d) {
            // While the question is open the song's folder goes away and a plain
            // file takes its name: the save cannot succeed, even as root.
            QDir().rename(path("sub"), path("moved"));
            writeFile(path("sub"), "a file");
            child<QAbstractButton>(d, "yesPushButton")->click();
        });
        LogCapture log;
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(script);
        QVERIFY(log.lines().contains("Found in DB by: \"FILENAME: OTHER1\""));
        QCOMPARE(statuses(w), QString("3"));
        QCOMPARE(readFile(path("moved/other1.mid")), midi({}, false));
    }

    void endToEnd()
    {
        // A whole session: import, the summary's "Si", a backup, the synchronisation.
        const QStringList names = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "broken.mid", "bytitle.cdg"};
        const QList<QByteArray> data = {midi({}, true), midi({}, false), mf3("LONGNM.MID"), mp3("Title Only"),
                                        "not a song at all", "karaoke graphics"};
        QStringList files;
        for (int i = 0; i < names.size(); ++i) {
            files << path(names[i]);
            QVERIFY(writeFile(files.last(), data[i]));
        }
        QVERIFY(QDir().mkpath(sandbox->path("backups")));
        MainWindow w;
        w.show();
        ModalScript script;
        script.press("ProceedDialog", "yesPushButton")
            .press("BackupDialog", "browsePushButton doBackupPushButton")
            .box()
            .answer(0)  // other1.mid
            .answer(0); // bytitle.mp3
        pickFiles(w, files.mid(0, 5));
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
        QCOMPARE(script.seen[3].text + ' ' + script.seen[4].text, files[1] + ' ' + files[3]);

        // Every picked file, the unreadable one too, went into the backup as it was before.
        const QDir backups(sandbox->path("backups"));
        const QDir backup(backups.filePath(backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0)));
        QVERIFY(backup.dirName().startsWith("backup_tavrel_"));
        QCOMPARE(backup.entryList(QDir::Files).size(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(readFile(backup.filePath(names[i])) == data[i], qPrintable(names[i]));

        // The synchronisation ran to its end; read back from disk the files hold
        // title|artist|genre|author|length|bpm|key|markers (bar:label), and the rows show it.
        QCOMPARE(statuses(w), QStringLiteral("1111"));
        QCOMPARE(buttonStates(w), QStringLiteral("101"));
        const QStringList expected = {
            // By file name: the maker's song gets every detail, the alternative artist first.
            "BY NAME SONG|MARIO ROSSI|POP|VERDI GIUSEPPE|185|120|D|1:Intro 9:Verse",
            // Another publisher's song: no key, length or tempo from the catalogue.
            "OTHER ONE|VIOLA|BLUES|ROSA|0|0||1:A",
            "LONG NAME SONG|BIANCHI|ROCK|NERI|200|100|C|5:Solo",
            // By title: the file keeps its own title frame.
            "Title Only|ANNA GIALLI|JAZZ|BLU|0|0||"};
        UserSongsRelTableModel* model = libraryModel(w);
        for (int row = 0; row < expected.size(); ++row) {
            const SongInfo s = readInfo(files[row]);
            QStringList markers;
            for (const Marker& m : s.markers)
                markers << QString::number(m.bar) + ':' + m.text;
            QCOMPARE(QStringList({s.title, s.artist, s.genre, s.author, QString::number(s.length),
                                  QString::number(s.userBpm), s.key, markers.join(' ')}).join('|'), expected[row]);
            QCOMPARE(model->index(row, model->fieldIndex("artist")).data().toString(), s.artist);
            QCOMPARE(model->index(row, model->fieldIndex("length")).data().toString(), model->lengthText(s.length));
        }
        QVERIFY(readInfo(files[2]).mfxFlags & 1);
        QCOMPARE(readFile(files[4]), data[4]);
        QCOMPARE(readFile(files[5]), data[5]);
    }
};

QTEST_MAIN(TestSync)
#include "tst_sync.moc"
