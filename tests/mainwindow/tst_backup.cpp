#include "tst_sync_helpers.h"

#include "mainwindow/backupdialog.h"
#include "resources/appresources.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace TestSongs;

// BackupDialog and MainWindow::suggestBackup: the offer made before every
// synchronisation and the dated backup folder.
class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dialogResult_data();
    void dialogResult();
    void cancelledChooserChangesNothing();
    void offer_data();
    void offer();
    void sameFileNameAsksBeforeReplacing();
    void failedCopyLetsSynchronisationGoOn();

private:
    QString path(const QString& name) const { return root->path() + QLatin1Char('/') + name; }
    // The folder chooser answers `folder` and records how it was asked.
    void chooserAnswers(const QString& folder)
    {
        BackupDialog::setFolderChooser([this, folder](QWidget* parent, const QString& caption, const QString& dir) {
            chooserCall = QStringList{QString::fromLatin1(parent ? parent->metaObject()->className() : "none"),
                                      caption, dir};
            return folder;
        });
    }
    // Presses the dialog's buttons named in `way` ("browse doBackup", "exit", ...).
    static std::function<void(QWidget*)> act(const QString& way);

    QTemporaryDir configDir;
    QString startDir;
    QScopedPointer<QTemporaryDir> root;
    QStringList chooserCall;
};

void TestBackup::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
    startDir = QDir::currentPath();
}

void TestBackup::init()
{
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    QVERIFY(QDir::setCurrent(root->path()));
    QVERIFY(QDir().mkpath(path("src")) && QDir().mkpath(path("backups")));
    chooserCall.clear();
    chooserAnswers(path("backups"));
}

void TestBackup::cleanup()
{
    BackupDialog::setFolderChooser(nullptr);
    QDir::setCurrent(startDir);
    root.reset();
}

std::function<void(QWidget*)> TestBackup::act(const QString& way)
{
    return [way](QWidget* w) {
        for (const QString& step : way.split(QLatin1Char(' '))) {
            if (step == QLatin1String("escape"))
                QTest::keyClick(w, Qt::Key_Escape);
            else if (step == QLatin1String("close"))
                w->close();
            else
                ModalScript::button(w, (step + QLatin1String("PushButton")).toLatin1())->click();
        }
    };
}

void TestBackup::dialogResult_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("expected");
    QTest::newRow("Annulla") << "abort" << 0;
    QTest::newRow("Esegui backup") << "browse doBackup" << 1;
    QTest::newRow("Prosegui senza backup") << "exit" << 2;
    QTest::newRow("window closed") << "close" << 0;
    QTest::newRow("Escape") << "escape" << 0;
    // A click on the disabled button does nothing; Annulla then ends it.
    QTest::newRow("Esegui backup without a folder") << "doBackup abort" << 0;
}

void TestBackup::dialogResult()
{
    QFETCH(QString, way);
    QFETCH(int, expected);
    BackupDialog dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Backup"));
    ModalScript script;
    script.then("BackupDialog", act(way));
    QCOMPARE(dialog.exec(), expected);
    QVERIFY(script.done());
    if (way.startsWith(QLatin1String("browse"))) {
        QCOMPARE(dialog.directory(), path("backups"));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("directoryLineEdit"))->text(), path("backups"));
        QCOMPARE(chooserCall, (QStringList{"BackupDialog", "Scegli cartella", "/home"}));
    } else {
        QCOMPARE(dialog.directory(), QString());
    }
}

void TestBackup::cancelledChooserChangesNothing()
{
    BackupDialog dialog(nullptr);
    auto* doBackup = dialog.findChild<QAbstractButton*>(QStringLiteral("doBackupPushButton"));
    QVERIFY(!doBackup->isEnabled());
    chooserAnswers(path("backups"));
    ModalScript::button(&dialog, "browsePushButton")->click();
    QVERIFY(doBackup->isEnabled());

    chooserAnswers(QString());
    ModalScript::button(&dialog, "browsePushButton")->click();
    QVERIFY(doBackup->isEnabled());
    QCOMPARE(dialog.directory(), path("backups"));
}

void TestBackup::offer_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("chosen");       // folder the chooser answers, relative to the test folder
    QTest::addColumn<bool>("removeAPicked");   // a picked file disappears before the backup
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("box");          // "", "information" or "critical"
    QTest::addColumn<bool>("folderMade");

    QTest::newRow("Prosegui senza backup") << "exit" << "backups" << false << true << "" << false;
    QTest::newRow("Annulla") << "abort" << "backups" << false << false << "" << false;
    QTest::newRow("window closed") << "close" << "backups" << false << false << "" << false;
    QTest::newRow("Escape") << "escape" << "backups" << false << false << "" << false;
    QTest::newRow("backup done") << "browse doBackup" << "backups" << false << true << "information" << true;
    // Tests run as root, so a read-only folder would not stop them: a path
    // below a regular file can never be made.
    QTest::newRow("folder cannot be made") << "browse doBackup" << "plainfile/sub" << false << false << "critical" << false;
    QTest::newRow("a copy fails") << "browse doBackup" << "backups" << true << true << "critical" << true;
}

