#include "tst_sync_helpers.h"

#include "mainwindow/backupdialog.h"
#include "resources/appresources.h"

#include <QPushButton>
#include <QTemporaryDir>

using namespace TestSongs;

// The synchronisation of a mixed library against a test catalogue.
class TestSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
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

private:
    QString path(const QString& name) const { return root->path() + QStringLiteral("/songs/") + name; }
    // The mixed library, imported without the summary; returns the files in row order.
    QStringList importLibrary(MainWindow& w);
    QList<int> statuses(MainWindow& w);
    static SongInfo read(const QString& file)
    {
        MetaSong song;
        SongInfo info;
        if (song.importFile(file))
            song.getSongInfo(info);
        return info;
    }

    QTemporaryDir configDir;
    QString startDir;
    QScopedPointer<QTemporaryDir> root;
};

// Rows: the maker's songs are 0, 2 (MFx), 4 and 5; the others are 1, 3 and 6.
static const char* const kRows[] = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3",
                                    "twice.mid", "missing.mid", "other2.mid"};

void TestSync::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
    startDir = QDir::currentPath();
}

void TestSync::init()
{
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    QVERIFY(QDir::setCurrent(root->path()));
    QVERIFY(QDir().mkpath(root->path() + QStringLiteral("/songs")));
    QVERIFY(makeCatalogue(root->path(), {
        {"BYNAME", "BY NAME SONG", "ROSSI MARIO", "MARIO ROSSI", "POP", "VERDI GIUSEPPE", 185, 120, "D", "1;Intro;9;Verse;"},
        {"LONGNM", "LONG NAME SONG", "BIANCHI", "", "ROCK", "NERI", 200, 100, "C", "5;Solo;"},
        {"TTLONLY", "TITLE ONLY", "GIALLI", "ANNA GIALLI", "JAZZ", "BLU", 150, 80, "D", ""},
        {"TWICE1", "TWICE", "A", "", "POP", "X", 100, 100, "C", ""},
        {"TWICE2", "twice", "B", "", "POP", "Y", 100, 100, "C", ""},
        {"OTHER1", "OTHER ONE", "VIOLA", "", "BLUES", "ROSA", 90, 70, "C", "1;A;"},
        {"OTHER2", "OTHER TWO", "GRIGI", "", "FOLK", "ORO", 95, 75, "C", ""},
    }));
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application)).clear();
    // The backup offer is answered "Prosegui senza backup" unless a test says otherwise.
    BackupDialog::setFolderChooser([](QWidget*, const QString&, const QString&) { return QString(); });
}

void TestSync::cleanup()
{
    BackupDialog::setFolderChooser(nullptr);
    QDir::setCurrent(startDir);
    root.reset();
}

QStringList TestSync::importLibrary(MainWindow& w)
{
    const QList<QByteArray> data = {midi(QString(), true), midi(QString(), false), mf3("LONGNM.MID"),
                                    mp3(QStringLiteral("Title Only")), midi(QStringLiteral("Twice"), true),
                                    midi(QStringLiteral("Nowhere"), true), midi(QString(), false)};
    QStringList files;
    for (int i = 0; i < data.size(); ++i) {
        files << path(QLatin1String(kRows[i]));
        writeFile(files.last(), data[i]);
    }
    importWithoutSummary(w, files);
    return files;
}

