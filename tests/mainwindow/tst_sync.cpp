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
        QTest::addColumn<QString>("statuses");   // after a first run, then after a second one answered "Si tutti"

        const QString on = "exitPushButton";
        QTest::newRow("No, then Si tutti") << true << on << QList<int>{2, 1} << "1311331333 1111331333";
        QTest::newRow("Escape is Si") << true << on << QList<int>{-1, 2, 3} << "1113333333 1111331333";
        // An "all" answer holds for one run only.
        QTest::newRow("No tutti asks once") << true << on << QList<int>{3} << "1313333333 1111331333";
        QTest::newRow("preference off: no question") << false << on << QList<int>{} << "1111331333 1111331333";
        // The row in progress is finished, no later one starts.
        QTest::newRow("Interrompi between rows") << true << on << QList<int>{4} << "1100000000 1111331333";
        QTest::newRow("backup offer cancelled") << true << "abortPushButton" << QList<int>{} << "0000000000 1111331333";
    }

    void run()
    {
        QFETCH(bool, ask);
        QFETCH(QString, backup);
        QFETCH(QList<int>, answers);
        QFETCH(QString, statuses);
        setCopyrightAsk(ask);
        MainWindow w;
        const QList<QByteArray> data = {midi({}, true), midi({}, false), mf3("LONGNM.MID"), mp3("Title Only"),
            midi("Twice", true), midi("Nowhere", true), midi({}, false), midi("Nowhere", true), midi("Nowhere", true),
            midi("Nowhere", true)};
        QStringList files;
        for (int i = 0; i < data.size(); ++i) {
            files << path(kRows[i]);
            QVERIFY(writeFile(files.last(), data[i]));
        }
        importWithoutSummary(w, files);

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
        child<QToolButton>(&w, "updateDataToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(this->statuses(w), statuses.section(' ', 0, 0));
        // Only the songs that are not the maker's were asked about, in row order.
        const QStringList others = {files[1], files[3], files[6]};
        for (int i = 1; i < script.seen.size(); ++i)
            QCOMPARE(script.seen[i].text, others[i - 1]);
        // Only an updated row's file changed.
        for (int row = 0; row < files.size(); ++row)
            QVERIFY2((readFile(files[row]) != data[row]) == (statuses[row] == '1'), qPrintable(kRows[row]));
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
                QCOMPARE(libraryModel(w)->index(row, 3).data().toString(), s.artist);
            }
            // A title matching two records and songs not in the catalogue, with name
            // keys made without a last extension of up to three letters.
            for (const QString& keys : {"TWICE/TWICE", "LOST.MIDI/NOWHERE", "LOST/NOWHERE", "MY.LOST/NOWHERE"})
                QVERIFY2(log.lines().contains("Record \"" + keys + "\" NOT found in DB"), qPrintable(keys));
        }
        // The "all" answers of the first run are forgotten; the preference untouched.
        script.press("BackupDialog", "exitPushButton");
        if (ask)
            script.answer(1);
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(script);
        QCOMPARE(this->statuses(w), statuses.section(' ', 1));
        QCOMPARE(store().value(SettingsKeys::copyrightAsk).toBool(), ask);
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
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(script);
        QCOMPARE(statuses(w), QString("3"));
        QCOMPARE(readFile(path("moved/other1.mid")), midi({}, false));
    }
};

QTEST_MAIN(TestSync)
#include "tst_sync.moc"
