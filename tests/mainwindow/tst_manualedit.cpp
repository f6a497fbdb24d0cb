#include "windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The song editor and the context menu as the user meets them in the main
// window, on song files of every format.
class TestManualEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { sandbox.reset(new Sandbox); setCopyrightAsk(false); }
    void cleanup() { window.reset(); sandbox.reset(); }

    void opensAndCancels_data();
    void opensAndCancels();
    void savesEdits_data();
    void savesEdits();
    void keyOutsideList_data();
    void keyOutsideList();
    void applyToAll_data();
    void applyToAll();
    void stopDuringWholeList();
    void scrollsToEditedRow();
    void contextMenu_data();
    void contextMenu();

private:
    // Songs a..e of every format (and extra MIDI songs) imported into a new window.
    void openLibrary(const QStringList& extraFiles = {});
    QString path(const QString& name) const { return sandbox->path("songs/" + name); }
    int rowOf(const QString& name) const { return listedFiles().indexOf(path(name)); }
    QStringList listedFiles() const
    {
        QStringList files;
        for (int r = 0; r < model->goodRowCount(); ++r)
            files << model->fileName(r);
        return files;
    }
    QPoint rowPos(int row) const
    {
        view->scrollTo(model->index(row, 2));
        return view->visualRect(model->index(row, 2)).center();
    }
    void doubleClick(int row)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
    }
    // Runs the editor opened by a double click on row.
    void edit(int row, std::function<void(DataEditDialog*)> action)
    {
        ModalDriver::when<DataEditDialog>(action);
        doubleClick(row);
    }
    static void press(QWidget* d, const char* button) { QTest::mouseClick(child<QAbstractButton>(d, button), Qt::LeftButton); }

    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<MainWindow> window;
    QTableView* view = nullptr;
    UserSongsRelTableModel* model = nullptr;
};

namespace {

const QStringList kSongs = {"a_alpha.mid", "b_beta.mf3", "c_gamma.mp3", "d_delta.mf5", "e_epsilon.mid"};

Details detailsOf(const QString& name)
{
    const QMap<QString, Details> details = {
        {"a_alpha.mid", {"Alpha", "Owls", "ROCK", "Smith", 185, 120, false, {}}},
        {"b_beta.mf3", {"Beta", "Cats", "POP", "Jones", 200, 90, false, "BETA"}},
        {"c_gamma.mp3", {"Gamma", "Dogs", "JAZZ", "Brown", 240, 100, false, {}}},
        {"d_delta.mf5", {"Delta", "Bats", "SOUL", "White", 150, 80, false, "DELTA"}},
        {"e_epsilon.mid", {"Epsilon", "Rats", "FUNK", "Black", 100, 110, false, {}}},
    };
    return details.value(name, Details{"Extra", "Moles", {}, {}, 60, 70, false, {}});
}

void setText(QWidget* d, const char* name, const QString& text)
{
    child<QLineEdit>(d, name)->setText(text);
}

} // namespace

void TestManualEdit::openLibrary(const QStringList& extraFiles)
{
    QStringList files;
    for (const QString& name : kSongs + extraFiles) {
        files << path(name);
        QVERIFY(writeFile(files.last(), songFor(name, detailsOf(name))));
    }
    window.reset(new MainWindow);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    pickFiles(*window, files);
    view = child<QTableView>(window.get(), "userLibraryTableView");
    model = libraryModel(*window);
    QCOMPARE(model->goodRowCount(), files.size());
}

void TestManualEdit::opensAndCancels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("formatText");
    QTest::newRow("MIDI") << "a_alpha.mid" << "MIDI";
    QTest::newRow("MF3") << "b_beta.mf3" << "MF3";
    QTest::newRow("MF5") << "d_delta.mf5" << "MF5";
    QTest::newRow("MP3") << "c_gamma.mp3" << "MP3";
}