QList<int> TestSync::statuses(MainWindow& w)
{
    QList<int> s;
    UserSongsRelTableModel* model = libraryModel(w);
    for (int row = 0; row < model->goodRowCount(); ++row)
        s << model->status(row);
    return s;
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
    for (int a : answers) {
        if (a < 0)
            script.then("NoCopyrightDialog", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
        else
            script.answer(a);
    }
    LogCapture log;
    toolButton(w, "updateDataToolButton")->click();
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());

    QCOMPARE(this->statuses(w), statuses);
    // Only the songs that are not the maker's were asked about, in row order.
    const QStringList others = {files[1], files[3], files[6]};
    for (int i = 1; i < script.seen.size(); ++i) {
        QCOMPARE(script.seen[i].title, QStringLiteral("Richiesta conferma"));
        QCOMPARE(script.seen[i].text, others[i - 1]);
    }
    // A row left at "not updated" keeps its file byte for byte.
    for (int row = 0; row < files.size(); ++row)
        if (statuses[row] == Database::StatusNotUpdated)
            QVERIFY2(readFile(files[row]) == before[row], kRows[row]);
        else
            QVERIFY2(readFile(files[row]) != before[row], kRows[row]);

    // A run through every row leaves the synchronisation button disabled.
    QVERIFY(!toolButton(w, "updateDataToolButton")->isEnabled());
    QVERIFY(toolButton(w, "transferFilesToolButton")->isEnabled());

    const QStringList lines = log.lines();
    QVERIFY(lines.contains(QStringLiteral("          UPDATE USER LIBRARY")));
    QVERIFY(lines.contains(QStringLiteral("[UPDATE] rowIdx: 6")));
    QVERIFY(lines.contains(QStringLiteral("[UPDATE] updating file: \"%1\"").arg(files[6])));
    QVERIFY(lines.contains(QStringLiteral("Found in DB by: \"FILENAME: BYNAME\"")));
    QVERIFY(lines.contains(QStringLiteral("Found in DB by: \"MFXLONGNAME: LONGNM\"")));
    QVERIFY(lines.contains(QStringLiteral("Record \"TWICE/TWICE\" NOT found in DB")));
    QVERIFY(lines.contains(QStringLiteral("Record \"MISSING/NOWHERE\" NOT found in DB")));
    QCOMPARE(lines.contains(QStringLiteral("Found in DB by: \"TITLE: TITLE ONLY\"")), statuses[3] == 1);
    QCOMPARE(lines.count(QString(74, QLatin1Char('='))), files.size());
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
    QCOMPARE(script.unexpected, QStringList());

    const SongInfo s = read(files[row]);
    QStringList markers;
    for (const Marker& m : s.markers)
        markers << QString::number(m.bar) + QLatin1Char(':') + m.text;
    QCOMPARE(QStringList({s.title, s.artist, s.genre, s.author, QString::number(s.length), QString::number(s.userBpm),
                          s.key, markers.join(QLatin1Char(' '))}).join(QLatin1Char('|')), details);
    if (s.format == QLatin1String("MF3"))
        QVERIFY(s.mfxFlags & 1);

    // The row shows what the file holds now.
    UserSongsRelTableModel* model = libraryModel(w);
    QCOMPARE(model->index(row, model->fieldIndex(QStringLiteral("title"))).data().toString(), s.title);
    QCOMPARE(model->index(row, model->fieldIndex(QStringLiteral("artist"))).data().toString(), s.artist);
    QCOMPARE(model->index(row, model->fieldIndex(QStringLiteral("length"))).data().toString(),
             UserSongsRelTableModel::lengthText(s.length));
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
        QVERIFY(first.done());
        QCOMPARE(first.unexpected, QStringList());
        QCOMPARE(statuses(w), (QList<int>{1, 3, 1, 3, 3, 3, 3}));
    }

    // The next run asks again, and the preference was not touched.
    ModalScript second;
    second.press("BackupDialog", "exitPushButton").answer(1);
    QVERIFY(w.updateUserLibrary());
    QVERIFY(second.done());
    QCOMPARE(second.unexpected, QStringList());
    QCOMPARE(statuses(w), (QList<int>{1, 1, 1, 1, 3, 3, 1}));
    QSettings s(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    QCOMPARE(s.value(QLatin1String(SettingsKeys::copyrightAsk)).toBool(), true);
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
        ModalScript::button(d, "yesPushButton")->click();
    });
    toolButton(w, "updateDataToolButton")->click();
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());
    QCOMPARE(statuses(w), (QList<int>{1, 1, 0, 0, 0, 0, 0}));
    QCOMPARE(read(files[1]).title, QStringLiteral("OTHER ONE"));
    QCOMPARE(readFile(files[2]), untouched);
    QVERIFY(toolButton(w, "updateDataToolButton")->isEnabled());
    QVERIFY(toolButton(w, "transferFilesToolButton")->isEnabled());
}

void TestSync::nothingTouchedWithoutAStart_data()
{
    QTest::addColumn<bool>("emptyLibrary");
    QTest::addColumn<QString>("backupButton");
    QTest::newRow("empty library") << true << "";
    QTest::newRow("backup offer cancelled") << false << "abortPushButton";
    QTest::newRow("backup offer closed") << false << "";
}

void TestSync::nothingTouchedWithoutAStart()
{
    QFETCH(bool, emptyLibrary);
    QFETCH(QString, backupButton);

    MainWindow w;
    QStringList files;
    QByteArrayList before;
    if (!emptyLibrary) {
        files = importLibrary(w);
        for (const QString& f : files)
            before << readFile(f);
    }
    ModalScript script;
    if (!emptyLibrary)
        script.then("BackupDialog", [backupButton](QWidget* d) {
            if (backupButton.isEmpty())
                d->close();
            else
                ModalScript::button(d, backupButton.toLatin1())->click();
        });
    LogCapture log;
    QVERIFY(!w.updateUserLibrary());
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());
    if (emptyLibrary)
        QVERIFY(log.lines().contains(QStringLiteral("[UPDATE] WARNING: Empty table. Aborting update !!!")));
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
    setCopyrightAsk(false);
    MainWindow w;
    QVERIFY(writeFile(path(fileName), midi(QStringLiteral("Nowhere"), true)));
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
    QVERIFY(QDir().mkpath(path("sub")));
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
        ModalScript::button(d, "yesPushButton")->click();
    });
    LogCapture log;
    QVERIFY(w.updateUserLibrary());
    QVERIFY(script.done());
    QVERIFY(log.lines().contains(QStringLiteral("Found in DB by: \"FILENAME: OTHER1\"")));
    QCOMPARE(statuses(w), QList<int>{int(Database::StatusNotUpdated)});
    QCOMPARE(readFile(path("moved/other1.mid")), original);
}

QTEST_MAIN(TestSync)
#include "tst_sync.moc"
