#include "windowtest.h"

#include "app/stylesheet.h"

#include <QPushButton>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// The library import as the user runs it from the main window.
class TestImport : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;

    QString song(const QString& name, const QByteArray& data)
    {
        const QString path = sandbox->path("songs/" + name);
        if (!writeFile(path, data))
            qFatal("cannot write a test song");
        return path;
    }
    // Imports files pressing `buttons` in the summary; returns its text.
    static QString importAnswering(MainWindow& w, const QStringList& files, const QString& buttons = "noPushButton")
    {
        ModalScript script;
        script.press("ProceedDialog", buttons);
        pickFiles(w, files);
        return script.done() ? script.seen[0].title + ": " + script.seen[0].text : "no summary";
    }
    // "1" or "0" for the import, synchronisation and transfer buttons.
    static QString buttonStates(MainWindow& w)
    {
        QString states;
        for (const char* name : {"selectDirToolButton", "updateDataToolButton", "transferFilesToolButton"})
            states += child<QToolButton>(&w, name)->isEnabled() ? '1' : '0';
        return states;
    }

private slots:
    void init() { sandbox.reset(new Sandbox); }
    void cleanup() { sandbox.reset(); qApp->setStyleSheet(QString()); }

    void rows_data()
    {
        // Files named t* are the maker's songs, o* other songs, x* unreadable.
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("rows"); // type|title|length|file name of each row
        QTest::addColumn<QString>("counts"); // of the summary: files, songs, the maker's
        QTest::newRow("every format") << QStringList{"t1.mid", "o2.mid", "o3.kar", "T4.MID", "o5.mf3", "o6.mf4",
                                                     "o7.mf5", "t8.mp3", "o9.mp3", "d'autore/t 10.mid"}
            << "MIDI|t1|03:05|t1.mid MIDI|o2|03:05|o2.mid MIDI|o3|03:05|o3.kar MIDI|T4|03:05|T4.MID "
               "MF3|o5|03:05|o5.mf3 MF4|o6|03:05|o6.mf4 MF5|o7|03:05|o7.mf5 MP3|t8|03:05|t8.mp3 MP3|o9|03:05|o9.mp3 "
               "MIDI|t 10|03:05|t 10.mid"
            << "10 10 7";
        // A cancelled choice changes nothing. Damaged MIDI, a WAV, MP3 bytes under another name, a damaged MFx
        // payload, an empty file, a file gone since it was picked.
        QTest::newRow("unreadable") << QStringList{"x1.mid", "x2.mp3", "o3.mid", "x4.mid", "x5.mf4", "x6.mid", "x7.mid"}
                                    << "MIDI|o3|03:05|o3.mid" << "7 1 0";
        QTest::newRow("chooser cancelled") << QStringList() << "" << "";
    }

    void rows()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, rows);
        QFETCH(QString, counts);
        const QList<QByteArray> unreadable = {midiSong({}).left(20), QByteArray("RIFF\0\0\0\0WAVEfmt ", 16),
                                              mp3Song({}), mfxSong("_MF4", {}).left(530), QByteArray()};
        QStringList paths;
        int x = 0;
        for (const QString& name : names) {
            const QString title = QFileInfo(name).completeBaseName();
            const bool tavrel = title.startsWith('t', Qt::CaseInsensitive);
            const Details d{title, "Modugno", "POP", "Migliacci", 185, 126, tavrel, {}};
            if (!name.startsWith('x'))
                paths << song(name, songFor(name, d));
            else
                paths << (x < unreadable.size() ? song(name, unreadable[x++]) : sandbox->path(name));
        }
        MainWindow w;
        const QStringList n = counts.split(' ');
        const QString summary = "Riassunto importazione: Sono stati esaminti %1 files, trovate %2 songs di cui %3 di "
                                "(c)Tavrel";
        QCOMPARE(importAnswering(w, paths), n.size() < 3 ? "no summary" : summary.arg(n[0], n[1], n[2]));
        QStringList shown;
        QAbstractItemModel* model = libraryModel(w);
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c : {1, 2, 6, 10})
                cells << model->index(r, c).data().toString();
            shown << cells.join('|');
        }
        QCOMPARE(shown.join(' '), rows);
    }

    // A copy an interrupted save left beside a song is shown before the summary.
    void leftoverCopy()
    {
        const QStringList paths{song("a.mid", midi("a", true)), song("b.mid", midi("b", true))};
        const QString copy = sandbox->path("songs/.b.mid.orvalo3-copy");
        QVERIFY(writeFile(copy, midi("b", true)));
        MainWindow w;
        ModalScript script;
        script.box().press("ProceedDialog", "noPushButton");
        pickFiles(w, paths);
        QVERIFY(script.done());
        QCOMPARE(script.seen[0].title, QString("Importazione"));
        QCOMPARE(script.seen[0].info, "Copie lasciate:\n" + QDir::toNativeSeparators(copy));
        QVERIFY(QFile::exists(copy));
    }

    void buttonStates_data()
    {
        // The button pressed in the import summary ("off": none shown), then in the backup offer.
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("states");
        QTest::newRow("after construction") << "" << "100";
        QTest::newRow("summary answered No") << "noPushButton" << "111";
        QTest::newRow("no summary") << "off" << "111";
        QTest::newRow("synchronisation of an empty library") << "yesPushButton" << "111";
        QTest::newRow("synchronisation run to its end") << "yesPushButton exitPushButton" << "101";
        QTest::newRow("table not emptied") << "off" << "101";
    }

    void buttonStates()
    {
        QFETCH(QString, answers);
        QFETCH(QString, states);
        const QString tag = QTest::currentDataTag();
        QStringList songs = {song("a.mid", midi("Azzurro", true)), song("b.mid", midi("Azzurro", true))};
        if (tag.contains("empty library"))
            songs = QStringList{song("broken.mid", "MThd")};
        setCopyrightAsk(answers != "off");
        MainWindow w;
        if (tag == "table not emptied") {
            // The library refuses to be emptied: the first import, into an empty
            // table, goes through and the second is refused.
            QSqlQuery trigger(QSqlDatabase::database("con_mem"));
            QVERIFY(trigger.exec("create trigger keep before delete on usersongs "
                                 "begin select raise(abort, 'kept'); end"));
            pickFiles(w, songs);
            songs.removeLast();
        }
        ModalScript script;
        const QStringList pressed = answers == "off" ? QStringList() : answers.split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i < pressed.size(); ++i)
            script.press(i == 0 ? "ProceedDialog" : "BackupDialog", pressed[i]);
        if (pressed.size() > 1)
            script.box(); // the synchronisation's report
        if (tag != "after construction")
            pickFiles(w, songs);
        VERIFY_SCRIPT(script);
        QCOMPARE(buttonStates(w), states);
        if (tag == "table not emptied")
            QCOMPARE(libraryModel(w)->rowCount(), 2);
    }

    void stop()
    {
        QStringList songs;
        for (int i = 0; i < 30; ++i)
            songs << song(QString("song%1.mid").arg(i), midiSong({}));
        MainWindow w;
        importWithoutSummary(w, songs.mid(0, 3));
        // "Interrompi" is pressed while the first file is read: the import
        // stops after it, with every workflow button disabled meanwhile.
        QStringList during;
        QTimer::singleShot(0, [&] {
            QProgressDialog* progress = w.findChildren<QProgressDialog*>().last();
            QPushButton* stop = progress->findChild<QPushButton*>();
            during << buttonStates(w) << progress->findChild<QLabel*>()->text() << stop->text()
                   << (progress->isVisible() ? "shown" : "hidden");
            stop->click();
        });
        const QString summary = importAnswering(w, songs);
        // Shown from the start: until then its modality would not hold the window back.
        QCOMPARE(during, QStringList({"000", "1 di 30", "Interrompi", "shown"}));
        QCOMPARE(summary, "Riassunto importazione: Sono stati esaminti 1 files, trovate 1 songs di cui 0 di (c)Tavrel");
        QCOMPARE(libraryModel(w)->rowCount(), 1);
        QCOMPARE(libraryModel(w)->fileName(0), songs[0]);
        QCOMPARE(buttonStates(w), QString("111"));
        QVERIFY(!progressShown(w));
    }

    void longTitle()
    {
        // A title and an artist that together are wider than the window.
        const QString title = QString("Un titolo lunghissimo ").repeated(5).trimmed();
        const QString artist = QString("Orchestra ").repeated(10).trimmed();
        setCopyrightAsk(false);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pickFiles(w, {song("long.mid", midiSong({title, artist, "POP", "Migliacci", 185, 126, true, {}}))});
        // Every shown column, the file name and the status included, stays in view.
        auto* view = child<QTableView>(&w, "userLibraryTableView");
        int shown = 0;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            if (view->isColumnHidden(column))
                continue;
            ++shown;
            QVERIFY2(view->columnViewportPosition(column) + view->columnWidth(column) <= view->viewport()->width(),
                     qPrintable(view->model()->headerData(column, Qt::Horizontal).toString()));
            QVERIFY(view->columnWidth(column) > 20);
        }
        QCOMPARE(shown, 10);
        // The cut text is whole in the tooltip; a wider window gives it more room.
        QCOMPARE(view->model()->index(0, 2).data(Qt::ToolTipRole).toString(), title);
        const int narrow = view->columnWidth(2);
        w.resize(w.width() + 300, w.height());
        QTRY_VERIFY(view->columnWidth(2) > narrow);
    }

    void screenshot()
    {
        // A library of a dozen songs of every format, in the styled window.
        const QStringList artists = {"Domenico Modugno", "Mina", "Lucio Dalla", "Gino Paoli", "Orchestra Tavrel"};
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            const QString name = QString("song%1.%2").arg(i).arg(QStringList{"mid", "mp3", "mf3", "mf4"}[i % 4]);
            paths << song(name, songFor(name, {QString("Canzone numero %1").arg(i + 1), artists[i % 5], "POP",
                                               artists[(i + 2) % 5], 150 + 13 * i, 66 + 7 * i, true, {}}));
        }
        setCopyrightAsk(false);
        QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pickFiles(w, paths);

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
