#include "windowtest.h"

#include "app/startup.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/dataeditdialog.h"
#include "mainwindow/nocopyrightdialog.h"
#include "mainwindow/proceeddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

using namespace WindowTest;

// The dialogs on their own: the confirmation with four answers, the import
// summary, the backup offer and the song editor.
class TestDialogs : public QObject
{
    Q_OBJECT

    static SongInfo record(const QString& file = "/music/live/Night Drive.mid", int length = 185,
                           const QString& key = "F#-")
    {
        SongInfo s;
        s.filename = file;
        s.format = "MIDI";
        s.title = "  Night Drive ";
        s.artist = "The Owls";
        s.genre = "ROCK";
        s.length = length;
        s.userBpm = 120;
        s.key = key;
        return s;
    }
    // An editor filled as the main window fills it.
    static void fill(DataEditDialog& d, const SongInfo& s)
    {
        d.setArtistsCombo({"ADELE", "The Owls"});
        d.setGenresCombo({"POP", "ROCK"});
        d.setKeysCombo({"C", "A-", "F#-"});
        d.setOtherInfo(s);
    }
    static QVector<bool> toAllChoices(DataEditDialog& d)
    {
        return {d.isApplyToAllAuthor(), d.isApplyToAllArtist(), d.isApplyToAllGenre(), d.isApplyToAllFname()};
    }
    const QStringList toAllBoxes = {"checkBoxToAllAuthor", "checkBoxToAllArtist", "checkBoxToAllGenre",
                                    "checkBoxToAllTitle"};

private slots:
    void initTestCase() { initAppResources(); }
    void cleanup() { BackupDialog::setFolderChooser(nullptr); }

    void results_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("way"); // buttons pressed in turn, "escape" or "close"
        QTest::addColumn<int>("expected");
        QTest::newRow("Si") << "NoCopyrightDialog" << "yesPushButton" << 0;
        QTest::newRow("Si tutti") << "NoCopyrightDialog" << "yesAllPushButton" << 1;
        QTest::newRow("No") << "NoCopyrightDialog" << "noPushButton" << 2;
        QTest::newRow("No tutti") << "NoCopyrightDialog" << "noAllPushButton" << 3;
        // Callers take both as "Si".
        QTest::newRow("confirmation, Escape") << "NoCopyrightDialog" << "escape" << 0;
        QTest::newRow("confirmation closed") << "NoCopyrightDialog" << "close" << 0;
        QTest::newRow("summary, Si") << "ProceedDialog" << "yesPushButton" << 1;
        QTest::newRow("summary ticked, No") << "ProceedDialog" << "checkBoxShowAgain noPushButton" << 0;
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