void TestManualEdit::opensAndCancels()
{
    QFETCH(QString, name);
    QFETCH(QString, formatText);
    openLibrary();
    const Details s = detailsOf(name);
    const QByteArray before = readFile(path(name));
    QStringList shown;
    LogCapture log;
    edit(rowOf(name), [&](DataEditDialog* d) {
        for (const char* label : {"fileNameLabel", "formatLabel"})
            shown << child<QLabel>(d, label)->text();
        for (const char* line : {"titleLineEdit", "authorLineEdit", "lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
            shown << child<QLineEdit>(d, line)->text();
        for (const char* combo : {"artistComboBox", "genreComboBox"})
            shown << child<QComboBox>(d, combo)->currentText();
        // Changes made before cancelling go nowhere.
        setText(d, "titleLineEdit", QStringLiteral("Changed"));
        press(d, "exitPushButton");
    });
    QCOMPARE(shown, QStringList({path(name), formatText, s.title, s.author, QString::number(s.length / 60),
                                 QString::number(s.length % 60), QString::number(s.bpm), s.artist, s.genre}));
    QVERIFY(log.lines().contains(QStringLiteral("Rejected!")));
    QCOMPARE(readFile(path(name)), before);
    QCOMPARE(model->status(rowOf(name)), int(Database::StatusNone));
    QCOMPARE(model->index(rowOf(name), 2).data().toString(), s.title);
}

void TestManualEdit::savesEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("MIDI") << "a_alpha.mid";
    QTest::newRow("MF3") << "b_beta.mf3";
    QTest::newRow("MP3") << "c_gamma.mp3";
}

void TestManualEdit::savesEdits()
{
    QFETCH(QString, name);
    openLibrary();
    const int row = rowOf(name);
    const QString title = QStringLiteral("Città è già Ünïcode");
    const SongInfo untouched = readInfo(path(name));

    // First save: new details typed in; second save: the editor opened on
    // what the first one wrote, saved as it is.
    for (int round = 0; round < 2; ++round) {
        edit(row, [&](DataEditDialog* d) {
            if (round == 0) {
                setText(d, "titleLineEdit", QStringLiteral("  ") + title);
                child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("Nuovo Artista"));
                child<QComboBox>(d, "genreComboBox")->setEditText(QStringLiteral("BLUES"));
                setText(d, "authorLineEdit", QStringLiteral("Rossi"));
                for (const char* line : {"lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
                    setText(d, line, QString());
                QTest::keyClicks(child<QLineEdit>(d, "lenMmLineEdit"), QStringLiteral("3"));
                QTest::keyClicks(child<QLineEdit>(d, "lenSsLineEdit"), QStringLiteral("75"));
                QTest::keyClicks(child<QLineEdit>(d, "bpmLineEdit"), QStringLiteral("1334"));
                child<QComboBox>(d, "keyComboBox")->setCurrentText(QStringLiteral("A-"));
            }
            press(d, "savePushButton");
        });
        const SongInfo saved = readInfo(path(name));
        QCOMPARE(QStringList({saved.title, saved.artist, saved.genre, saved.author, saved.key, saved.format}),
                 QStringList({title, "Nuovo Artista", "BLUES", "Rossi", "A-", untouched.format}));
        QCOMPARE(saved.length, 255);
        QCOMPARE(saved.userBpm, 133);
        QCOMPARE(model->index(row, 2).data().toString(), title);
        QCOMPARE(model->index(row, 6).data().toString(), QStringLiteral("04:15"));
        QCOMPARE(model->status(row), int(Database::StatusManual));
    }
    // The other songs were left alone.
    for (const QString& other : kSongs)
        if (other != name)
            QCOMPARE(readFile(path(other)), songFor(other, detailsOf(other)));
}

void TestManualEdit::keyOutsideList_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("catalogue form") << "A -";
    QTest::newRow("tagger form") << "Am";
}

void TestManualEdit::keyOutsideList()
{
    // An MP3 tag may hold a key in a form that is not one of the list's
    // names: an unrelated edit must not drop it.
    QFETCH(QString, key);
    openLibrary();
    const QString file = path("c_gamma.mp3");
    MetaSong song;
    QVERIFY(song.importFile(file));
    SongInfo info = readInfo(file);
    info.key = key;
    song.setSongInfo(info, true);
    QVERIFY(song.saveToFile(file));

    QString shownKey;
    edit(rowOf("c_gamma.mp3"), [&](DataEditDialog* d) {
        shownKey = child<QComboBox>(d, "keyComboBox")->currentText();
        setText(d, "authorLineEdit", QStringLiteral("Verdi"));
        press(d, "savePushButton");
    });
    QCOMPARE(shownKey, key);
    QCOMPARE(readInfo(file).key + '|' + readInfo(file).author, key + "|Verdi");
    // Choosing the empty item still removes the key.
    edit(rowOf("c_gamma.mp3"), [&](DataEditDialog* d) {
        child<QComboBox>(d, "keyComboBox")->setCurrentIndex(0);
        press(d, "savePushButton");
    });
    QCOMPARE(readInfo(file).key, QString());
}

void TestManualEdit::applyToAll_data()
{
    QTest::addColumn<QString>("detail");
    QTest::newRow("author") << "Author";
    QTest::newRow("artist") << "Artist";
    QTest::newRow("genre") << "Genre";
    QTest::newRow("title from file name") << "Title";
}

void TestManualEdit::applyToAll()
{
    QFETCH(QString, detail);
    openLibrary();
    // A listed file that can no longer be read is passed over.
    const QByteArray broken("MThd not a song any more");
    QVERIFY(writeFile(path("e_epsilon.mid"), broken));
    // Sorted by title, so list rows and file order differ.
    view->sortByColumn(2, Qt::DescendingOrder);
    const QString edited = QStringLiteral("b_beta.mf3");
    QMap<QString, SongInfo> before;
    for (const QString& name : kSongs)
        before[name] = readInfo(path(name));

    const auto field = [&detail](SongInfo& s) -> QString& {
        return detail == "Author" ? s.author : detail == "Artist" ? s.artist : detail == "Genre" ? s.genre : s.title;
    };
    LogCapture log;
    edit(rowOf(edited), [&](DataEditDialog* d) {
        if (detail == "Title")
            press(d, "radioButtonTitle2");
        setText(d, "authorLineEdit", QStringLiteral("  Common Author "));
        child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("Common Artist"));
        child<QComboBox>(d, "genreComboBox")->setEditText(QStringLiteral("Common Genre"));
        ModalDriver::answer(QMessageBox::Yes);
        press(d, qPrintable("checkBoxToAll" + detail));
        press(d, "savePushButton");
    });

    for (const QString& name : kSongs) {
        const int row = rowOf(name);
        if (name == QLatin1String("e_epsilon.mid")) {
            QCOMPARE(readFile(path(name)), broken);
            QCOMPARE(model->status(row), int(Database::StatusNone));
            continue;
        }
        SongInfo expected = before[name];
        if (name == edited) {
            expected.author = QStringLiteral("Common Author");
            expected.artist = QStringLiteral("Common Artist");
            expected.genre = QStringLiteral("Common Genre");
        }
        field(expected) = detail == "Title" ? QFileInfo(name).completeBaseName() : "Common " + detail;
        SongInfo now = readInfo(path(name));
        QCOMPARE(field(now), field(expected));
        QVERIFY2(now == expected, qPrintable(name));
        QCOMPARE(model->status(row), int(Database::StatusManual));
        QCOMPARE(model->index(row, 2).data().toString(), expected.title);
        QCOMPARE(log.lines().count("Saving to file:  \"" + path(name) + "\""), 1);
    }
    QCOMPARE(window->findChild<QProgressDialog*>()->windowTitle(), QStringLiteral("Aggiornamento file"));
}

