#include "windowtest.h"

#include "mainwindow/backupdialog.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The synchronisation of a mixed library against a test catalogue.
class TestSync : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void run_data();
    void run();
    void mergedDetailsOnDisk_data();
    void mergedDetailsOnDisk();
    void answersForAllLastOneRun();
    void cancelBetweenRows();
    void nothingTouchedWithoutAStart_data();
    void nothingTouchedWithoutAStart();
    void nameKey_data();
    void nameKey();
    void failedSaveIsNotUpdated();
    void endToEnd();

private:
    QString path(const QString& name) const { return sandbox->path("songs/" + name); }
    // The mixed library, imported without the summary; returns the files in row order.
    QStringList importLibrary(MainWindow& w);
    static QList<int> statuses(MainWindow& w)
    {
        QList<int> s;
        for (int row = 0; row < libraryModel(w)->goodRowCount(); ++row)
            s << libraryModel(w)->status(row);
        return s;
    }

    std::unique_ptr<Sandbox> sandbox;
};

// Rows: the maker's songs are 0, 2 (MFx), 4 and 5; the others are 1, 3 and 6.
static const char* const kRows[] = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3",
                                    "twice.mid", "missing.mid", "other2.mid"};

void TestSync::init()
{
    sandbox.reset(new Sandbox);
    QVERIFY(makeCatalogue(sandbox->root.path(), {
        {"BYNAME", "BY NAME SONG", "ROSSI MARIO", "MARIO ROSSI", "POP", "VERDI GIUSEPPE", 185, 120, "D", "1;Intro;9;Verse;"},
        {"LONGNM", "LONG NAME SONG", "BIANCHI", "", "ROCK", "NERI", 200, 100, "C", "5;Solo;"},
        {"TTLONLY", "TITLE ONLY", "GIALLI", "ANNA GIALLI", "JAZZ", "BLU", 150, 80, "D", ""},
        {"TWICE1", "TWICE", "A", "", "POP", "X", 100, 100, "C", ""},
        {"TWICE2", "twice", "B", "", "POP", "Y", 100, 100, "C", ""},
        {"OTHER1", "OTHER ONE", "VIOLA", "", "BLUES", "ROSA", 90, 70, "C", "1;A;"},
        {"OTHER2", "OTHER TWO", "GRIGI", "", "FOLK", "ORO", 95, 75, "C", ""},
    }));
    // The backup offer is answered "Prosegui senza backup" unless a test says otherwise.
    BackupDialog::setFolderChooser([](QWidget*, const QString&, const QString&) { return QString(); });
}

void TestSync::cleanup()
{
    BackupDialog::setFolderChooser(nullptr);
    sandbox.reset();
}

QStringList TestSync::importLibrary(MainWindow& w)
{
    const QList<QByteArray> data = {midi(QString(), true), midi(QString(), false), mf3("LONGNM.MID"),
                                    mp3("Title Only"), midi("Twice", true), midi("Nowhere", true),
                                    midi(QString(), false)};
    QStringList files;
    for (int i = 0; i < data.size(); ++i) {
        files << path(kRows[i]);
        writeFile(files.last(), data[i]);
    }
    importWithoutSummary(w, files);
    return files;
}

void TestSync::run_data()
{
    QTest::addColumn<bool>("ask");             // the "copyrightAsk" preference
    QTest::addColumn<QList<int>>("answers");   // to the questions, in order; -1: Escape
    QTest::addColumn<QList<int>>("statuses");

    const QList<int> all = {1, 1, 1, 1, 3, 3, 1};
    const QList<int> none = {1, 3, 1, 3, 3, 3, 3};
    QTest::newRow("Si to each") << true << QList<int>{0, 0, 0} << all;
    QTest::newRow("No to each") << true << QList<int>{2, 2, 2} << none;
    QTest::newRow("Si tutti asks once") << true << QList<int>{1} << all;
    QTest::newRow("No tutti asks once") << true << QList<int>{3} << none;
    QTest::newRow("No, then Si tutti") << true << QList<int>{2, 1} << QList<int>{1, 3, 1, 1, 3, 3, 1};
    QTest::newRow("Escape is Si") << true << QList<int>{-1, 2, 3} << QList<int>{1, 1, 1, 3, 3, 3, 3};
    QTest::newRow("preference off: no question") << false << QList<int>{} << all;
}

