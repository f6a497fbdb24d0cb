#include "windowtest.h"

#include "app/startup.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The library import as the user runs it from the main window.
class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init() { sandbox.reset(new Sandbox); }
    void cleanup() { sandbox.reset(); qApp->setStyleSheet(QString()); }

    void rows_data();
    void rows();
    void libraryTable();
    void summary_data();
    void summary();
    void buttonTable_data();
    void buttonTable();
    void progressAndStop();
    void realChooser_data();
    void realChooser();
    void copyrightRoundTrip();
    void logOfARun();
    void databaseFailure();
    void screenshot();

private:
    QString file(const QString& name, const QByteArray& data)
    {
        const QString path = sandbox->path(QStringLiteral("songs/") + name);
        if (!writeFile(path, data))
            qFatal("cannot write a test song");
        return path;
    }
    QString song(const QString& name, const Details& d = Details()) { return file(name, songFor(name, d)); }
    // Imports files (with none, the hidden "Import again" over the last
    // choice) answering the summary as `answer` says; returns the summary's
    // title and text.
    static QString importAnswering(MainWindow& w, const QStringList& files, const QString& answer = "noPushButton")
    {
        ModalScript script;
        script.press("ProceedDialog", answer);
        if (files.isEmpty())
            w.importUserLibrary();
        else
            pickFiles(w, files);
        if (!script.done() || script.seen.isEmpty())
            return QStringLiteral("no summary ") + script.unexpected.join(QLatin1Char(' '));
        return script.seen[0].title + QStringLiteral(": ") + script.seen[0].text;
    }
    static QString summaryText(int files, int songs, int tavrel)
    {
        return QStringLiteral("Riassunto importazione: Sono stati esaminti %1 files, trovate %2 songs di cui %3 di "
                              "(c)Tavrel").arg(files).arg(songs).arg(tavrel);
    }

    std::unique_ptr<Sandbox> sandbox;
};

void TestImport::rows_data()
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

void TestImport::rows()
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

    // Columns 1 to 11: format, details, key, path, file name, status.
    QAbstractItemModel* m = libraryModel(w);
    QCOMPARE(m->rowCount(), 1);
    QStringList cells;
    for (int c = 1; c < m->columnCount(); ++c)
        cells << m->index(0, c).data().toString();
    QCOMPARE(cells, QStringList({type, d.title, d.artist, d.genre, d.author, lengthText, "126", "", path,
                                 fileName.section(QLatin1Char('/'), -1), "0"}));
}

void TestImport::libraryTable()
{
    MainWindow w;
    QTableView* view = child<QTableView>(&w, "userLibraryTableView");
    // Cells are never edited in place: a change must go through the song editor.
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(view->contextMenuPolicy(), Qt::CustomContextMenu);
    // Row id, file path and status never show.
    const auto headers = [view] {
        QStringList shown;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            shown << (view->isColumnHidden(c) ? QStringLiteral("-") : view->model()->headerData(c, Qt::Horizontal).toString());
        return shown.join(QLatin1Char(','));
    };
    QCOMPARE(headers(), QStringLiteral("-,Formato,Titolo,Artista,Genere,Autore,Durata,Bpm,Tonalita',-,Nome file,-"));
    // A language change reaches the headers too.
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
    QCoreApplication::processEvents();
    QCOMPARE(headers(), QStringLiteral("-,Format,Title,Artist,Genre,Author,Length,Bpm,Key,-,File name,-"));
}

void TestImport::summary_data()
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
    QTest::newRow("only others") << QStringList{"o1.mid", "o2.mp3"} << "o1.mid o2.mp3" << summaryText(2, 2, 0);
    QTest::newRow("nothing picked") << QStringList() << "" << summaryText(0, 0, 0);
}