void TestManualEdit::stopDuringWholeList()
{
    openLibrary({"f_extra.mid", "g_extra.mid"});
    const QStringList all = listedFiles();
    QMap<QString, QByteArray> before;
    for (const QString& file : all)
        before[file] = readFile(file);

    // "Interrompi" is pressed as soon as the second song has been written.
    LogCapture log;
    QTimer stopper;
    stopper.setInterval(0);
    connect(&stopper, &QTimer::timeout, [&]() {
        if (log.lines().count(QStringLiteral("Ok")) < 2)
            return;
        stopper.stop();
        for (QPushButton* b : window->findChild<QProgressDialog*>()->findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Interrompi"))
                b->click();
    });
    stopper.start();
    edit(0, [&](DataEditDialog* d) {
        setText(d, "authorLineEdit", QStringLiteral("Stopper"));
        ModalDriver::answer(QMessageBox::Yes);
        press(d, "checkBoxToAllAuthor");
        press(d, "savePushButton");
    });
    QCOMPARE(log.lines().count(QStringLiteral("Ok")), 2);
    for (int row = 0; row < all.size(); ++row) {
        const bool done = row < 2;
        QCOMPARE(readInfo(all[row]).author == QLatin1String("Stopper"), done);
        QCOMPARE(model->status(row), done ? int(Database::StatusManual) : int(Database::StatusNone));
        if (!done)
            QCOMPARE(readFile(all[row]), before[all[row]]);
    }
}

void TestManualEdit::scrollsToEditedRow()
{
    QStringList extra;
    for (int i = 0; i < 60; ++i)
        extra << QString("x_%1.mid").arg(i, 2, 10, QLatin1Char('0'));
    openLibrary(extra);
    view->scrollToTop();
    // The lowest row wholly in sight, with the view at its top.
    const int row = view->rowAt(view->viewport()->height() - 1) - 1;
    QVERIFY(row > 5 && row < model->goodRowCount() - 10);

    // Cancelling leaves the view where it is; saving brings the edited row to the middle.
    for (const bool save : {false, true}) {
        edit(row, [&](DataEditDialog* d) {
            setText(d, "titleLineEdit", QStringLiteral("Edited"));
            press(d, save ? "savePushButton" : "exitPushButton");
        });
        QCOMPARE(view->verticalScrollBar()->value() == 0, !save);
        const int offCentre = view->visualRect(model->index(row, 2)).center().y() - view->viewport()->height() / 2;
        QCOMPARE(qAbs(offCentre) <= view->rowHeight(row), save);
    }
}

void TestManualEdit::contextMenu_data()
{
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deletable");
    QTest::addColumn<bool>("rowGone");
    QTest::addColumn<bool>("fileGone");

    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("remove from list") << true << "Remove from list" << 0 << true << true << false;
    QTest::newRow("delete, yes") << true << "Delete file" << yes << true << true << true;
    QTest::newRow("delete, no") << true << "Delete file" << no << true << false << false;
    // Replaced after the import by something no one, root included, can
    // delete as a file: a folder with content. The row stays, with a warning.
    QTest::newRow("delete, cannot") << true << "Delete file" << yes << false << false << false;
    QTest::newRow("menu dismissed") << true << "" << 0 << true << false << false;
    QTest::newRow("below last row, remove") << false << "Remove from list" << 0 << true << false << false;
    QTest::newRow("below last row, delete") << false << "Delete file" << 0 << true << false << false;
}

void TestManualEdit::contextMenu()
{
    QFETCH(bool, onRow);
    QFETCH(QString, action);
    QFETCH(int, answer);
    QFETCH(bool, deletable);
    QFETCH(bool, rowGone);
    QFETCH(bool, fileGone);
    openLibrary();
    const QString name = QStringLiteral("c_gamma.mp3");
    if (!deletable) {
        QVERIFY(QFile::remove(path(name)));
        QVERIFY(writeFile(path(name) + "/inside.txt", "kept"));
    }
    const int rows = model->goodRowCount();
    const QPoint at = onRow ? rowPos(rowOf(name))
                            : QPoint(rowPos(rows - 1).x(), view->visualRect(model->index(rows - 1, 2)).bottom() + 20);
    QCOMPARE(view->indexAt(at).isValid(), onRow);

    QStringList menuTexts, asked;
    QString warning;
    ModalDriver::chooseFromMenu(action, &menuTexts);
    ModalDriver::when<QMessageBox>([&](QMessageBox* box) {
        asked << box->windowTitle() << box->text();
        if (!deletable)
            ModalDriver::answer(QMessageBox::Ok, &warning);
        box->button(QMessageBox::StandardButton(answer))->click();
    }, answer ? 10000 : 500);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    if (!answer)
        QTest::qWait(600);

    QCOMPARE(menuTexts, QStringList({"Remove from list", "Delete file"}));
    QCOMPARE(asked, answer ? QStringList({"Attenzione", "Sei sicuro di voler cancellare il file?"}) : QStringList());
    // Only a file that could not be deleted is reported, by its path.
    QCOMPARE(warning.contains(path(name)), !deletable);
    QCOMPARE(QFileInfo::exists(path(name)), !fileGone);
    QCOMPARE(rowOf(name) < 0, rowGone);
    QCOMPARE(model->goodRowCount(), rows - (rowGone ? 1 : 0));
    for (const QString& other : kSongs)
        if (other != name)
            QCOMPARE(readFile(path(other)), songFor(other, detailsOf(other)));
}

QTEST_MAIN(TestManualEdit)
#include "tst_manualedit.moc"
