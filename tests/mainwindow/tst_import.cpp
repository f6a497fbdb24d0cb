#include "windowtest.h"

#include "app/startup.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The library import as the user runs it from the main window.
class TestImport : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;

    QString file(const QString& name, const QByteArray& data)
    {
        const QString path = sandbox->path("songs/" + name);
        if (!writeFile(path, data))
            qFatal("cannot write a test song");
        return path;
    }
    QString song(const QString& name, const Details& d = Details()) { return file(name, songFor(name, d)); }
    // Imports files (with none, the hidden "Import again" over the last
    // choice) pressing `buttons` in the summary; returns its title and text.
    static QString importAnswering(MainWindow& w, const QStringList& files, const QString& buttons = "noPushButton")
    {
        ModalScript script;
        script.press("ProceedDialog", buttons);
        files.isEmpty() ? w.importUserLibrary() : pickFiles(w, files);
        if (!script.done())
            return "no summary " + script.unexpected.join(' ');
        return script.seen[0].title + ": " + script.seen[0].text;
    }
    static QString summaryText(int files, int songs, int tavrel)
    {
        return QString("Riassunto importazione: Sono stati esaminti %1 files, trovate %2 songs di cui %3 di (c)Tavrel")
            .arg(files).arg(songs).arg(tavrel);
    }

