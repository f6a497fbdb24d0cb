#include "windowtest.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

static const QStringList kSongs = {"a_alpha.mid", "b_beta.mf3", "c_gamma.mp3", "d_delta.mf5", "e_epsilon.mid"};

static Details detailsOf(const QString& name)
{
    const QMap<QString, Details> details = {
        {"a_alpha.mid", {"Alpha", "Owls", "ROCK", "Smith", 185, 120, false, {}}},
        {"b_beta.mf3", {"Beta", "Cats", "POP", "Jones", 200, 90, false, "BETA"}},
        {"c_gamma.mp3", {"Gamma", "Dogs", "JAZZ", "Brown", 240, 100, false, {}}},
        {"d_delta.mf5", {"Delta", "Bats", "SOUL", "White", 150, 80, false, "DELTA"}},
        {"e_epsilon.mid", {"Epsilon", "Rats", "FUNK", "Black", 100, 110, false, {}}}};
    return details.value(name, Details{"Extra", "Moles", {}, {}, 60, 70, false, {}});
}

// The song editor and the context menu as the user meets them in the main
// window, on song files of every format.
class TestManualEdit : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<MainWindow> window;
    QTableView* view = nullptr;
    UserSongsRelTableModel* model = nullptr;

    // Songs a..e of every format (and extra MIDI songs) imported into a new window.
    void openLibrary(const QStringList& extraFiles = {})
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
    }
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
    // Runs the editor opened by a double click on row.
    void edit(int row, std::function<void(DataEditDialog*)> action)
    {
        ModalDriver::when<DataEditDialog>(action);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
    }
    static void press(QWidget* d, const char* button)
    {
        QTest::mouseClick(child<QAbstractButton>(d, button), Qt::LeftButton);
    }
    static void setText(QWidget* d, const char* name, const QString& text) { child<QLineEdit>(d, name)->setText(text); }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        setCopyrightAsk(false);
    }
    void cleanup()
    {
        window.reset();
        sandbox.reset();
    }

    void cancelAndSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::newRow("MIDI") << "a_alpha.mid" << "MIDI";
        QTest::newRow("MF3") << "b_beta.mf3" << "MF3";
        QTest::newRow("MF5") << "d_delta.mf5" << "MF5";
        QTest::newRow("MP3") << "c_gamma.mp3" << "MP3";
    }

    void cancelAndSave()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        openLibrary();
        const int row = rowOf(name);
        const Details s = detailsOf(name);
        const QString title = "Città è già Ünïcode";
        QStringList shown;
        LogCapture log;
        // The editor shows the song; changes made before cancelling go nowhere.
        edit(row, [&](DataEditDialog* d) {
            for (const char* label : {"fileNameLabel", "formatLabel"})
                shown << child<QLabel>(d, label)->text();
            for (const char* line :
                 {"titleLineEdit", "authorLineEdit", "lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
                shown << child<QLineEdit>(d, line)->text();
            for (const char* combo : {"artistComboBox", "genreComboBox"})
                shown << child<QComboBox>(d, combo)->currentText();
            setText(d, "titleLineEdit", "Changed");
            press(d, "exitPushButton");
        });
        QCOMPARE(shown, QStringList({path(name), format, s.title, s.author, QString::number(s.length / 60),
                                     QString::number(s.length % 60), QString::number(s.bpm), s.artist, s.genre}));
        QVERIFY(log.lines().contains("Rejected!"));
        QCOMPARE(readFile(path(name)), songFor(name, s));
        QCOMPARE(model->status(row), int(Database::StatusNone));

        // Saved once with new details typed in, then once more as the editor
        // shows what the first save wrote.
        for (int round = 0; round < 2; ++round) {
            edit(row, [&](DataEditDialog* d) {
                if (round == 0) {
                    setText(d, "titleLineEdit", "  " + title);
                    child<QComboBox>(d, "artistComboBox")->setEditText("Nuovo Artista");
                    setText(d, "authorLineEdit", "Rossi");
                    for (const char* line : {"lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
                        setText(d, line, QString());
                    QTest::keyClicks(child<QLineEdit>(d, "lenMmLineEdit"), "3");
                    QTest::keyClicks(child<QLineEdit>(d, "lenSsLineEdit"), "75");
                    // The tempo field refuses letters and a fourth digit.
                    QTest::keyClicks(child<QLineEdit>(d, "bpmLineEdit"), "1x3y34");
                    child<QComboBox>(d, "keyComboBox")->setCurrentText("A-");
                }
                press(d, "savePushButton");
            });
            const SongInfo saved = readInfo(path(name));
            QCOMPARE(QStringList({saved.title, saved.artist, saved.genre, saved.author, saved.key, saved.format}),
                     QStringList({title, "Nuovo Artista", s.genre, "Rossi", "A-", format}));
            QCOMPARE(saved.length, 255);
            QCOMPARE(saved.userBpm, 133);
            QCOMPARE(model->index(row, 2).data().toString() + ' ' + model->index(row, 6).data().toString(),
                     title + " 04:15");
            QCOMPARE(model->status(row), int(Database::StatusManual));
        }
        // The other songs were left alone.
        for (const QString& other : kSongs)
            if (other != name)
                QCOMPARE(readFile(path(other)), songFor(other, detailsOf(other)));
    }

    void keyOutsideList()
    {
        // An MP3 tag may hold a key in a form that is not one of the list's
        // names: an unrelated edit must not drop it, the empty item still does.
        openLibrary();
        const QString file = path("c_gamma.mp3");
        MetaSong song;
        QVERIFY(song.importFile(file));
        SongInfo info = readInfo(file);
        info.key = "Am";
        song.setSongInfo(info, true);
        QVERIFY(song.saveToFile(file));
        for (const bool clear : {false, true}) {
            edit(rowOf("c_gamma.mp3"), [&](DataEditDialog* d) {
                setText(d, "authorLineEdit", "Verdi");
                if (clear)
                    child<QComboBox>(d, "keyComboBox")->setCurrentIndex(0);
                press(d, "savePushButton");
            });
            QCOMPARE(readInfo(file).key + '|' + readInfo(file).author, QString(clear ? "|Verdi" : "Am|Verdi"));
        }
    }

    void applyToAll_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::newRow("author") << "Author";
        QTest::newRow("artist") << "Artist";
        QTest::newRow("genre") << "Genre";
        QTest::newRow("title from file name") << "Title";
    }

    void applyToAll()
    {
        QFETCH(QString, detail);
        openLibrary();
        // A listed file that can no longer be read is passed over.
        QVERIFY(writeFile(path("e_epsilon.mid"), "MThd not a song any more"));
        // Sorted by title, so list rows and file order differ.
        view->sortByColumn(2, Qt::DescendingOrder);
        QMap<QString, SongInfo> expected;
        for (const QString& name : kSongs)
            expected[name] = readInfo(path(name));
        LogCapture log;
        edit(rowOf("b_beta.mf3"), [&](DataEditDialog* d) {
            if (detail == "Title")
                press(d, "radioButtonTitle2");
            setText(d, "authorLineEdit", "  Common Author ");
            child<QComboBox>(d, "artistComboBox")->setEditText("Common Artist");
            child<QComboBox>(d, "genreComboBox")->setEditText("Common Genre");
            ModalDriver::answer(QMessageBox::Yes);
            press(d, qPrintable("checkBoxToAll" + detail));
            press(d, "savePushButton");
        });

        // Every other readable song gets only that detail, written once.
        expected["b_beta.mf3"].author = "Common Author";
        expected["b_beta.mf3"].artist = "Common Artist";
        expected["b_beta.mf3"].genre = "Common Genre";
        for (const QString& name : kSongs.mid(0, 4)) {
            SongInfo& s = expected[name];
            (detail == "Author" ? s.author : detail == "Artist" ? s.artist : detail == "Genre" ? s.genre : s.title) =
                detail == "Title" ? QFileInfo(name).completeBaseName() : "Common " + detail;
            QVERIFY2(readInfo(path(name)) == s, qPrintable(name));
            QCOMPARE(model->status(rowOf(name)), int(Database::StatusManual));
            QCOMPARE(model->index(rowOf(name), 2).data().toString(), s.title);
            QCOMPARE(log.lines().count("Saving to file:  \"" + path(name) + "\""), 1);
        }
        QCOMPARE(readFile(path("e_epsilon.mid")), QByteArray("MThd not a song any more"));
        QCOMPARE(model->status(rowOf("e_epsilon.mid")), int(Database::StatusNone));
        QCOMPARE(window->findChild<QProgressDialog*>()->windowTitle(), QStringLiteral("Aggiornamento file"));
    }

    void stopDuringWholeList()
    {
        openLibrary({"f_extra.mid", "g_extra.mid"});
        const QStringList all = listedFiles();
        QByteArrayList before;
        for (const QString& file : all)
            before << readFile(file);
        // "Interrompi" is pressed as soon as the second song has been written;
        // the songs already rewritten stay rewritten.
        LogCapture log;
        QTimer stopper;
        connect(&stopper, &QTimer::timeout, [&]() {
            if (log.lines().count("Ok") < 2)
                return;
            stopper.stop();
            for (QPushButton* b : window->findChild<QProgressDialog*>()->findChildren<QPushButton*>())
                if (b->text() == "Interrompi")
                    b->click();
        });
        stopper.start(0);
        edit(0, [&](DataEditDialog* d) {
            setText(d, "authorLineEdit", "Stopper");
            ModalDriver::answer(QMessageBox::Yes);
            press(d, "checkBoxToAllAuthor");
            press(d, "savePushButton");
        });
        QCOMPARE(log.lines().count("Ok"), 2);
        for (int row = 0; row < all.size(); ++row) {
            QCOMPARE(readInfo(all[row]).author == "Stopper", row < 2);
            QCOMPARE(model->status(row), row < 2 ? int(Database::StatusManual) : int(Database::StatusNone));
            if (row >= 2)
                QCOMPARE(readFile(all[row]), before[row]);
        }
    }

    void scrollsToEditedRow()
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
            edit(row, [&](DataEditDialog* d) { press(d, save ? "savePushButton" : "exitPushButton"); });
            QCOMPARE(view->verticalScrollBar()->value() == 0, !save);
            const int offCentre = view->visualRect(model->index(row, 2)).center().y() - view->viewport()->height() / 2;
            QCOMPARE(qAbs(offCentre) <= view->rowHeight(row), save);
        }
    }

    void contextMenu_data()
    {
        QTest::addColumn<bool>("onRow");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deletable");
        QTest::addColumn<bool>("rowGone");
        QTest::addColumn<bool>("fileGone");
        const int yes = QMessageBox::Yes;
        QTest::newRow("remove from list") << true << "Remove from list" << 0 << true << true << false;
        QTest::newRow("delete, yes") << true << "Delete file" << yes << true << true << true;
        QTest::newRow("delete, no") << true << "Delete file" << int(QMessageBox::No) << true << false << false;
        // Replaced after the import by something no one, root included, can
        // delete as a file: a folder with content. The row stays, with a warning.
        QTest::newRow("delete, cannot") << true << "Delete file" << yes << false << false << false;
        QTest::newRow("menu dismissed") << true << "" << 0 << true << false << false;
        QTest::newRow("below last row, remove") << false << "Remove from list" << 0 << true << false << false;
        QTest::newRow("below last row, delete") << false << "Delete file" << 0 << true << false << false;
    }

    void contextMenu()
    {
        QFETCH(bool, onRow);
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(bool, deletable);
        QFETCH(bool, rowGone);
        QFETCH(bool, fileGone);
        openLibrary();
        const QString name = "c_gamma.mp3";
        if (!deletable)
            QVERIFY(QFile::remove(path(name)) && writeFile(path(name) + "/inside.txt", "kept"));
        const int rows = model->goodRowCount();
        const QPoint at = onRow ? rowPos(rowOf(name)) : rowPos(rows - 1) + QPoint(0, 3 * view->rowHeight(0));
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
        const QStringList question = {"Attenzione", "Sei sicuro di voler cancellare il file?"};
        QCOMPARE(asked, answer ? question : QStringList());
        // Only a file that could not be deleted is reported, by its path.
        QCOMPARE(warning.contains(path(name)), !deletable);
        QCOMPARE(QFileInfo::exists(path(name)), !fileGone);
        QCOMPARE(rowOf(name) < 0, rowGone);
        QCOMPARE(model->goodRowCount(), rows - (rowGone ? 1 : 0));
    }
};

QTEST_MAIN(TestManualEdit)
#include "tst_manualedit.moc"