void TestBackup::offer()
{
    QFETCH(QString, way);
    QFETCH(QString, chosen);
    QFETCH(bool, removeAPicked);
    QFETCH(bool, result);
    QFETCH(QString, box);
    QFETCH(bool, folderMade);

    QVERIFY(makeCatalogue(root->path(), {}));
    QVERIFY(writeFile(path("plainfile"), "not a folder"));
    const QStringList picked = {path("src/one.mid"), path("src/two.mp3"), path("src/two.cdg")};
    QVERIFY(writeFile(picked[0], midi(QStringLiteral("One"), true)));
    QVERIFY(writeFile(picked[1], mp3(QStringLiteral("Two"))));
    QVERIFY(writeFile(picked[2], "graphics"));
    chooserAnswers(path(chosen));

    MainWindow w;
    importWithoutSummary(w, picked.mid(0, 2));
    if (removeAPicked)
        QVERIFY(QFile::remove(picked[0]));

    ModalScript script;
    script.then("BackupDialog", act(way));
    int icon = -1;
    if (!box.isEmpty())
        script.then("QMessageBox", [&icon](QWidget* b) {
            icon = static_cast<QMessageBox*>(b)->icon();
            static_cast<QMessageBox*>(b)->button(QMessageBox::Ok)->click();
        });

    LogCapture log;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QCOMPARE(w.suggestBackup(), result);
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());

    if (!box.isEmpty()) {
        const ModalScript::Seen& seen = script.seen.last();
        QCOMPARE(seen.title, QStringLiteral("Backup"));
        QCOMPARE(seen.text, box == QLatin1String("critical") ? QStringLiteral("Backup FALLITO !!!")
                                                             : QStringLiteral("Backup eseguito correttamente"));
        QCOMPARE(icon, int(box == QLatin1String("critical") ? QMessageBox::Critical : QMessageBox::Information));
    }
    if (chosen == QLatin1String("plainfile/sub"))
        QVERIFY(log.lines().contains(QStringLiteral("Dest root dir creation failed")));

    const QStringList folders = QDir(path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), folderMade ? 1 : 0);
    if (!folderMade)
        return;
    const QRegularExpression name(QStringLiteral("^backup_tavrel_(\\d{4}_\\d{2}_\\d{2}_\\d{2}-\\d{2}-\\d{2})$"));
    const QRegularExpressionMatch m = name.match(folders.first());
    QVERIFY2(m.hasMatch(), qPrintable(folders.first()));
    const QDateTime stamp = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy_MM_dd_hh-mm-ss"));
    QVERIFY(stamp >= before && stamp <= after);
    QVERIFY(log.lines().contains(QStringLiteral("Making new root backup dir: \"%1/%2\"")
                                     .arg(path("backups"), folders.first())));

    // Flat copy with the MP3's companion.
    const QDir backup(path("backups/") + folders.first());
    QStringList expected = {"two.cdg", "two.mp3"};
    if (!removeAPicked)
        expected.prepend(QStringLiteral("one.mid"));
    QCOMPARE(backup.entryList(QDir::Files, QDir::Name), expected);
    for (const QString& f : expected)
        QCOMPARE(readFile(backup.filePath(f)), readFile(path("src/") + f));
}

void TestBackup::sameFileNameAsksBeforeReplacing()
{
    QVERIFY(makeCatalogue(root->path(), {}));
    QVERIFY(QDir().mkpath(path("src/other")));
    const QStringList picked = {path("src/song.mid"), path("src/other/song.mid")};
    QVERIFY(writeFile(picked[0], midi(QStringLiteral("First"), true)));
    QVERIFY(writeFile(picked[1], midi(QStringLiteral("Second"), true)));

    MainWindow w;
    importWithoutSummary(w, picked);
    ModalScript script;
    script.then("BackupDialog", act(QStringLiteral("browse doBackup")))
        .then("NoCopyrightDialog", [&w](QWidget* d) {
            // The progress stops short of its end when a file is kept; it must not stay on screen.
            currentProgress(w)->show();
            ModalScript::button(d, "noPushButton")->click();
        })
        .okBox();
    QVERIFY(w.suggestBackup());
    QVERIFY(!currentProgress(w)->isVisible());
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());

    const QString folder = QDir(path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    QCOMPARE(script.seen[1].type, QStringLiteral("NoCopyrightDialog"));
    QCOMPARE(script.seen[1].text, path("backups/") + folder + QStringLiteral("/song.mid"));
    // Keeping the first copy is no failure.
    QCOMPARE(script.seen[2].text, QStringLiteral("Backup eseguito correttamente"));
    QCOMPARE(readFile(path("backups/") + folder + QStringLiteral("/song.mid")), readFile(picked[0]));
}

void TestBackup::failedCopyLetsSynchronisationGoOn()
{
    QVERIFY(makeCatalogue(root->path(), {{"KEPT", "KEPT SONG", "ROSSI", "", "POP", "VERDI", 100, 90, "C", ""}}));
    const QStringList picked = {path("src/kept.mid"), path("src/gone.mid")};
    QVERIFY(writeFile(picked[0], midi(QString(), true)));
    QVERIFY(writeFile(picked[1], midi(QString(), true)));

    MainWindow w;
    importWithoutSummary(w, picked);
    QVERIFY(QFile::remove(picked[1]));
    ModalScript script;
    script.then("BackupDialog", act(QStringLiteral("browse doBackup"))).okBox();
    QVERIFY(w.updateUserLibrary());
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());
    QCOMPARE(script.seen[1].text, QStringLiteral("Backup FALLITO !!!"));

    UserSongsRelTableModel* model = libraryModel(w);
    QCOMPARE(model->status(0), int(Database::StatusUpdated));
    QCOMPARE(model->status(1), int(Database::StatusNotUpdated));
    MetaSong song;
    QVERIFY(song.importFile(picked[0]));
    SongInfo info;
    song.getSongInfo(info);
    QCOMPARE(info.title, QStringLiteral("KEPT SONG"));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