private slots:
    void init() { sandbox.reset(new Sandbox); }
    void cleanup() { sandbox.reset(); qApp->setStyleSheet(QString()); }

    void rows_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("tavrel");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("lengthText");
        QTest::addColumn<bool>("tavrelInSummary");

        QTest::newRow("MIDI of the maker") << "volare.mid" << true << "MIDI" << 185 << "03:05" << true;
        QTest::newRow("MIDI of another") << "volare.mid" << false << "MIDI" << 185 << "03:05" << false;
        QTest::newRow("karaoke") << "sing.kar" << false << "MIDI" << 59 << "00:59" << false;
        QTest::newRow("upper-case extension") << "LOUD.MID" << true << "MIDI" << 3600 << "60:00" << true;
        // An MFx song keeps its length in the packed MIDI image, not the header.
        QTest::newRow("MF3") << "song.mf3" << false << "MF3" << 61 << "01:01" << true;
        QTest::newRow("MF4") << "song.mf4" << false << "MF4" << 6005 << "100:05" << true;
        QTest::newRow("MF5") << "song.mf5" << false << "MF5" << 245 << "04:05" << true;
        QTest::newRow("MP3 of the maker") << "live.mp3" << true << "MP3" << 245 << "04:05" << true;
        QTest::newRow("MP3 of another") << "live.mp3" << false << "MP3" << 245 << "04:05" << false;
        QTest::newRow("folder with spaces") << "Canzoni d'autore/dolce vita.mid" << true << "MIDI" << 0 << "00:00"
                                            << true;
    }

    void rows()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, tavrel);
        QFETCH(QString, type);
        QFETCH(int, length);
        QFETCH(QString, lengthText);
        QFETCH(bool, tavrelInSummary);
        const Details d{"Nel blu dipinto di blu", "Domenico Modugno", "POP", "Migliacci", length, 126, tavrel, {}};
        const QString path = song(fileName, d);
        MainWindow w;
        QCOMPARE(importAnswering(w, {path}), summaryText(1, 1, tavrelInSummary ? 1 : 0));

        // Columns 1 to 11: format, details, key, path, file name, status;
        // row id, path and status never show, and cells are never edited in place.
        QTableView* view = child<QTableView>(&w, "userLibraryTableView");
        QStringList cells, hidden;
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            cells << view->model()->index(0, c).data().toString();
            if (view->isColumnHidden(c))
                hidden << QString::number(c);
        }
        QCOMPARE(view->model()->rowCount(), 1);
        QCOMPARE(cells.mid(1), QStringList({type, d.title, d.artist, d.genre, d.author, lengthText, "126", "", path,
                                            fileName.section('/', -1), "0"}));
        QCOMPARE(hidden.join(' '), QStringLiteral("0 9 11"));
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void summary_data()
    {
        // Files named t* are the maker's songs, o* other songs, x* unreadable.
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("readable and unreadable")
            << QStringList{"t1.mid", "o1.mp3", "x1.mid", "t2.mf3", "x2.mp3", "o2.kar"} << "t1.mid o1.mp3 t2.mf3 o2.kar"
            << summaryText(6, 4, 2);
        QTest::newRow("only unreadable") << QStringList{"x1.mid", "x2.mp3", "x3.wav", "x4.mf4", "x5.mid", "x6.mid"}
                                         << "" << summaryText(6, 0, 0);
        QTest::newRow("nothing picked") << QStringList() << "" << summaryText(0, 0, 0);
    }

    void summary()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, rows);
        QFETCH(QString, text);
        // The unreadable kinds: damaged MIDI, an MP3 name over other bytes, MP3
        // bytes under another name, a damaged MFx payload, an empty file, a
        // file gone since it was picked.
        const QList<QByteArray> unreadable = {midiSong({}).left(20), QByteArray("RIFF\0\0\0\0WAVEfmt ", 16),
                                              mp3Song({}), mfxSong("_MF4", {}).left(530), QByteArray()};
        QStringList paths;
        int x = 0;
        for (const QString& name : names) {
            if (!name.startsWith('x'))
                paths << song(name, {name, {}, {}, {}, 0, 0, name.startsWith('t'), {}});
            else
                paths << (x < unreadable.size() ? file(name, unreadable[x++]) : sandbox->path(name));
        }
        MainWindow w;
        QCOMPARE(importAnswering(w, paths), text);
        QStringList shown;
        for (int r = 0; r < libraryModel(w)->rowCount(); ++r)
            shown << libraryModel(w)->shortName(r);
        QCOMPARE(shown.join(' '), rows);
        // "No": the synchronisation stays available.
        QVERIFY(toolButton(w, "updateDataToolButton")->isEnabled());
    }

    void buttonTable_data()
    {
        // States of the import, synchronisation and transfer buttons.
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("states");
        QTest::newRow("after construction") << "none" << "100";
        QTest::newRow("summary answered No") << "no" << "111";
        QTest::newRow("no summary") << "preference off" << "111";
        QTest::newRow("synchronisation of an empty library") << "yes, empty" << "111";
        QTest::newRow("table not emptied") << "clear fails" << "101";
        QTest::newRow("synchronisation run to its end") << "yes, synchronised" << "101";
    }

    void buttonTable()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, states);
        const Details azzurro{"Azzurro", {}, {}, {}, 0, 0, true, {}};
        QStringList songs = {song("a.mid", azzurro), song("b.mp3", azzurro)};
        MainWindow w;
        if (scenario == "clear fails") {
            // The library refuses to be emptied; an empty one is not emptied,
            // so the first import goes through and the second is refused.
            QSqlQuery trigger(QSqlDatabase::database("con_mem"));
            QVERIFY(trigger.exec("create trigger keep before delete on usersongs "
                                 "begin select raise(abort, 'kept'); end"));
            importWithoutSummary(w, songs);
            songs.removeLast();
        }
        ModalScript script;
        if (scenario == "no")
            script.press("ProceedDialog", "noPushButton");
        if (scenario.startsWith("yes"))
            script.press("ProceedDialog", "yesPushButton");
        if (scenario == "yes, synchronised")
            script.press("BackupDialog", "exitPushButton");
        if (scenario == "yes, empty")
            songs = QStringList{file("broken.mid", "MThd")};
        if (scenario == "preference off")
            setCopyrightAsk(false);
        LogCapture log;
        if (scenario != "none")
            pickFiles(w, songs);
        VERIFY_SCRIPT(script);
        QCOMPARE(buttonStates(w), states);
        if (scenario == "clear fails") {
            QVERIFY(log.lines().contains(
                "[importUserLibrary] WARNING: impossible to CLEAR table. Aborting import !!!"));
            QCOMPARE(libraryModel(w)->rowCount(), 2);
        }
    }

    void progressAndStop()
    {
        QStringList songs;
        for (int i = 0; i < 30; ++i)
            songs << song(QString("song%1.mid").arg(i, 2, 10, QLatin1Char('0')));
        setCopyrightAsk(false);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pickFiles(w, songs.mid(0, 3));

        // "Interrompi" is pressed after the first file; the import goes on.
        QStringList during;
        QPointer<QProgressDialog> dialog;
        QTimer::singleShot(0, [&] {
            dialog = currentProgress(w);
            during << buttonStates(w) << dialog->findChild<QLabel*>()->text() << dialog->windowTitle();
            QPushButton* stop = dialog->findChild<QPushButton*>();
            during << stop->text();
            stop->click();
            during << QString::number(libraryModel(w)->rowCount());
        });
        pickFiles(w, songs);
        QCOMPARE(during, QStringList({"100", "1 di 30", "Lettura file", "Interrompi", "1"}));
        QCOMPARE(libraryModel(w)->rowCount(), 30);
        QCOMPARE(buttonStates(w), QStringLiteral("111"));
        // The last progress shown; the dialog went away by itself at the maximum.
        QCOMPARE(dialog->findChild<QLabel*>()->text(), QStringLiteral("30 di 30"));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w.findChildren<QProgressDialog*>().size(), 1);
    }

    void cancelledChoice()
    {
        const QStringList earlier = {song("one.mid"), song("two.mf5")};
        setCopyrightAsk(false);
        MainWindow w;
        pickFiles(w, earlier);
        // The chooser is asked with the program's texts and cancelled.
        QStringList asked;
        w.setFileChooser([&asked](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
            asked << parent->metaObject()->className() << caption << dir << filter;
            return QStringList();
        });
        LogCapture log;
        toolButton(w, "selectDirToolButton")->click();
        QCOMPARE(asked, QStringList({"MainWindow", "Seleziona i file da importare", "/",
                                     "Songs (*.mid *.kar *.mp3 *.mf3 *.mf4 *.mf5)"}));
        QVERIFY(log.lines().isEmpty());
        QCOMPARE(buttonStates(w), QStringLiteral("111"));
        QCOMPARE(libraryModel(w)->rowCount(), 2);
        // The earlier choice is still the one an import again reads.
        QFile::remove(earlier[1]);
        w.importUserLibrary();
        QCOMPARE(libraryModel(w)->rowCount(), 1);
        QCOMPARE(libraryModel(w)->fileName(0), earlier[0]);
    }

    void copyrightRoundTrip()
    {
        const QStringList songs = {song("estate.mid")};
        const auto stored = [] { return store().value("copyrightAsk"); };
        MainWindow w;
        auto* yes = child<QAction>(&w, "actionCopyrightYes");
        auto* no = child<QAction>(&w, "actionCopyrightNo");

        // Leaving the box unticked stores the preference as on; ticking it turns it off...
        importAnswering(w, songs);
        QCOMPARE(stored(), QVariant(true));
        QVERIFY(importAnswering(w, songs, "checkBoxShowAgain noPushButton").startsWith("Riassunto"));
        QCOMPARE(stored().toBool(), false);
        QVERIFY(!yes->isChecked() && no->isChecked());
        // ... so the next import shows no summary and starts no synchronisation.
        LogCapture log;
        QCOMPARE(importAnswering(w, songs), QStringLiteral("no summary "));

        // Turned on again from the menu's function, the summary comes back;
        // ticked with "Si" it turns off and the synchronisation still runs (up
        // to its backup offer, closed here).
        w.enableCopyrightMessage(true);
        QCOMPARE(stored().toBool(), true);
        QVERIFY(yes->isChecked() && !no->isChecked());
        ModalScript script;
        script.press("ProceedDialog", "checkBoxShowAgain yesPushButton").press("BackupDialog", "close");
        pickFiles(w, songs);
        VERIFY_SCRIPT(script);
        QCOMPARE(stored().toBool(), false);
        QCOMPARE(log.lines().count("          UPDATE USER LIBRARY"), 1);
        QCOMPARE(buttonStates(w), QStringLiteral("111"));
    }

    void logOfARun()
    {
        const QString good = song("frack.mid", {"Vecchio frack", {}, {}, {}, 0, 0, true, {}});
        const QString bad = file("frack.mp3", "not a song");
        LogCapture log;
        MainWindow w;
        QVERIFY(log.lines().contains("DB initialized correctly"));
        importAnswering(w, {good, bad});
        const QString rule(44, '=');
        const QStringList expected = {rule, "          IMPORT USER LIBRARY", rule, "Found file: \"" + good + '"',
                                      "Song Index:  1", "Format     : \"MIDI\"", "Filename   : \"" + good + '"',
                                      "Shortname  : \"frack.mid\"", "Title      : \"Vecchio frack\"",
                                      "Found file: \"" + bad + '"', "Unknown/corrupted file \"" + bad + '"'};
        // In this order, with the rest of the song's dump in between.
        int at = 0;
        for (const QString& line : expected) {
            at = log.lines().indexOf(line, at) + 1;
            QVERIFY2(at > 0, qPrintable(line + "\n--- log:\n" + log.lines().join('\n')));
        }
    }

    void databaseFailure()
    {
        // The reference database in the working folder cannot be opened.
        QVERIFY(QDir().mkdir("songsdb_debug"));
        LogCapture log;
        MainWindow w;
        QVERIFY(log.lines().contains("Error initializing DB !!!"));
        QCOMPARE(buttonStates(w), QStringLiteral("000"));
        // No workflow runs without the library; told once, after the window is shown.
        w.importUserLibrary();
        QVERIFY(!log.lines().contains("          IMPORT USER LIBRARY"));
        QVERIFY(!w.updateFileWithDb(0));
        ModalScript script;
        script.box();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(100);
        w.hide();
        w.show();
        QTest::qWait(100);
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.size(), 1);
        QCOMPARE(script.seen[0].text, QStringLiteral("Impossibile aprire i database delle song: le funzioni della "
                                                     "libreria non sono disponibili."));
    }

    void screenshot()
    {
        // A library of a dozen songs of every format, in the styled window.
        const QStringList artists = {"Domenico Modugno", "Mina", "Lucio Dalla", "Gino Paoli", "Orchestra Tavrel"};
        const QStringList genres = {"POP", "BALLAD", "JAZZ", "LISCIO"};
        const QStringList extensions = {"mid", "mp3", "mf3", "mf4", "kar", "mf5"};
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            paths << song(QString("song%1.%2").arg(i).arg(extensions[i % 6]), {QString("Canzone numero %1").arg(i + 1),
                          artists[i % 5], genres[i % 4], artists[(i + 2) % 5], 150 + 13 * i, 66 + 7 * i, true, {}});
        setCopyrightAsk(false);
        QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pickFiles(w, paths);
        QCOMPARE(libraryModel(w)->rowCount(), 12);
        QCoreApplication::processEvents();

        QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
        if (dir.isEmpty()) // the build folder, beside the test programs' folder
            dir = QCoreApplication::applicationDirPath() + "/../../screenshots";
        QVERIFY(QDir().mkpath(dir));
        const QString path = QDir::cleanPath(QDir(dir).filePath("mainwindow-library.png"));
        QVERIFY(w.grab().save(path));
        qInfo("Screenshot saved to %s", qPrintable(path));
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
