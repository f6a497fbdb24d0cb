#include "windowtest.h"

#include "mainwindow/backupdialog.h"

#include <QDateTime>
#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// MainWindow::copyFiles, the flat copy of the picked files used by the
// backup and the transfer, and the backup offered before a synchronisation.
class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void overwriteAnswers_data();
    void overwriteAnswers();
    void companions_data();
    void companions();
    void samePath_data();
    void samePath();
    void cancel_data();
    void cancel();
    void failedCopyCountsAndGoesOn();
    void offer_data();
    void offer();
    void sameFileNameAsksBeforeReplacing();
    void failedCopyLetsSynchronisationGoOn();

private:
    QString path(const QString& name) const { return sandbox->path(name); }
    // Source files src/<name> holding "new <name>", imported into the window.
    QStringList importSources(MainWindow& w, const QStringList& names, int imported = -1)
    {
        QStringList paths;
        for (const QString& name : names) {
            paths << path("src/" + name);
            writeFile(paths.last(), "new " + name.toUtf8());
        }
        importWithoutSummary(w, paths.mid(0, imported));
        return paths;
    }
    // Copies into dir: the number of files copied, or -2 when the result is not `ok`.
    static int copyTo(MainWindow& w, const QString& dir, bool ok)
    {
        int count = -1;
        return w.copyFiles(dir, count) == ok ? count : -2;
    }

    std::unique_ptr<Sandbox> sandbox;
    QString dest;
};

void TestBackup::init()
{
    sandbox.reset(new Sandbox);
    dest = path("dest");
    QVERIFY(makeCatalogue(sandbox->root.path(), {}));
    QVERIFY(QDir().mkpath(dest) && QDir().mkpath(path("backups")));
    BackupDialog::setFolderChooser([this](QWidget*, const QString&, const QString&) { return path("backups"); });
}

void TestBackup::cleanup()
{
    BackupDialog::setFolderChooser(nullptr);
    sandbox.reset();
}

void TestBackup::overwriteAnswers_data()
{
    // Picked a, b, c, d; a and c already exist at the destination.
    QTest::addColumn<QStringList>("picked");
    QTest::addColumn<QList<int>>("answers");   // -1: Escape
    QTest::addColumn<int>("copied");
    QTest::addColumn<QString>("replaced");     // existing targets that got the new content

    const QStringList abcd = {"a.mid", "b.mid", "c.mid", "d.mid"};
    QTest::newRow("Si, Si") << abcd << QList<int>{0, 0} << 4 << "a c";
    QTest::newRow("Si tutti asks once") << abcd << QList<int>{1} << 4 << "a c";
    QTest::newRow("No, Si") << abcd << QList<int>{2, 0} << 3 << "c";
    QTest::newRow("No tutti asks once") << abcd << QList<int>{3} << 2 << "";
    QTest::newRow("Escape is Si") << abcd << QList<int>{-1, 2} << 3 << "a";
    QTest::newRow("all kept, nothing else") << QStringList{"a.mid", "c.mid"} << QList<int>{3} << 0 << "";
}

void TestBackup::overwriteAnswers()
{
    QFETCH(QStringList, picked);
    QFETCH(QList<int>, answers);
    QFETCH(int, copied);
    QFETCH(QString, replaced);
    for (const char* existing : {"/a.mid", "/c.mid"})
        QVERIFY(writeFile(dest + existing, "old"));
    MainWindow w;
    importSources(w, picked);

    ModalScript script;
    for (int a : answers)
        script.answer(a);
    QCOMPARE(copyTo(w, dest, true), copied);
    VERIFY_SCRIPT(script);
    // The question names the existing target.
    QCOMPARE(script.seen.first().text, dest + "/a.mid");
    for (const QString& name : picked) {
        const bool kept = (name == "a.mid" || name == "c.mid") && !replaced.contains(name.left(1));
        QCOMPARE(readFile(dest + "/" + name), kept ? QByteArray("old") : "new " + name.toUtf8());
    }
}

void TestBackup::companions_data()
{
    QTest::addColumn<QString>("song");
    QTest::addColumn<bool>("existAtDest");      // song and companion already at the destination
    QTest::addColumn<int>("answer");            // to the overwrite question; -1: none asked
    QTest::addColumn<int>("copied");

    QTest::newRow("companion copied along") << "song.mp3" << false << -1 << 1;
    QTest::newRow("upper-case extension") << "SONG.MP3" << false << -1 << 1;
    // The companion is replaced together with the song the user replaces.
    QTest::newRow("both replaced") << "song.mp3" << true << 0 << 1;
    QTest::newRow("both kept") << "song.mp3" << true << 2 << 0;
}

