#include "windowtest.h"

#include "app/startup.h"
#include "mainwindow/dataeditdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

using namespace WindowTest;

// The song editor on its own: what it shows, what it gives back, and the
// apply-to-all choices.
class TestDataEditDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initAppResources(); }

    void showsAndGivesBack_data();
    void showsAndGivesBack();
    void typing_data();
    void typing();
    void titleFromFileName_data();
    void titleFromFileName();
    void applyToAllQuestion_data();
    void applyToAllQuestion();
    void refillResetsChoices();
    void englishTexts();

private:
    static SongInfo record()
    {
        SongInfo s;
        s.filename = QStringLiteral("/music/live/Night Drive.mid");
        s.format = QStringLiteral("MIDI");
        s.title = QStringLiteral("Night Drive");
        s.artist = QStringLiteral("The Owls");
        s.genre = QStringLiteral("ROCK");
        s.length = 185;
        s.userBpm = 120;
        s.key = QStringLiteral("F#-");
        return s;
    }
    static void fill(DataEditDialog& d, const SongInfo& s)
    {
        d.setArtistsCombo({QStringLiteral("ADELE"), QStringLiteral("The Owls")});
        d.setGenresCombo({QStringLiteral("POP"), QStringLiteral("ROCK")});
        d.setKeysCombo({QStringLiteral("C"), QStringLiteral("A-"), QStringLiteral("F#-")});
        d.setOtherInfo(s);
    }
    static const QStringList& toAllBoxes()
    {
        static const QStringList boxes = {"checkBoxToAllAuthor", "checkBoxToAllArtist", "checkBoxToAllGenre",
                                          "checkBoxToAllTitle"};
        return boxes;
    }
    static QVector<bool> toAllChoices(DataEditDialog& d)
    {
        return {d.isApplyToAllAuthor(), d.isApplyToAllArtist(), d.isApplyToAllGenre(), d.isApplyToAllFname()};
    }
};

void TestDataEditDialog::showsAndGivesBack_data()
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
    QTest::newRow("negative length") << -1 << "C" << "0:-1" << 1;
}

void TestDataEditDialog::showsAndGivesBack()
{
    QFETCH(int, length);
    QFETCH(QString, key);
    QFETCH(QString, minutesSeconds);
    QFETCH(int, keyIndex);

    SongInfo s = record();
    s.length = length;
    s.key = key;
    s.title = QStringLiteral("  Night Drive ");
    DataEditDialog d;
    fill(d, s);
    QCOMPARE(child<QLineEdit>(&d, "lenMmLineEdit")->text() + ':' + child<QLineEdit>(&d, "lenSsLineEdit")->text(),
             minutesSeconds);
    auto* keys = child<QComboBox>(&d, "keyComboBox");
    QCOMPARE(keys->currentIndex(), keyIndex);
    QCOMPARE(keys->currentText(), key);

    SongInfo back;
    back.filename = QStringLiteral("kept");
    back.markers = {Marker{QStringLiteral("Verse"), 9}};
    d.getInfo(back);
    QCOMPARE(back.title, QStringLiteral("Night Drive"));
    QCOMPARE(back.artist, QStringLiteral("The Owls"));
    QCOMPARE(back.length, length);
    QCOMPARE(back.key, key);
    QCOMPARE(back.userBpm, 120);
    // Details the form does not show are not touched.
    QCOMPARE(back.filename, QStringLiteral("kept"));
    QCOMPARE(back.markers.size(), 1);

    // Refilled with a listed key, the previous song's own key is gone.
    s.key = QStringLiteral("C");
    d.setOtherInfo(s);
    QCOMPARE(keys->count(), 4);
    QCOMPARE(keys->currentText(), QStringLiteral("C"));
}

void TestDataEditDialog::typing_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("bpm");
    QTest::addColumn<QString>("shownBpm");
    QTest::addColumn<int>("length");

    QTest::newRow("3 min 75 s") << "3" << "75" << "97" << "97" << 255;
    QTest::newRow("fourth digit refused") << "123" << "5" << "1234" << "123" << 12 * 60 + 5;
    QTest::newRow("letters refused") << "1a" << "x2" << "12ab3" << "123" << 62;
    QTest::newRow("sign refused") << "-4" << "+3" << "-90" << "90" << 4 * 60 + 3;
    QTest::newRow("empty fields save 0") << "" << "" << "" << "" << 0;
}

void TestDataEditDialog::typing()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, bpm);
    QFETCH(QString, shownBpm);
    QFETCH(int, length);

    DataEditDialog d;
    fill(d, record());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QList<QPair<const char*, QString>> typed = {{"lenMmLineEdit", minutes}, {"lenSsLineEdit", seconds},
                                                      {"bpmLineEdit", bpm}};
    for (const auto& t : typed) {
        auto* edit = child<QLineEdit>(&d, t.first);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, t.second);
    }
    QCOMPARE(child<QLineEdit>(&d, "bpmLineEdit")->text(), shownBpm);
    SongInfo back;
    d.getInfo(back);
    QCOMPARE(back.length, length);
    QCOMPARE(back.userBpm, shownBpm.toInt());
}