void TestSync::run()
{
    QFETCH(bool, ask);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, statuses);
    setCopyrightAsk(ask);
    MainWindow w;
    const QStringList files = importLibrary(w);
    QByteArrayList before;
    for (const QString& f : files)
        before << readFile(f);

    ModalScript script;
    script.press("BackupDialog", "exitPushButton");
    for (int a : answers)
        script.answer(a);
    LogCapture log;
    toolButton(w, "updateDataToolButton")->click();
    VERIFY_SCRIPT(script);
    QCOMPARE(this->statuses(w), statuses);
    // Only the songs that are not the maker's were asked about, in row order.
    const QStringList others = {files[1], files[3], files[6]};
    for (int i = 1; i < script.seen.size(); ++i)
        QCOMPARE(script.seen[i].title + ": " + script.seen[i].text, "Richiesta conferma: " + others[i - 1]);
    // A row left at "not updated" keeps its file byte for byte.
    for (int row = 0; row < files.size(); ++row)
        QVERIFY2((readFile(files[row]) == before[row]) == (statuses[row] == Database::StatusNotUpdated), kRows[row]);
    // A run through every row leaves only the synchronisation button disabled.
    QCOMPARE(buttonStates(w), QStringLiteral("101"));

    // The three match keys, a title matching two records, a song not in the catalogue.
    for (const QString& line : {"Found in DB by: \"FILENAME: BYNAME\"", "Found in DB by: \"MFXLONGNAME: LONGNM\"",
                                "Record \"TWICE/TWICE\" NOT found in DB", "Record \"MISSING/NOWHERE\" NOT found in DB"})
        QVERIFY2(log.lines().contains(line), qPrintable(line));
    QCOMPARE(log.lines().contains(QStringLiteral("Found in DB by: \"TITLE: TITLE ONLY\"")), statuses[3] == 1);
}

void TestSync::mergedDetailsOnDisk_data()
{
    // What each file holds after a run without questions, read back from disk:
    // title|artist|genre|author|length|bpm|key|markers (bar:label).
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("details");
    // The maker's song gets every detail, the alternative artist first.
    QTest::newRow("by file name") << 0 << "BY NAME SONG|MARIO ROSSI|POP|VERDI GIUSEPPE|185|120|D|1:Intro 9:Verse";
    // Another publisher's song: no key, length or tempo from the catalogue.
    QTest::newRow("not the maker's") << 1 << "OTHER ONE|VIOLA|BLUES|ROSA|0|0||1:A";
    QTest::newRow("by MFx long name") << 2 << "LONG NAME SONG|BIANCHI|ROCK|NERI|200|100|C|5:Solo";
    // The file keeps its own title frame.
    QTest::newRow("by title") << 3 << "Title Only|ANNA GIALLI|JAZZ|BLU|0|0||";
}

void TestSync::mergedDetailsOnDisk()
{
    QFETCH(int, row);
    QFETCH(QString, details);
    setCopyrightAsk(false);
    MainWindow w;
    const QStringList files = importLibrary(w);
    ModalScript script;
    script.press("BackupDialog", "exitPushButton");
    QVERIFY(w.updateUserLibrary());
    VERIFY_SCRIPT(script);

    const SongInfo s = readInfo(files[row]);
    QStringList markers;
    for (const Marker& m : s.markers)
        markers << QString::number(m.bar) + ':' + m.text;
    QCOMPARE(QStringList({s.title, s.artist, s.genre, s.author, QString::number(s.length), QString::number(s.userBpm),
                          s.key, markers.join(' ')}).join('|'), details);
    if (s.format == QLatin1String("MF3"))
        QVERIFY(s.mfxFlags & 1);
    // The row shows what the file holds now.
    UserSongsRelTableModel* model = libraryModel(w);
    QCOMPARE(model->index(row, model->fieldIndex("title")).data().toString(), s.title);
    QCOMPARE(model->index(row, model->fieldIndex("artist")).data().toString(), s.artist);
    QCOMPARE(model->index(row, model->fieldIndex("length")).data().toString(), model->lengthText(s.length));
}

void TestSync::answersForAllLastOneRun()
{
    setCopyrightAsk(true);
    MainWindow w;
    importLibrary(w);
    {
        ModalScript first;
        first.press("BackupDialog", "exitPushButton").answer(3);
        QVERIFY(w.updateUserLibrary());
        VERIFY_SCRIPT(first);
        QCOMPARE(statuses(w), (QList<int>{1, 3, 1, 3, 3, 3, 3}));
    }

    // The next run asks again, and the preference was not touched.
    ModalScript second;
    second.press("BackupDialog", "exitPushButton").answer(1);
    QVERIFY(w.updateUserLibrary());
    VERIFY_SCRIPT(second);
    QCOMPARE(statuses(w), (QList<int>{1, 1, 1, 1, 3, 3, 1}));
    QCOMPARE(store().value(QLatin1String(SettingsKeys::copyrightAsk)).toBool(), true);
}

void TestSync::cancelBetweenRows()
{
    setCopyrightAsk(true);
    MainWindow w;
    const QStringList files = importLibrary(w);
    const QByteArray untouched = readFile(files[2]);
    ModalScript script;
    script.press("BackupDialog", "exitPushButton").then("NoCopyrightDialog", [&w](QWidget* d) {
        // "Interrompi" while row 1 is in progress: the row is finished, no later one starts.
        currentProgress(w)->findChild<QPushButton*>()->click();
        child<QAbstractButton>(d, "yesPushButton")->click();
    });
    toolButton(w, "updateDataToolButton")->click();
    VERIFY_SCRIPT(script);
    QCOMPARE(statuses(w), (QList<int>{1, 1, 0, 0, 0, 0, 0}));
    QCOMPARE(readInfo(files[1]).title, QStringLiteral("OTHER ONE"));
    QCOMPARE(readFile(files[2]), untouched);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));
}