void TestBackup::companions()
{
    QFETCH(QString, song);
    QFETCH(bool, existAtDest);
    QFETCH(int, answer);
    QFETCH(int, copied);
    const QString companion = QFileInfo(song).completeBaseName() + ".cdg";
    for (const QString& name : {song, companion})
        if (existAtDest)
            QVERIFY(writeFile(dest + "/" + name, "old"));
    MainWindow w;
    importSources(w, {song, companion}, 1);

    ModalScript script;
    if (answer >= 0)
        script.answer(answer);
    QCOMPARE(copyTo(w, dest, true), copied);
    VERIFY_SCRIPT(script);
    for (const QString& name : {song, companion})
        QCOMPARE(readFile(dest + "/" + name), copied ? "new " + name.toUtf8() : QByteArray("old"));
}

void TestBackup::samePath_data()
{
    QTest::addColumn<QString>("destination");
    QTest::newRow("same path") << "src";
    QTest::newRow("letter case only") << "SRC";
    // Replacing the target would delete the source.
    QTest::newRow("link to the source folder") << "link";
}

void TestBackup::samePath()
{
    QFETCH(QString, destination);
    MainWindow w;
    const QStringList sources = importSources(w, {"a.mid", "b.mp3", "b.cdg"}, 2);
    if (destination == "link")
        QVERIFY(QFile::link(path("src"), path("link")));
    const QDateTime before = QFileInfo(sources.first()).lastModified();

    // Counted as copied, with no question and nothing written.
    ModalScript script;
    QCOMPARE(copyTo(w, path(destination), true), 2);
    VERIFY_SCRIPT(script);
    for (const QString& source : sources)
        QCOMPARE(readFile(source), "new " + QFileInfo(source).fileName().toUtf8());
    QCOMPARE(QFileInfo(sources.first()).lastModified(), before);
}

void TestBackup::cancel_data()
{
    QTest::addColumn<bool>("beforeStart");
    QTest::newRow("before the first file") << true;
    QTest::newRow("during the overwrite question") << false;
}

void TestBackup::cancel()
{
    QFETCH(bool, beforeStart);
    QVERIFY(writeFile(dest + "/a.mid", "old"));
    MainWindow w;
    importSources(w, {"a.mid", "b.mid", "c.mid"});
    QPushButton* stop = currentProgress(w)->findChild<QPushButton*>();
    ModalScript script;
    if (beforeStart)
        stop->click();
    else
        script.then("NoCopyrightDialog", [stop](QWidget* d) {
            stop->click();
            child<QAbstractButton>(d, "yesPushButton")->click();
        });
    QCOMPARE(copyTo(w, dest, false), 0);
    VERIFY_SCRIPT(script);
    // The file in progress is finished, nothing after it is copied.
    QCOMPARE(readFile(dest + "/a.mid"), beforeStart ? QByteArray("old") : QByteArray("new a.mid"));
    QCOMPARE(QDir(dest).entryList(QDir::Files), QStringList{"a.mid"});
}

void TestBackup::failedCopyCountsAndGoesOn()
{
    MainWindow w;
    const QStringList sources = importSources(w, {"a.mid", "gone.mid", "b.mp3", "b.cdg"}, 3);
    QVERIFY(QFile::remove(sources[1]));
    // A companion the destination cannot take: a folder of its name is there.
    QVERIFY(QDir().mkpath(dest + "/b.cdg"));
    ModalScript script;
    QCOMPARE(copyTo(w, dest, false), 1);
    VERIFY_SCRIPT(script);
    QCOMPARE(readFile(dest + "/a.mid"), QByteArray("new a.mid"));
}

void TestBackup::offer_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("chosen");       // folder the chooser answers
    QTest::addColumn<bool>("removeAPicked");   // a picked file disappears before the backup
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("folderMade");

    const QString done = QStringLiteral("Backup eseguito correttamente");
    const QString failed = QStringLiteral("Backup FALLITO !!!");
    QTest::newRow("Prosegui senza backup") << "exitPushButton" << "backups" << false << true << "" << false;
    QTest::newRow("Annulla") << "abortPushButton" << "backups" << false << false << "" << false;
    QTest::newRow("backup done") << "browsePushButton doBackupPushButton" << "backups" << false << true << done << true;
    // Tests run as root, so a read-only folder would not stop them: a path
    // below a regular file can never be made.
    QTest::newRow("folder cannot be made")
        << "browsePushButton doBackupPushButton" << "plainfile/sub" << false << false << failed << false;
    QTest::newRow("a copy fails") << "browsePushButton doBackupPushButton" << "backups" << true << true << failed << true;
}