    void results()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, way);
        QFETCH(int, expected);
        QStringList asked;
        BackupDialog::setFolderChooser([&asked](QWidget* parent, const QString& caption, const QString& dir) {
            asked << parent->metaObject()->className() << caption << dir;
            return QString("/tmp");
        });
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
        if (auto* backup = qobject_cast<BackupDialog*>(d.get())) {
            QCOMPARE(backup->directory(), QString(way.contains("browse") ? "/tmp" : ""));
            QCOMPARE(asked, way.contains("browse") ? QStringList({"BackupDialog", "Scegli cartella", "/home"})
                                                   : QStringList());
        }
    }

    void cancelledFolderChoiceKeepsTheFolder()
    {
        QString answer = "/tmp";
        BackupDialog::setFolderChooser([&answer](QWidget*, const QString&, const QString&) { return answer; });
        BackupDialog dialog(nullptr);
        child<QAbstractButton>(&dialog, "browsePushButton")->click();
        answer.clear();
        child<QAbstractButton>(&dialog, "browsePushButton")->click();
        QVERIFY(child<QAbstractButton>(&dialog, "doBackupPushButton")->isEnabled());
        QCOMPARE(dialog.directory(), QStringLiteral("/tmp"));
        QCOMPARE(child<QLineEdit>(&dialog, "directoryLineEdit")->text(), QStringLiteral("/tmp"));
    }

    void textsAndLanguage()
    {
        NoCopyrightDialog question(nullptr);
        question.setFilename("/music/song.mid");
        question.setMessage("esiste già, vuoi sostituirlo?");
        question.show();
        question.setYesNoOnly(true);
        QVERIFY(!child<QWidget>(&question, "yesAllPushButton")->isVisible());
        QVERIFY(!child<QWidget>(&question, "noAllPushButton")->isVisible());
        question.setYesNoOnly(false);
        QVERIFY(child<QWidget>(&question, "noAllPushButton")->isVisible());
        ProceedDialog summary;
        summary.setFilesCount(7, 2, 3);
        DataEditDialog editor;
        fill(editor, record());

        // Switched while the dialogs exist: they follow, keeping the file
        // name, the message, the numbers and the song they were given.
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations("en", appTranslator, qtTranslator);
        QCoreApplication::processEvents();
        QCOMPARE(question.windowTitle(), QStringLiteral("Confirmation request"));
        QCOMPARE(child<QLabel>(&question, "label_2")->text(), QStringLiteral("esiste già, vuoi sostituirlo?"));
        QCOMPARE(child<QLabel>(&question, "fileNameLabel")->text(), QStringLiteral("/music/song.mid"));
        QCOMPARE(child<QAbstractButton>(&question, "yesAllPushButton")->text(), QStringLiteral("Yes all"));
        QCOMPARE(summary.windowTitle(), QStringLiteral("Import summary"));
        QCOMPARE(child<QLabel>(&summary, "msgLabel")->text(),
                 QStringLiteral("10 files have been examined, found 7 songs of which 2 (c) Tavrel"));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit song details"));
        QCOMPARE(child<QLabel>(&editor, "fileNameLabel")->text(), QStringLiteral("/music/live/Night Drive.mid"));
        QString asked;
        ModalDriver::answer(QMessageBox::No, &asked);
        editor.show();
        QTest::mouseClick(child<QCheckBox>(&editor, "checkBoxToAllGenre"), Qt::LeftButton);
        QCOMPARE(asked, QStringLiteral("This Genre will be applied to all the songs of the list, are you sure?"));
    }

    void editorShowsAndGivesBack_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("minutesSeconds");
        QTest::addColumn<int>("keyIndex");
        QTest::newRow("known key") << 185 << "F#-" << "3:5" << 3;
        QTest::newRow("no key: the empty item") << 59 << "" << "0:59" << 0;
        // Keys written as the catalogue or another tagger writes them stay
        // selectable as they are, after the list, so saving keeps them.
        QTest::newRow("key case differs") << 3600 << "f#-" << "60:0" << 4;
        QTest::newRow("catalogue form") << 0 << "A -" << "0:0" << 4;
    }

    void editorShowsAndGivesBack()
    {
        QFETCH(int, length);
        QFETCH(QString, key);
        QFETCH(QString, minutesSeconds);
        QFETCH(int, keyIndex);
        DataEditDialog d;
        fill(d, record("/music/live/Night Drive.mid", length, key));
        QCOMPARE(child<QLineEdit>(&d, "lenMmLineEdit")->text() + ':' + child<QLineEdit>(&d, "lenSsLineEdit")->text(),
                 minutesSeconds);
        auto* keys = child<QComboBox>(&d, "keyComboBox");
        QCOMPARE(keys->currentIndex(), keyIndex);

        // Details the form does not show are not touched.
        SongInfo back;
        back.filename = "kept";
        back.markers = {Marker{"Verse", 9}};
        d.getInfo(back);
        QCOMPARE(QStringList({back.title, back.artist, back.key, back.filename}),
                 QStringList({"Night Drive", "The Owls", key, "kept"}));
        QCOMPARE(back.length, length);
        QCOMPARE(back.markers.size(), 1);
        // Refilled with a listed key, the previous song's own key is gone.
        d.setOtherInfo(record());
        QCOMPARE(keys->count(), 4);
    }

    void editorTitleFromFileName()
    {
        // Only the last dot of the file name starts the extension.
        DataEditDialog d;
        fill(d, record("/music/v1.0/a.b.c.mp3"));
        d.show();
        auto* title = child<QLineEdit>(&d, "titleLineEdit");
        auto* toAll = child<QCheckBox>(&d, "checkBoxToAllTitle");
        QVERIFY(!toAll->isEnabled());
        QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle2"), Qt::LeftButton);
        QCOMPARE(title->text(), QStringLiteral("a.b.c"));
        ModalDriver::answer(QMessageBox::Yes);
        QTest::mouseClick(toAll, Qt::LeftButton);
        QVERIFY(d.isApplyToAllFname());
        // Back to the stored title: the whole-list choice goes with it.
        title->setText("typed");
        QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle1"), Qt::LeftButton);
        QCOMPARE(title->text(), QStringLiteral("  Night Drive "));
        QVERIFY(!toAll->isChecked() && !toAll->isEnabled() && !d.isApplyToAllFname());
    }

    void editorApplyToAll_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        const QStringList questions = {
            "L'autore inserito verrà applicato a tutte le song della lista, sei sicuro?",
            "L'interprete inserito verrà applicato a tutte le song della lista, sei sicuro?",
            "Il genere inserito verrà applicato a tutte le song della lista, sei sicuro?",
            "Il titolo di tutte le song della lista verrà sovrascritto non il nome del file, sei sicuro?"};
        for (bool yes : {true, false})
            for (int box = 0; box < 4; ++box)
                QTest::addRow("%s %s", qPrintable(toAllBoxes[box]), yes ? "yes" : "no") << box << yes << questions[box];
    }

    void editorApplyToAll()
    {
        QFETCH(int, box);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        DataEditDialog d;
        fill(d, record());
        d.show();
        QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle2"), Qt::LeftButton);
        QString text, title;
        ModalDriver::answer(yes ? QMessageBox::Yes : QMessageBox::No, &text, &title);
        QTest::mouseClick(child<QCheckBox>(&d, qPrintable(toAllBoxes[box])), Qt::LeftButton);
        QCOMPARE(title + ": " + text, "ATTENZIONE: " + question);
        QVector<bool> expected(4, false);
        expected[box] = yes;
        QCOMPARE(toAllChoices(d), expected);
        QCOMPARE(child<QCheckBox>(&d, qPrintable(toAllBoxes[box]))->isChecked(), yes);
        // The window reuses one editor: a choice never carries over to the next song.
        fill(d, record());
        QCOMPARE(toAllChoices(d), QVector<bool>(4, false));
        QVERIFY(!child<QCheckBox>(&d, qPrintable(toAllBoxes[box]))->isChecked());
        QVERIFY(child<QRadioButton>(&d, "radioButtonTitle1")->isChecked());
    }

};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