void TestSync::nothingTouchedWithoutAStart_data()
{
    QTest::addColumn<bool>("emptyLibrary");
    QTest::newRow("empty library") << true;
    QTest::newRow("backup offer cancelled") << false;
}

void TestSync::nothingTouchedWithoutAStart()
{
    QFETCH(bool, emptyLibrary);
    MainWindow w;
    QStringList files;
    QByteArrayList before;
    ModalScript script;
    if (!emptyLibrary) {
        files = importLibrary(w);
        for (const QString& f : files)
            before << readFile(f);
        script.press("BackupDialog", "abortPushButton");
    }
    LogCapture log;
    QVERIFY(!w.updateUserLibrary());
    VERIFY_SCRIPT(script);
    QCOMPARE(log.lines().contains("[UPDATE] WARNING: Empty table. Aborting update !!!"), emptyLibrary);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(readFile(files[i]), before[i]);
    QVERIFY(!statuses(w).contains(int(Database::StatusUpdated)));
}

void TestSync::nameKey_data()
{
    // Name key and title key of a song not in the catalogue, as the log shows them.
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("keys");
    QTest::newRow("three-letter extension") << "lost.mid" << "LOST/NOWHERE";
    QTest::newRow("four-letter extension kept") << "lost.midi" << "LOST.MIDI/NOWHERE";
    QTest::newRow("no extension") << "lost" << "LOST/NOWHERE";
    QTest::newRow("only the last extension") << "my.lost.kar" << "MY.LOST/NOWHERE";
}

void TestSync::nameKey()
{
    QFETCH(QString, fileName);
    QFETCH(QString, keys);
    MainWindow w;
    QVERIFY(writeFile(path(fileName), midi("Nowhere", true)));
    importWithoutSummary(w, {path(fileName)});
    ModalScript script;
    script.press("BackupDialog", "exitPushButton");
    LogCapture log;
    QVERIFY(w.updateUserLibrary());
    QVERIFY(log.lines().contains(QStringLiteral("Record \"%1\" NOT found in DB").arg(keys)));
}

void TestSync::failedSaveIsNotUpdated()
{
    setCopyrightAsk(true);
    MainWindow w;
    const QString song = path("sub/other1.mid");
    const QByteArray original = midi(QString(), false);
    QVERIFY(writeFile(song, original));
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
    QVERIFY(log.lines().contains(QStringLiteral("Found in DB by: \"FILENAME: OTHER1\"")));
    QCOMPARE(statuses(w), QList<int>{int(Database::StatusNotUpdated)});
    QCOMPARE(readFile(path("moved/other1.mid")), original);
}

void TestSync::endToEnd()
{
    // A whole session: import, the summary's "Si", a backup, the synchronisation.
    const QStringList names = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "broken.mid", "bytitle.cdg"};
    const QList<QByteArray> data = {midi(QString(), true), midi(QString(), false), mf3("LONGNM.MID"),
                                    mp3("Title Only"), "not a song at all", "karaoke graphics"};
    QStringList files;
    for (int i = 0; i < names.size(); ++i) {
        files << path(names[i]);
        QVERIFY(writeFile(files.last(), data[i]));
    }
    const QString backups = sandbox->path("backups");
    QVERIFY(QDir().mkpath(backups));
    BackupDialog::setFolderChooser([backups](QWidget*, const QString&, const QString&) { return backups; });

    MainWindow w;
    w.show();
    ModalScript script;
    script.press("ProceedDialog", "yesPushButton")
        .press("BackupDialog", "browsePushButton doBackupPushButton")
        .okBox()
        .answer(0)   // other1.mid
        .answer(0);  // bytitle.mp3
    pickFiles(w, files.mid(0, 5));
    VERIFY_SCRIPT(script);
    QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
    QCOMPARE(script.seen[3].text, files[1]);
    QCOMPARE(script.seen[4].text, files[3]);

    // Every picked file, the unreadable one too, went into the backup as it was before.
    const QStringList folders = QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), 1);
    const QDir backup(backups + '/' + folders.first());
    QCOMPARE(backup.entryList(QDir::Files, QDir::Name),
             (QStringList{"broken.mid", "byname.mid", "bytitle.cdg", "bytitle.mp3", "other1.mid", "xyz.mf3"}));
    for (int i = 0; i < names.size(); ++i)
        QVERIFY2(readFile(backup.filePath(names[i])) == data[i], qPrintable(names[i]));

    // The synchronisation ran to its end and the files hold the merged details.
    QCOMPARE(statuses(w), (QList<int>{1, 1, 1, 1}));
    QCOMPARE(buttonStates(w), QStringLiteral("101"));
    const QStringList titles = {"BY NAME SONG", "OTHER ONE", "LONG NAME SONG", "Title Only"};
    const QStringList artists = {"MARIO ROSSI", "VIOLA", "BIANCHI", "ANNA GIALLI"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(readInfo(files[i]).title + '/' + readInfo(files[i]).artist, titles[i] + '/' + artists[i]);
    QCOMPARE(readFile(files[4]), data[4]);
    QCOMPARE(readFile(files[5]), data[5]);
}

QTEST_MAIN(TestSync)
#include "tst_sync.moc"