void TestBackup::offer()
{
    QFETCH(QString, way);
    QFETCH(QString, chosen);
    QFETCH(bool, removeAPicked);
    QFETCH(bool, result);
    QFETCH(QString, box);
    QFETCH(bool, folderMade);
    QVERIFY(writeFile(path("plainfile"), "not a folder"));
    const QStringList picked = {path("src/one.mid"), path("src/two.mp3"), path("src/two.cdg")};
    QVERIFY(writeFile(picked[0], midi("One", true)) && writeFile(picked[1], mp3("Two")));
    QVERIFY(writeFile(picked[2], "graphics"));
    BackupDialog::setFolderChooser([&](QWidget*, const QString&, const QString&) { return path(chosen); });
    MainWindow w;
    importWithoutSummary(w, picked.mid(0, 2));
    if (removeAPicked)
        QVERIFY(QFile::remove(picked[0]));

    ModalScript script;
    script.press("BackupDialog", way);
    int icon = -1;
    if (!box.isEmpty())
        script.then("QMessageBox", [&icon](QWidget* b) {
            icon = static_cast<QMessageBox*>(b)->icon();
            static_cast<QMessageBox*>(b)->button(QMessageBox::Ok)->click();
        });
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QCOMPARE(w.suggestBackup(), result);
    const QDateTime after = QDateTime::currentDateTime();
    VERIFY_SCRIPT(script);
    if (!box.isEmpty()) {
        QCOMPARE(script.seen.last().title + ": " + script.seen.last().text, "Backup: " + box);
        QCOMPARE(icon, int(box.contains("FALLITO") ? QMessageBox::Critical : QMessageBox::Information));
    }

    const QStringList folders = QDir(path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), folderMade ? 1 : 0);
    if (!folderMade)
        return;
    const QRegularExpressionMatch m =
        QRegularExpression("^backup_tavrel_(\\d{4}_\\d{2}_\\d{2}_\\d{2}-\\d{2}-\\d{2})$").match(folders.first());
    QVERIFY2(m.hasMatch(), qPrintable(folders.first()));
    const QDateTime stamp = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy_MM_dd_hh-mm-ss"));
    QVERIFY(stamp >= before && stamp <= after);
    // Flat copy with the MP3's companion.
    const QDir backup(path("backups/") + folders.first());
    QStringList expected = {"two.cdg", "two.mp3"};
    if (!removeAPicked)
        expected.prepend("one.mid");
    QCOMPARE(backup.entryList(QDir::Files, QDir::Name), expected);
    for (const QString& f : expected)
        QCOMPARE(readFile(backup.filePath(f)), readFile(path("src/") + f));
}

void TestBackup::sameFileNameAsksBeforeReplacing()
{
    const QStringList picked = {path("src/song.mid"), path("src/other/song.mid")};
    QVERIFY(writeFile(picked[0], midi("First", true)) && writeFile(picked[1], midi("Second", true)));
    MainWindow w;
    importWithoutSummary(w, picked);
    ModalScript script;
    script.press("BackupDialog", "browsePushButton doBackupPushButton")
        .then("NoCopyrightDialog", [&w](QWidget* d) {
            // The progress stops short of its end when a file is kept; it must not stay on screen.
            currentProgress(w)->show();
            child<QAbstractButton>(d, "noPushButton")->click();
        })
        .okBox();
    QVERIFY(w.suggestBackup());
    QVERIFY(!currentProgress(w)->isVisible());
    VERIFY_SCRIPT(script);

    const QString copy = path("backups/") + QDir(path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0)
        + "/song.mid";
    QCOMPARE(script.seen[1].text, copy);
    // Keeping the first copy is no failure.
    QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
    QCOMPARE(readFile(copy), readFile(picked[0]));
}

void TestBackup::failedCopyLetsSynchronisationGoOn()
{
    QVERIFY(makeCatalogue(sandbox->root.path(), {{"KEPT", "KEPT SONG", "ROSSI", "", "POP", "VERDI", 100, 90, "C", ""}}));
    const QStringList picked = {path("src/kept.mid"), path("src/gone.mid")};
    QVERIFY(writeFile(picked[0], midi(QString(), true)) && writeFile(picked[1], midi(QString(), true)));
    MainWindow w;
    importWithoutSummary(w, picked);
    QVERIFY(QFile::remove(picked[1]));
    ModalScript script;
    script.press("BackupDialog", "browsePushButton doBackupPushButton").okBox();
    QVERIFY(w.updateUserLibrary());
    VERIFY_SCRIPT(script);
    QCOMPARE(script.seen[1].text, QStringLiteral("Backup FALLITO !!!"));
    QCOMPARE(libraryModel(w)->status(0), int(Database::StatusUpdated));
    QCOMPARE(libraryModel(w)->status(1), int(Database::StatusNotUpdated));
    QCOMPARE(readInfo(picked[0]).title, QStringLiteral("KEPT SONG"));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
