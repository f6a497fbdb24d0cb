#include "windowtest.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

static const QStringList kSongs = {"a_alpha.mid", "b_beta.mf3", "c_gamma.mp3", "d_delta.mf5", "e_epsilon.mid"};

static Details detailsOf(const QString& name)
{
    const QString base = name.mid(2).section('.', 0, 0);
    return {base.toUpper(), base + " band", "ROCK", "Smith", 185, 120, false, base.toUpper().toLatin1()};
}

// The song editor and the context menu in the main window, on song files of every format.
class TestManualEdit : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<MainWindow> window;
    QTableView* view = nullptr;
    UserSongsRelTableModel* model = nullptr;

    void openLibrary()
    {
        QStringList files;
        for (const QString& name : kSongs) {
            files << path(name);
            QVERIFY(writeFile(files.last(), songFor(name, detailsOf(name))));
        }
        window.reset(new MainWindow);
        window->show();
        pickFiles(*window, files);
        view = child<QTableView>(window.get(), "userLibraryTableView");
        model = libraryModel(*window);
    }
    QString path(const QString& name) const { return sandbox->path("songs/" + name); }
    int rowOf(const QString& name) const
    {
        for (int r = 0; r < model->goodRowCount(); ++r)
            if (model->fileName(r) == path(name))
                return r;
        return -1;
    }
    QPoint rowPos(int row) const { return view->visualRect(model->index(row, 2)).center(); }
    // Runs the editor opened by a double click on row.
    void edit(int row, std::function<void(QWidget*)> action)
    {
        ModalScript script(false);
        script.then("DataEditDialog", action);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowPos(row));
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
        QTest::newRow("MIDI") << "a_alpha.mid";
        QTest::newRow("MF3") << "b_beta.mf3";
        QTest::newRow("MP3") << "c_gamma.mp3";
    }

    void cancelAndSave()
    {
        QFETCH(QString, name);
        openLibrary();
        const int row = rowOf(name);
        const QString title = "Città è già Ünïcode";
        // Changes made before cancelling go nowhere.
        edit(row, [&](QWidget* d) {
            setText(d, "titleLineEdit", "Changed");
            child<QAbstractButton>(d, "exitPushButton")->click();
        });
        QCOMPARE(readFile(path(name)), songFor(name, detailsOf(name)));
        QCOMPARE(model->status(row), int(Database::StatusNone));

        // Saved once with new details typed in, then once more as the editor
        // shows what the first save wrote.
        for (int round = 0; round < 2; ++round) {
            edit(row, [&](QWidget* d) {
                if (round == 0) {
                    setText(d, "titleLineEdit", "  " + title);
                    // What is typed is saved, though the catalogue knows an artist MILVA.
                    auto* artist = child<QComboBox>(d, "artistComboBox");
                    artist->clearEditText();
                    artist->lineEdit()->setFocus();
                    QTest::keyClicks(artist->lineEdit(), "Mil");
                    for (const char* line : {"lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
                        setText(d, line, QString());
                    QTest::keyClicks(child<QLineEdit>(d, "lenMmLineEdit"), "3");
                    QTest::keyClicks(child<QLineEdit>(d, "lenSsLineEdit"), "75");
                    // The tempo field refuses letters and a fourth digit.
                    QTest::keyClicks(child<QLineEdit>(d, "bpmLineEdit"), "1x3y34");
                    child<QComboBox>(d, "keyComboBox")->setCurrentText("A-");
                }
                child<QAbstractButton>(d, "savePushButton")->click();
            });
            const SongInfo saved = readInfo(path(name));
            QCOMPARE(QStringList({saved.title, saved.artist, saved.genre, saved.key, QString::number(saved.length),
                                  QString::number(saved.userBpm)}),
                     QStringList({title, "Mil", detailsOf(name).genre, "A-", "255", "133"}));
            QCOMPARE(model->status(row), int(Database::StatusManual));
        }
        // The other songs were left alone.
        for (const QString& other : kSongs)
            if (other != name)
                QCOMPARE(readFile(path(other)), songFor(other, detailsOf(other)));
    }

    void authorToWholeList_data()
    {
        QTest::addColumn<bool>("yes"); // the answer to the apply-to-all question
        QTest::newRow("Yes") << true;
        QTest::newRow("No: only the edited song") << false;
    }

    void authorToWholeList()
    {
        QFETCH(bool, yes);
        openLibrary();
        // A listed file that can no longer be read is passed over.
        QVERIFY(writeFile(path("e_epsilon.mid"), "MThd not a song any more"));
        // Sorted by title, so list rows and file order differ.
        view->sortByColumn(2, Qt::DescendingOrder);
        QList<SongInfo> expected;
        for (const QString& name : kSongs)
            expected << readInfo(path(name));
        std::unique_ptr<ModalScript> report; // the songs that could not be saved
        edit(rowOf("b_beta.mf3"), [&](QWidget* d) {
            setText(d, "authorLineEdit", "Common Author");
            child<QComboBox>(d, "genreComboBox")->setEditText("Common Genre");
            ModalScript question(false);
            question.box(yes ? QMessageBox::Yes : QMessageBox::No);
            QTest::mouseClick(child<QAbstractButton>(d, "checkBoxToAllAuthor"), Qt::LeftButton);
            report.reset(new ModalScript);
            if (yes)
                report->box();
            child<QAbstractButton>(d, "savePushButton")->click();
        });
        // Every other readable song gets only that detail; after a No, only the edited song changes.
        expected[1].genre = "Common Genre";
        for (int i = 0; i < 4; ++i) {
            const bool changed = yes || i == 1;
            expected[i].author = changed ? "Common Author" : expected[i].author;
            QVERIFY2(readInfo(path(kSongs[i])) == expected[i], qPrintable(kSongs[i]));
            QCOMPARE(model->status(rowOf(kSongs[i])), int(changed ? Database::StatusManual : Database::StatusNone));
        }
        QCOMPARE(readFile(path("e_epsilon.mid")), QByteArray("MThd not a song any more"));
        // The unreadable song is reported and marked.
        QCOMPARE(model->status(rowOf("e_epsilon.mid")), int(yes ? Database::StatusUnreadable : Database::StatusNone));
        VERIFY_SCRIPT(*report);
        if (yes)
            QVERIFY(report->seen[0].info.contains(path("e_epsilon.mid") + ": non è stato possibile leggere"));
    }

    void failedSaveShown()
    {
        openLibrary();
        const int row = rowOf("a_alpha.mid");
        ModalScript report(false);
        report.box();
        edit(row, [this](QWidget* d) {
            // The songs' folder goes away and a plain file takes its name:
            // the save cannot succeed, even as root.
            QVERIFY(QDir().rename(sandbox->path("songs"), sandbox->path("moved")));
            QVERIFY(writeFile(sandbox->path("songs"), "a file"));
            child<QAbstractButton>(d, "savePushButton")->click();
        });
        VERIFY_SCRIPT(report);
        QCOMPARE(report.seen[0].text, QString("Non è stato possibile salvare una o più song"));
        QVERIFY(report.seen[0].info.contains(path("a_alpha.mid") + ": ")); // and the reason
        // Not marked as edited: the row says the song was not saved.
        QCOMPARE(model->status(row), int(Database::StatusNotSaved));
        QCOMPARE(readFile(sandbox->path("moved/a_alpha.mid")), songFor("a_alpha.mid", detailsOf("a_alpha.mid")));
    }

    void contextMenu_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer"); // to the question; 0: none asked
        QTest::addColumn<bool>("deletable");
        const int yes = QMessageBox::Yes;
        QTest::newRow("remove from list") << "Remove from list" << 0 << true;
        QTest::newRow("delete, yes") << "Delete file" << yes << true;
        // Replaced after the import by something no one, root included, can
        // delete as a file: a folder with content. The row stays, with a warning.
        QTest::newRow("delete, cannot") << "Delete file" << yes << false;
    }

    void contextMenu()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(bool, deletable);
        openLibrary();
        const QString name = "c_gamma.mp3";
        if (!deletable)
            QVERIFY(QFile::remove(path(name)) && writeFile(path(name) + "/inside.txt", "kept"));
        const QPoint at = rowPos(rowOf(name));

        ModalScript script;
        script.then("QMenu", [action](QWidget* menu) {
            // As a click on the item: the menu closes and exec() returns the action.
            for (QAction* a : menu->actions())
                if (a->text() == action)
                    static_cast<QMenu*>(menu)->setActiveAction(a);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &press);
        });
        if (answer)
            script.box(QMessageBox::StandardButton(answer));
        if (!deletable)
            script.box();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        QTest::qWait(100);
        VERIFY_SCRIPT(script);
        // Only a file that could not be deleted is reported, by its path.
        QCOMPARE(script.seen.last().text.contains(path(name)), !deletable);
        QCOMPARE(QFileInfo::exists(path(name)), !deletable || !answer);
        QCOMPARE(rowOf(name) < 0, deletable);
    }
};

QTEST_MAIN(TestManualEdit)
#include "tst_manualedit.moc"