void TestImport::summary()
{
    QFETCH(QStringList, names);
    QFETCH(QString, rows);
    QFETCH(QString, text);

    // The unreadable kinds: damaged MIDI, an MP3 name over other bytes, MP3
    // bytes under another name, a damaged MFx payload, an empty file, a
    // file gone since it was picked.
    const QList<QByteArray> unreadable = {midiSong(Details()).left(20), QByteArray("RIFF\0\0\0\0WAVEfmt ", 16),
                                          mp3Song(Details()), mfxSong("_MF4", Details()).left(530), QByteArray()};
    QStringList paths;
    int x = 0;
    for (const QString& name : names) {
        const Details d{name, {}, {}, {}, 0, 0, name.startsWith(QLatin1Char('t')), {}};
        if (!name.startsWith(QLatin1Char('x')))
            paths << song(name, d);
        else if (x < unreadable.size())
            paths << file(name, unreadable[x++]);
        else
            paths << sandbox->path(name); // never written
    }

    MainWindow w;
    QCOMPARE(importAnswering(w, paths), text);
    QStringList shown;
    for (int r = 0; r < libraryModel(w)->rowCount(); ++r)
        shown << libraryModel(w)->shortName(r);
    QCOMPARE(shown.join(QLatin1Char(' ')), rows);
    // "No": the synchronisation stays available.
    QVERIFY(toolButton(w, "updateDataToolButton")->isEnabled());
}

void TestImport::buttonTable_data()
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

void TestImport::buttonTable()
{
    QFETCH(QString, scenario);
    QFETCH(QString, states);

    const Details d{"Azzurro", {}, {}, {}, 0, 0, true, {}};
    QStringList songs = {song("a.mid", d), song("b.mp3", d)};
    MainWindow w;
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
    if (scenario == "clear fails") {
        // The library refuses to be emptied; an empty one is not emptied,
        // so the first import goes through.
        QSqlQuery trigger(QSqlDatabase::database(QStringLiteral("con_mem")));
        QVERIFY(trigger.exec(QStringLiteral("create trigger keep before delete on usersongs "
                                            "begin select raise(abort, 'kept'); end")));
        importWithoutSummary(w, songs);
        songs.removeLast();
    }
    LogCapture log;
    if (scenario != "none")
        pickFiles(w, songs);
    VERIFY_SCRIPT(script);
    QCOMPARE(buttonStates(w), states);
    if (scenario == "clear fails") {
        QVERIFY(log.lines().contains("[importUserLibrary] WARNING: impossible to CLEAR table. Aborting import !!!"));
        QCOMPARE(libraryModel(w)->rowCount(), 2);
    }
}

void TestImport::progressAndStop()
{
    QStringList songs;
    for (int i = 0; i < 30; ++i)
        songs << song(QStringLiteral("song%1.mid").arg(i, 2, 10, QLatin1Char('0')));
    setCopyrightAsk(false);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    pickFiles(w, songs.mid(0, 3));

    // "Interrompi" is pressed after the first file; the import goes on.
    QString during, label;
    int rowsWhenStopped = -1;
    QPointer<QProgressDialog> dialog;
    QTimer::singleShot(0, [&] {
        dialog = currentProgress(w);
        during = buttonStates(w);
        label = dialog->findChild<QLabel*>()->text();
        dialog->findChild<QPushButton*>()->click();
        rowsWhenStopped = libraryModel(w)->rowCount();
    });
    pickFiles(w, songs);
    QCOMPARE(during, QStringLiteral("100"));
    QCOMPARE(label, QStringLiteral("1 di 30"));
    QCOMPARE(rowsWhenStopped, 1);
    QCOMPARE(libraryModel(w)->rowCount(), 30);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));

    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Lettura file"));
    QCOMPARE(dialog->findChild<QPushButton*>()->text(), QStringLiteral("Interrompi"));
    // The last progress shown; the dialog went away by itself at the maximum.
    QCOMPARE(dialog->findChild<QLabel*>()->text(), QStringLiteral("30 di 30"));
    QVERIFY(!dialog->isVisible());
}

void TestImport::realChooser_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("files picked") << true;
    QTest::newRow("cancelled") << false;
}

