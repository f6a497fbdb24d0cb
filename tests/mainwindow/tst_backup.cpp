#include "windowtest.h"

#include "mainwindow/backupdialog.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// MainWindow::copyFiles (the flat copy used by the backup and the transfer)
// and the backup offered before a synchronisation.
class TestBackup : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QString dest;

    QString path(const QString& name) const { return sandbox->path(name); }
    QString backupFolder() const
    {
        return path("backups/") + QDir(path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        dest = path("dest");
        QVERIFY(makeCatalogue(sandbox->root.path(), {}));
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
        QTest::newRow("Escape is Si") << abcd << "a.mid c.mid" << QList<int>{-1, 2} << "dest" << true << 3
                                      << "a.mid:new b.mid:new c.mid:old d.mid:new";
        QTest::newRow("companion, upper-case extension") << "SONG.MP3 +SONG.cdg" << "" << QList<int>{} << "dest"
                                                         << true << 1 << "SONG.MP3:new SONG.cdg:new";
        // The companion is replaced together with the song the user replaces.
        QTest::newRow("both replaced") << "song.mp3 +song.cdg" << "song.mp3 song.cdg" << QList<int>{0} << "dest"
                                       << true << 1 << "song.cdg:new song.mp3:new";
        QTest::newRow("both kept") << "song.mp3 +song.cdg" << "song.mp3 song.cdg" << QList<int>{2} << "dest" << true
                                   << 0 << "song.cdg:old song.mp3:old";
        // Files already where they would go count as copied; replacing them would delete them.
        const QString same = "a.mid:new b.cdg:new b.mp3:new";
        QTest::newRow("same path") << "a.mid b.mp3 +b.cdg" << "" << QList<int>{} << "src" << true << 2 << same;
        QTest::newRow("letter case only") << "a.mid b.mp3 +b.cdg" << "" << QList<int>{} << "SRC" << true << 2 << same;
        QTest::newRow("link to the sources") << "a.mid b.mp3 +b.cdg" << "" << QList<int>{} << "link" << true << 2
                                             << same;
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
        if (destination == "link")
            QVERIFY(QFile::link(path("src"), path("link")));
        MainWindow w;
        importWithoutSummary(w, sources);
        for (const QString& entry : entries)
            if (entry.startsWith('-'))
                QVERIFY(QFile::remove(path("src/" + entry.mid(1))));

        ModalScript script;
        for (int a : answers) {
            if (a == 4)
                script.then("NoCopyrightDialog", [&w](QWidget* d) {
                    currentProgress(w)->findChild<QPushButton*>()->click();
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

    void offer_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("chosen");     // folder the chooser answers
        QTest::addColumn<bool>("removeAPicked"); // a picked file disappears before the backup
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("box");

        const QString backup = "browsePushButton doBackupPushButton";
        const QString failed = "Backup FALLITO !!!";
        QTest::newRow("Prosegui senza backup") << "exitPushButton" << "backups" << false << true << "";
        QTest::newRow("Annulla") << "abortPushButton" << "backups" << false << false << "";
        QTest::newRow("backup done") << backup << "backups" << false << true << "Backup eseguito correttamente";
        // Tests run as root, so a read-only folder would not stop them: a path
        // below a regular file can never be made.
        QTest::newRow("folder cannot be made") << backup << "plainfile/sub" << false << false << failed;
        QTest::newRow("a copy fails") << backup << "backups" << true << true << failed;
    }

    void offer()
    {
        QFETCH(QString, way);
        QFETCH(QString, chosen);
        QFETCH(bool, removeAPicked);
        QFETCH(bool, result);
        QFETCH(QString, box);
        QVERIFY(writeFile(path("plainfile"), "not a folder"));
        const QStringList picked = {path("src/one.mid"), path("src/two.mp3")};
        QVERIFY(writeFile(picked[0], midi("One", true)) && writeFile(picked[1], mp3("Two")));
        QVERIFY(writeFile(path("src/two.cdg"), "graphics"));
        BackupDialog::setFolderChooser([&](QWidget*, const QString&, const QString&) { return path(chosen); });
        MainWindow w;
        importWithoutSummary(w, picked);
        if (removeAPicked)
            QVERIFY(QFile::remove(picked[0]));

        ModalScript script;
        script.press("BackupDialog", way);
        if (!box.isEmpty())
            script.box();
        QCOMPARE(w.suggestBackup(), result);
        VERIFY_SCRIPT(script);
        QCOMPARE(box.isEmpty() ? box : script.seen.last().text, box);

        const QString folder = backupFolder();
        const bool made = box.endsWith("correttamente") || removeAPicked;
        QCOMPARE(folder.section('/', -1).contains(QRegularExpression(
                     "^backup_tavrel_\\d{4}_\\d{2}_\\d{2}_\\d{2}-\\d{2}-\\d{2}$")), made);
        if (!made)
            return;
        // Flat copy with the MP3's companion.
        QStringList expected = {"two.cdg", "two.mp3"};
        if (!removeAPicked)
            expected.prepend("one.mid");
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
        for (const QString& f : expected)
            QCOMPARE(readFile(folder + '/' + f), readFile(path("src/") + f));
    }

    void sameFileNameAsksBeforeReplacing()
    {
        const QStringList picked = {path("src/song.mid"), path("src/other/song.mid")};
        QVERIFY(writeFile(picked[0], midi("First", true)) && writeFile(picked[1], midi("Second", true)));
        MainWindow w;
        importWithoutSummary(w, picked);
        ModalScript script;
        script.press("BackupDialog", "browsePushButton doBackupPushButton").answer(2).box();
        QVERIFY(w.suggestBackup());
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen[1].text, backupFolder() + "/song.mid");
        // Keeping the first copy is no failure.
        QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
        QCOMPARE(readFile(backupFolder() + "/song.mid"), readFile(picked[0]));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
