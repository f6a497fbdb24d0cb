#include "windowtest.h"

#include "mainwindow/backupdialog.h"
#include "mainwindow/nocopyrightdialog.h"
#include "mainwindow/proceeddialog.h"

#include <QLineEdit>
#include <QTranslator>
#include <QtTest>

using namespace WindowTest;

// The small dialogs of the workflows: the confirmation with four answers,
// the import summary and the backup offer, each way out and their texts.
class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { sandbox.reset(new Sandbox); }
    void cleanup() { BackupDialog::setFolderChooser(nullptr); sandbox.reset(); }

    void results_data();
    void results();
    void backupFolderChoice();
    void confirmationTexts();
    void english();

private:
    std::unique_ptr<Sandbox> sandbox;
};

void TestDialogs::results_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("way");     // buttons pressed in turn, "escape" or "close"
    QTest::addColumn<int>("expected");

    QTest::newRow("Si") << "NoCopyrightDialog" << "yesPushButton" << 0;
    QTest::newRow("Si tutti") << "NoCopyrightDialog" << "yesAllPushButton" << 1;
    QTest::newRow("No") << "NoCopyrightDialog" << "noPushButton" << 2;
    QTest::newRow("No tutti") << "NoCopyrightDialog" << "noAllPushButton" << 3;
    // Callers take both as "Si".
    QTest::newRow("confirmation, Escape") << "NoCopyrightDialog" << "escape" << 0;
    QTest::newRow("confirmation closed") << "NoCopyrightDialog" << "close" << 0;
    QTest::newRow("summary, Si") << "ProceedDialog" << "yesPushButton" << 1;
    QTest::newRow("summary, No") << "ProceedDialog" << "noPushButton" << 0;
    QTest::newRow("summary ticked, Si") << "ProceedDialog" << "checkBoxShowAgain yesPushButton" << 1;
    QTest::newRow("summary, Escape") << "ProceedDialog" << "escape" << 0;
    QTest::newRow("summary ticked, closed") << "ProceedDialog" << "checkBoxShowAgain close" << 0;
    QTest::newRow("Annulla") << "BackupDialog" << "abortPushButton" << 0;
    QTest::newRow("Esegui backup") << "BackupDialog" << "browsePushButton doBackupPushButton" << 1;
    QTest::newRow("Prosegui senza backup") << "BackupDialog" << "exitPushButton" << 2;
    QTest::newRow("backup offer closed") << "BackupDialog" << "close" << 0;
    QTest::newRow("backup offer, Escape") << "BackupDialog" << "escape" << 0;
    // A click on the disabled button does nothing; Annulla then ends it.
    QTest::newRow("Esegui backup without a folder") << "BackupDialog" << "doBackupPushButton abortPushButton" << 0;
}

void TestDialogs::results()
{
    QFETCH(QString, dialog);
    QFETCH(QString, way);
    QFETCH(int, expected);

    BackupDialog::setFolderChooser([](QWidget*, const QString&, const QString&) { return QStringLiteral("/tmp"); });
    std::unique_ptr<QDialog> d;
    if (dialog == "NoCopyrightDialog")
        d.reset(new NoCopyrightDialog(nullptr));
    else if (dialog == "ProceedDialog")
        d.reset(new ProceedDialog);
    else
        d.reset(new BackupDialog(nullptr));
    ModalScript script;
    script.press(qPrintable(dialog), way);
    QCOMPARE(d->exec(), expected);
    VERIFY_SCRIPT(script);
    if (auto* summary = qobject_cast<ProceedDialog*>(d.get()))
        QCOMPARE(summary->getShowAgainValue(), !way.contains("checkBox"));
}

void TestDialogs::backupFolderChoice()
{
    QString answer = sandbox->path("backups");
    QStringList asked;
    BackupDialog::setFolderChooser([&](QWidget* parent, const QString& caption, const QString& dir) {
        asked << QString::fromLatin1(parent->metaObject()->className()) << caption << dir;
        return answer;
    });
    BackupDialog dialog(nullptr);
    auto* doBackup = child<QAbstractButton>(&dialog, "doBackupPushButton");
    QVERIFY(!doBackup->isEnabled());
    child<QAbstractButton>(&dialog, "browsePushButton")->click();
    QCOMPARE(asked, QStringList({"BackupDialog", "Scegli cartella", "/home"}));
    QVERIFY(doBackup->isEnabled());
    QCOMPARE(dialog.directory(), sandbox->path("backups"));
    QCOMPARE(child<QLineEdit>(&dialog, "directoryLineEdit")->text(), sandbox->path("backups"));

    // A cancelled choice keeps the folder chosen before.
    answer.clear();
    child<QAbstractButton>(&dialog, "browsePushButton")->click();
    QVERIFY(doBackup->isEnabled());
    QCOMPARE(dialog.directory(), sandbox->path("backups"));
}

void TestDialogs::confirmationTexts()
{
    NoCopyrightDialog dialog(nullptr);
    dialog.setFilename(QStringLiteral("/music/song.mid"));
    dialog.setMessage(QStringLiteral("esiste già, vuoi sostituirlo?"));
    QCOMPARE(child<QLabel>(&dialog, "fileNameLabel")->text(), QStringLiteral("/music/song.mid"));
    QCOMPARE(child<QLabel>(&dialog, "label_2")->text(), QStringLiteral("esiste già, vuoi sostituirlo?"));
    dialog.show();
    auto* yesAll = child<QAbstractButton>(&dialog, "yesAllPushButton");
    auto* noAll = child<QAbstractButton>(&dialog, "noAllPushButton");
    dialog.setYesNoOnly(true);
    QVERIFY(!yesAll->isVisible() && !noAll->isVisible());
    dialog.setYesNoOnly(false);
    QVERIFY(yesAll->isVisible() && noAll->isVisible());
}

void TestDialogs::english()
{
    NoCopyrightDialog question(nullptr);
    question.setFilename(QStringLiteral("/music/song.mid"));
    question.setMessage(QStringLiteral("esiste già, vuoi sostituirlo?"));
    ProceedDialog summary;
    summary.setFilesCount(7, 2, 3);

    // Switched while the dialogs exist: they follow, keeping the file name,
    // the message and the numbers they were given.
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/trans/orvalo3soft_en")));
    QCoreApplication::installTranslator(&english);
    QCoreApplication::processEvents();
    QCOMPARE(question.windowTitle(), QStringLiteral("Confirmation request"));
    QCOMPARE(child<QLabel>(&question, "label_2")->text(), QStringLiteral("esiste già, vuoi sostituirlo?"));
    QCOMPARE(child<QLabel>(&question, "fileNameLabel")->text(), QStringLiteral("/music/song.mid"));
    QCOMPARE(child<QAbstractButton>(&question, "yesAllPushButton")->text(), QStringLiteral("Yes all"));
    QCOMPARE(summary.windowTitle(), QStringLiteral("Import summary"));
    QCOMPARE(child<QLabel>(&summary, "msgLabel")->text(),
             QStringLiteral("10 files have been examined, found 7 songs of which 2 (c) Tavrel"));
    QCOMPARE(child<QAbstractButton>(&summary, "checkBoxShowAgain")->text(),
             QStringLiteral("Don't show messages on copyright"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