void TestImport::realChooser()
{
    QFETCH(bool, accept);
    const QStringList earlier = {song("one.mid"), song("two.mf5")};
    const QStringList picked = {song("caruso.mid"), song("almeno tu.mp3")};
    setCopyrightAsk(false);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    pickFiles(w, earlier);
    w.setFileChooser(nullptr);

    QStringList asked;
    QTimer timer;
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser || !chooser->isVisible())
            return;
        timer.stop();
        asked << chooser->windowTitle() << chooser->directory().absolutePath()
              << chooser->nameFilters().join(QLatin1Char(';')) << QString::number(chooser->fileMode());
        auto* buttons = chooser->findChild<QDialogButtonBox*>();
        if (!accept)
            return buttons->button(QDialogButtonBox::Cancel)->click();
        // Two names typed, in this order, in the folder of the songs.
        chooser->setDirectory(QFileInfo(picked[0]).path());
        child<QLineEdit>(chooser, "fileNameEdit")->setText(QStringLiteral("\"caruso.mid\" \"almeno tu.mp3\""));
        buttons->button(QDialogButtonBox::Open)->click();
    });
    timer.start();
    LogCapture log;
    toolButton(w, "selectDirToolButton")->click();

    QCOMPARE(asked, QStringList({"Seleziona i file da importare", "/", "Songs (*.mid *.kar *.mp3 *.mf3 *.mf4 *.mf5)",
                                 QString::number(QFileDialog::ExistingFiles)}));
    QCOMPARE(buttonStates(w), QStringLiteral("111"));
    const QStringList expected = accept ? picked : earlier;
    QCOMPARE(QStringList({libraryModel(w)->fileName(0), libraryModel(w)->fileName(1)}), expected);
    QCOMPARE(log.lines().contains(QStringLiteral("          IMPORT USER LIBRARY")), accept);
    // A cancelled choice keeps the earlier one for an import again.
    QFile::remove(expected[1]);
    w.importUserLibrary();
    QCOMPARE(libraryModel(w)->rowCount(), 1);
    QCOMPARE(libraryModel(w)->fileName(0), expected[0]);
}

void TestImport::copyrightRoundTrip()
{
    const QStringList songs = {song("estate.mid")};
    const auto stored = [] { return store().value(QStringLiteral("copyrightAsk")); };
    MainWindow w;
    auto* yes = child<QAction>(&w, "actionCopyrightYes");
    auto* no = child<QAction>(&w, "actionCopyrightNo");
    QVERIFY(yes->isChecked() && !no->isChecked());

    // Leaving the box unticked stores the preference as on; ticking it turns it off...
    importAnswering(w, songs);
    QCOMPARE(stored(), QVariant(true));
    QVERIFY(importAnswering(w, songs, "checkBoxShowAgain noPushButton").startsWith("Riassunto"));
    QCOMPARE(stored().toBool(), false);
    QVERIFY(!yes->isChecked() && no->isChecked());

    // ... so the next import shows no summary and starts no synchronisation.
    LogCapture log;
    QCOMPARE(importAnswering(w, songs), QStringLiteral("no summary "));
    QCOMPARE(buttonStates(w), QStringLiteral("111"));

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
    QVERIFY(!yes->isChecked() && no->isChecked());
    QCOMPARE(log.lines().count(QStringLiteral("          UPDATE USER LIBRARY")), 1);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));
}

