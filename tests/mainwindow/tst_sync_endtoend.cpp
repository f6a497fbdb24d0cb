#include "tst_sync_helpers.h"

#include "mainwindow/backupdialog.h"
#include "resources/appresources.h"

#include <QTemporaryDir>

using namespace TestSongs;

// A whole session: import, the summary's "Si", a backup, the synchronisation.
class TestSyncEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void importBackupSynchronise();
};

void TestSyncEndToEnd::importBackupSynchronise()
{
    QTemporaryDir configDir;
    QTemporaryDir root;
    QVERIFY(configDir.isValid() && root.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
    const QString startDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));
    QVERIFY(makeCatalogue(root.path(), {
        {"BYNAME", "BY NAME SONG", "ROSSI MARIO", "MARIO ROSSI", "POP", "VERDI", 185, 120, "D", "1;Intro;"},
        {"LONGNM", "LONG NAME SONG", "BIANCHI", "", "ROCK", "NERI", 200, 100, "C", ""},
        {"TTLONLY", "TITLE ONLY", "GIALLI", "ANNA GIALLI", "JAZZ", "BLU", 150, 80, "D", ""},
        {"OTHER1", "OTHER ONE", "VIOLA", "", "BLUES", "ROSA", 90, 70, "C", ""},
    }));

    const QString songs = root.path() + QStringLiteral("/songs/");
    const QString backups = root.path() + QStringLiteral("/backups");
    QVERIFY(QDir().mkpath(songs) && QDir().mkpath(backups));
    const QStringList names = {"byname.mid", "other1.mid", "xyz.mf3", "bytitle.mp3", "broken.mid"};
    const QList<QByteArray> data = {midi(QString(), true), midi(QString(), false), mf3("LONGNM.MID"),
                                    mp3(QStringLiteral("Title Only")), QByteArray("not a song at all")};
    QStringList files;
    QMap<QString, QByteArray> original;
    for (int i = 0; i < names.size(); ++i) {
        files << songs + names[i];
        QVERIFY(writeFile(files.last(), data[i]));
        original[names[i]] = data[i];
    }
    QVERIFY(writeFile(songs + QStringLiteral("bytitle.cdg"), "karaoke graphics"));
    original[QStringLiteral("bytitle.cdg")] = "karaoke graphics";

    {
        MainWindow w;
        w.show();
        w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
        BackupDialog::setFolderChooser([backups](QWidget*, const QString&, const QString&) { return backups; });

        ModalScript script;
        script.press("ProceedDialog", "yesPushButton")
            .then("BackupDialog", [](QWidget* d) {
                ModalScript::button(d, "browsePushButton")->click();
                ModalScript::button(d, "doBackupPushButton")->click();
            })
            .okBox()
            .answer(0)    // other1.mid
            .answer(0);   // bytitle.mp3
        toolButton(w, "selectDirToolButton")->click();
        QVERIFY(script.done());
        QCOMPARE(script.unexpected, QStringList());
        QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
        QCOMPARE(script.seen[3].text, files[1]);
        QCOMPARE(script.seen[4].text, files[3]);

        // Every picked file, the unreadable one too, went into the backup as it was before.
        const QStringList folders = QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(folders.size(), 1);
        QVERIFY(folders.first().startsWith(QLatin1String("backup_tavrel_")));
        const QDir backup(backups + QLatin1Char('/') + folders.first());
        QCOMPARE(backup.entryList(QDir::Files, QDir::Name),
                 (QStringList{"broken.mid", "byname.mid", "bytitle.cdg", "bytitle.mp3", "other1.mid", "xyz.mf3"}));
        for (const QString& f : backup.entryList(QDir::Files))
            QVERIFY2(readFile(backup.filePath(f)) == original[f], qPrintable(f));

        UserSongsRelTableModel* model = libraryModel(w);
        QCOMPARE(model->goodRowCount(), 4);
        for (int row = 0; row < 4; ++row)
            QCOMPARE(model->status(row), int(Database::StatusUpdated));

        // The synchronisation ran to its end.
        QVERIFY(toolButton(w, "selectDirToolButton")->isEnabled());
        QVERIFY(!toolButton(w, "updateDataToolButton")->isEnabled());
        QVERIFY(toolButton(w, "transferFilesToolButton")->isEnabled());
    }
    BackupDialog::setFolderChooser(nullptr);

    const QStringList expectedTitles = {"BY NAME SONG", "OTHER ONE", "LONG NAME SONG", "Title Only"};
    const QStringList expectedArtists = {"MARIO ROSSI", "VIOLA", "BIANCHI", "ANNA GIALLI"};
    for (int i = 0; i < 4; ++i) {
        MetaSong song;
        QVERIFY(song.importFile(files[i]));
        SongInfo info;
        song.getSongInfo(info);
        QCOMPARE(info.title, expectedTitles[i]);
        QCOMPARE(info.artist, expectedArtists[i]);
    }
    QCOMPARE(readFile(files[4]), original[QStringLiteral("broken.mid")]);
    QCOMPARE(readFile(songs + QStringLiteral("bytitle.cdg")), QByteArray("karaoke graphics"));
    QDir::setCurrent(startDir);
}

QTEST_MAIN(TestSyncEndToEnd)
#include "tst_sync_endtoend.moc"