void TestDataEditDialog::titleFromFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::newRow("extension") << "/music/live/Night Drive.mid" << "Night Drive";
    QTest::newRow("dots in name") << "/music/a.b.c.mp3" << "a.b.c";
    QTest::newRow("dot only in folder") << "/music/v1.0/SONG" << "SONG";
}

void TestDataEditDialog::titleFromFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, base);
    SongInfo s = record();
    s.filename = path;
    DataEditDialog d;
    fill(d, s);
    d.show();
    auto* title = child<QLineEdit>(&d, "titleLineEdit");
    auto* toAll = child<QCheckBox>(&d, "checkBoxToAllTitle");
    QVERIFY(!toAll->isEnabled());
    QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle2"), Qt::LeftButton);
    QCOMPARE(title->text(), base);
    ModalDriver::answer(QMessageBox::Yes);
    QTest::mouseClick(toAll, Qt::LeftButton);
    QVERIFY(d.isApplyToAllFname());

    // Back to the stored title: the whole-list choice goes with it.
    title->setText(QStringLiteral("typed"));
    QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle1"), Qt::LeftButton);
    QCOMPARE(title->text(), QStringLiteral("Night Drive"));
    QVERIFY(!toAll->isChecked() && !toAll->isEnabled());
    QVERIFY(!d.isApplyToAllFname());
}

void TestDataEditDialog::applyToAllQuestion_data()
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
            QTest::addRow("%s %s", qPrintable(toAllBoxes()[box]), yes ? "yes" : "no") << box << yes << questions[box];
}

void TestDataEditDialog::applyToAllQuestion()
{
    QFETCH(int, box);
    QFETCH(bool, yes);
    QFETCH(QString, question);

    DataEditDialog d;
    fill(d, record());
    d.show();
    QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle2"), Qt::LeftButton);
    auto* check = child<QCheckBox>(&d, qPrintable(toAllBoxes()[box]));
    QString text, title;
    ModalDriver::answer(yes ? QMessageBox::Yes : QMessageBox::No, &text, &title);
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(title + ": " + text, "ATTENZIONE: " + question);
    QCOMPARE(check->isChecked(), yes);
    QVector<bool> expected(4, false);
    expected[box] = yes;
    QCOMPARE(toAllChoices(d), expected);

    // Unchecking asks nothing and clears the choice.
    if (yes) {
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(toAllChoices(d), QVector<bool>(4, false));
    }
}

void TestDataEditDialog::refillResetsChoices()
{
    // The window reuses one editor: choices made for one song must not
    // carry over to the next.
    DataEditDialog d;
    fill(d, record());
    d.show();
    QTest::mouseClick(child<QRadioButton>(&d, "radioButtonTitle2"), Qt::LeftButton);
    for (const QString& box : toAllBoxes()) {
        ModalDriver::answer(QMessageBox::Yes);
        QTest::mouseClick(child<QCheckBox>(&d, qPrintable(box)), Qt::LeftButton);
    }
    QCOMPARE(toAllChoices(d), QVector<bool>(4, true));
    fill(d, record());
    QCOMPARE(toAllChoices(d), QVector<bool>(4, false));
    QVERIFY(!child<QCheckBox>(&d, "checkBoxToAllAuthor")->isChecked());
    QVERIFY(!child<QCheckBox>(&d, "checkBoxToAllTitle")->isEnabled());
    QVERIFY(child<QRadioButton>(&d, "radioButtonTitle1")->isChecked());
}

void TestDataEditDialog::englishTexts()
{
    DataEditDialog d;
    fill(d, record());
    QCOMPARE(d.windowTitle(), QStringLiteral("Modifica dati song"));
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
    QCoreApplication::processEvents();
    QCOMPARE(d.windowTitle(), QStringLiteral("Edit song details"));
    QCOMPARE(child<QLabel>(&d, "label_4")->text(), QStringLiteral("Key:"));
    // The song shown survives the change of language.
    QCOMPARE(child<QLabel>(&d, "fileNameLabel")->text(), QStringLiteral("/music/live/Night Drive.mid"));
    QString question;
    ModalDriver::answer(QMessageBox::No, &question);
    d.show();
    QTest::mouseClick(child<QCheckBox>(&d, "checkBoxToAllGenre"), Qt::LeftButton);
    QCOMPARE(question, QStringLiteral("This Genre will be applied to all the songs of the list, are you sure?"));
}

QTEST_MAIN(TestDataEditDialog)
#include "tst_dataeditdialog.moc"