void TestImport::logOfARun()
{
    const QString good = song("frack.mid", Details{"Vecchio frack", {}, {}, {}, 0, 0, true, {}});
    const QString bad = file("frack.mp3", "not a song");
    LogCapture log;
    MainWindow w;
    QVERIFY(log.lines().contains(QStringLiteral("DB initialized correctly")));
    log.lines().clear();
    importAnswering(w, {good, bad});

    const QString rule(44, QLatin1Char('='));
    const QStringList expected = {rule,
                                  QStringLiteral("          IMPORT USER LIBRARY"),
                                  rule,
                                  QStringLiteral("Found file: \"%1\"").arg(good),
                                  QStringLiteral("Song Index:  1"),
                                  QStringLiteral("Format     : \"MIDI\""),
                                  QStringLiteral("Filename   : \"%1\"").arg(good),
                                  QStringLiteral("Shortname  : \"frack.mid\""),
                                  QStringLiteral("Title      : \"Vecchio frack\""),
                                  QStringLiteral("Found file: \"%1\"").arg(bad),
                                  QStringLiteral("Unknown/corrupted file \"%1\"").arg(bad)};
    // In this order, with the rest of the song's dump in between.
    int at = 0;
    for (const QString& line : expected) {
        at = log.lines().indexOf(line, at) + 1;
        QVERIFY2(at > 0, qPrintable(line + QLatin1String("\n--- log:\n") + log.lines().join(QLatin1Char('\n'))));
    }
}

void TestImport::databaseFailure()
{
    // The reference database in the working folder cannot be opened.
    QVERIFY(QDir().mkdir(QStringLiteral("songsdb_debug")));
    LogCapture log;
    MainWindow w;
    QVERIFY(log.lines().contains(QStringLiteral("Error initializing DB !!!")));
    QVERIFY(!libraryModel(w));
    QCOMPARE(buttonStates(w), QStringLiteral("000"));
    // No workflow runs without the library.
    w.importUserLibrary();
    QVERIFY(!log.lines().contains(QStringLiteral("          IMPORT USER LIBRARY")));

    // Told once, after the window is shown.
    ModalScript script;
    script.okBox();
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
    QCOMPARE(buttonStates(w), QStringLiteral("000"));
}

void TestImport::screenshot()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    const QList<QStringList> library = {
        {"volare.mid", "Volare", "Domenico Modugno", "POP", "Migliacci", "200", "126"},
        {"azzurro.mp3", "Azzurro", "Adriano Celentano", "POP", "Conte", "214", "120"},
        {"caruso.mf3", "Caruso", "Lucio Dalla", "BALLAD", "Dalla", "301", "66"},
        {"estate.mf4", "Estate", "Bruno Martino", "JAZZ", "Martino", "245", "96"},
        {"senza_fine.mid", "Senza fine", "Gino Paoli", "BALLAD", "Paoli", "182", "72"},
        {"il_cielo.kar", "Il cielo in una stanza", "Mina", "POP", "Paoli", "170", "80"},
        {"sapore.mf5", "Sapore di sale", "Gino Paoli", "POP", "Paoli", "190", "110"},
        {"tintarella.mid", "Tintarella di luna", "Mina", "TWIST", "De Filippi", "150", "140"},
        {"nessuno.mp3", "Nessuno", "Mina", "ROCK", "Testa", "160", "150"},
        {"mare.mid", "Il mare d'inverno", "Loredana Berte", "POP", "Ruggeri", "240", "88"},
        {"gloria.mf3", "Gloria", "Umberto Tozzi", "DANCE", "Tozzi", "260", "128"},
        {"vita.mp3", "La vita e' bella", "Orchestra Tavrel", "LISCIO", "Tavrel", "205", "160"}};
    QStringList paths;
    for (const QStringList& s : library)
        paths << song(s[0], Details{s[1], s[2], s[3], s[4], s[5].toInt(), s[6].toInt(), true, {}});
    setCopyrightAsk(false);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    pickFiles(w, paths);
    QCOMPARE(libraryModel(w)->rowCount(), 12);
    QCoreApplication::processEvents();

    QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
    if (dir.isEmpty()) // the build folder, beside the test programs' folder
        dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots");
    QVERIFY(QDir().mkpath(dir));
    const QString path = QDir::cleanPath(QDir(dir).filePath(QStringLiteral("mainwindow-library.png")));
    QVERIFY(w.grab().save(path));
    qInfo("Screenshot saved to %s", qPrintable(path));
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
