#include "windowtest.h"

#include "../index/songimages.h"

#include "index/index.h"
#include "library/memorylock.h"

#include <QLockFile>
#include <QtTest>

using namespace WindowTest;

// The transfer of the library's songs to a player memory, on a fake volumes
// folder: destination rules, the copy's outcome and the memory's index.
class TestTransfer : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QStringList sources;

    QString vol() const { return sandbox->path("volumes"); }
    QString card() const { return vol() + "/CARD"; }
    static QByteArray song(const QString& title) { return TestSongs::midiSong({title, "Zed", "Pop", {}, 100, 0, false, {}}); }
    // Imports a.mid (ALFA) and b.mid (BETA), with z.mf3 (ZETA) already on
    // the memory, and transfers them to `chosen`; returns the message box's
    // text, or what went wrong.
    QString transfer(MainWindow& w, const QString& chosen, ModalScript& script)
    {
        importWithoutSummary(w, sources);
        w.setDirChooser([chosen](QWidget*, const QString&, const QString&) { return chosen; });
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        if (!script.done())
            return "unexpected " + script.unexpected.join(' ');
        // A progress dialog left on screen would keep every click from the window.
        if (progressShown(w))
            return "progress shown";
        return script.seen.isEmpty() ? QString() : script.seen.last().text;
    }
    // The songs list of the memory's index, or an empty text when it has none.
    QByteArray listOf(const QString& root)
    {
        Index index;
        const QString list = sandbox->path("list.csv");
        return index.saveSongsList(root, list, SortTitle) == 1 ? images::readFile(list) : QByteArray();
    }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        setCopyrightAsk(false);
        qputenv("ORVALO3_VOLUMES_DIR", vol().toUtf8());
        sources = QStringList{sandbox->path("src/a.mid"), sandbox->path("src/b.mid")};
        QVERIFY(TestSongs::writeFile(sources[0], song("Alfa")));
        QVERIFY(TestSongs::writeFile(sources[1], song("Beta")));
        QVERIFY(TestSongs::writeFile(card() + "/old/z.mf3", images::mfx("_MF3", 100, "Zeta", false, "Abba", "Pop")));
    }
    void cleanup()
    {
        qunsetenv("ORVALO3_VOLUMES_DIR");
        sandbox.reset();
    }

    void destinations_data()
    {
        QTest::addColumn<QString>("chosen");   // below the volumes folder
        QTest::addColumn<QString>("copiedTo"); // below the volumes folder; empty when refused
        QTest::addColumn<QString>("message");

        const QString done = "Tutti i file sono stati copiati correttamente";
        const QString system = "Non è possibile copiare i file sul disco di sistema";
        const QString reserved = "Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono "
                                 "riservate per funzionalità specifiche di Tamsel, selezionare un'altra cartella";
        QTest::newRow("memory top folder") << "/CARD/" << "/CARD/songs" << done;
        QTest::newRow("deeper folder") << "/CARD/music/live" << "/CARD/music/live" << done;
        QTest::newRow("inside a reserved folder") << "/CARD/SFX/old" << "/CARD/SFX/old" << done;
        QTest::newRow("volumes folder") << "" << "" << system;
        QTest::newRow("reserved, any case") << "/CARD/Bridge" << "" << reserved;
        QTest::newRow("songs is a file") << "/CARD" << ""
            << "Non è possibile copiare i file sulla cartella principale, creare o selezionare una sottocartella";
        QTest::newRow("cancelled") << "CANCEL" << "" << "";
        // The player finds its songs by their Latin-1 paths and skips hidden folders.
        const QString unreadable = "Il lettore non sa leggere il nome della cartella \"%1\" (caratteri speciali o punto "
                                   "iniziale): selezionare o creare un'altra cartella";
        QTest::newRow("Greek folder name") << "/CARD/\u039a\u03b1\u03bb\u03cc/live" << ""
                                           << unreadable.arg("\u039a\u03b1\u03bb\u03cc");
        QTest::newRow("hidden folder") << "/CARD/.live" << "" << unreadable.arg(".live");
        // Another transfer or index run holds the memory.
        QTest::newRow("memory busy") << "/CARD/music/live" << "" << "Memoria occupata: un trasferimento o un "
            "aggiornamento del database è già in corso su questa memoria. Riprovare quando è terminato.";
    }

    void destinations()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, copiedTo);
        QFETCH(QString, message);
        const QString folder = chosen == "CANCEL" ? QString() : vol() + chosen;
        QVERIFY(folder.isEmpty() || QDir().mkpath(folder));
        if (QByteArray(QTest::currentDataTag()) == "songs is a file")
            QVERIFY(TestSongs::writeFile(card() + "/songs", QByteArray()));
        QLockFile otherRun(card() + '/' + MemoryLock::fileName());
        QVERIFY(QByteArray(QTest::currentDataTag()) != "memory busy" || otherRun.tryLock(0));
        MainWindow w;
        ModalScript script;
        if (!message.isEmpty())
            script.box();
        QCOMPARE(transfer(w, folder, script), message);
        for (const QString& source : sources)
            QCOMPARE(QFile::exists(vol() + copiedTo + "/" + source.section('/', -1)), !copiedTo.isEmpty());
        if (copiedTo.isEmpty()) {
            QVERIFY(!QFile::exists(card() + "/index.id3"));
            return;
        }
        // The memory's index lists the songs under their paths on the memory;
        // the reserved folders are never indexed.
        const QByteArray rel = copiedTo.mid(5).toUtf8(); // below /CARD
        const QByteArray copied = copiedTo.contains("/SFX") ? QByteArray()
            : "ALFA;ZED;" + rel + "/a.mid;\nBETA;ZED;" + rel + "/b.mid;\n";
        QCOMPARE(listOf(card()), "TITOLO;ARTISTA;FILE;\n" + copied + "ZETA;ABBA;/old/z.mf3;\n");
        QCOMPARE(script.seen.last().info, QString("Copiati: 2\nL'indice della memoria è stato aggiornato."));
    }

    void outcomes_data()
    {
        // Picked: a.mid, b.mid and c.mid; "=b.mid" puts a file of that name on
        // the memory beforehand, "-b.mid" takes the song off the list, "x"
        // picks the unreadable x.mid too.
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<int>>("answers"); // to the replace questions; 4: Interrompi, then Si
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("indexed"); // the titles the memory's index lists, besides ZETA
        QTest::newRow("nothing copied") << "=a.mid =b.mid =c.mid" << QList<int>{3}
            << "Nessun file è stato copiato: erano già tutti nella memoria"
            << "Copiati: 0\nGià nella memoria e mantenuti: 3\n"
               "Nessun file copiato: l'indice della memoria non è stato modificato." << "";
        // A stopped transfer still brings the index up to date with what it copied.
        QTest::newRow("stopped") << "=b.mid" << QList<int>{4} << "Trasferimento interrotto"
            << "Copiati: 2\nNon copiati per l'interruzione: 1\nL'indice della memoria è stato aggiornato."
            << "ALFA BETA";
        // What the table shows is what is transferred; what the import could not read is listed.
        QTest::newRow("unreadable, row taken off the list") << "x -b.mid" << QList<int>{}
            << "Non è stato possibile copiare uno o più file"
            << "Copiati: 2\nNon copiati: 1\nL'indice della memoria è stato aggiornato.\n\nFile non copiati:\n"
               "<src>/x.mid: non è stato possibile leggere il file" << "ALFA GAMMA";
    }

    void outcomes()
    {
        QFETCH(QString, setup);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(QString, report);
        QFETCH(QString, indexed);
        const QStringList titles = {"Alfa", "Beta", "Gamma"};
        QStringList picked;
        for (const QString& name : QStringList{"a.mid", "b.mid", "c.mid"}) {
            picked << sandbox->path("src/" + name);
            QVERIFY(TestSongs::writeFile(picked.last(), song(titles[picked.size() - 1])));
            if (setup.contains("=" + name))
                QVERIFY(TestSongs::writeFile(card() + "/songs/" + name, "kept"));
        }
        if (setup.contains('x')) {
            picked << sandbox->path("src/x.mid");
            QVERIFY(TestSongs::writeFile(picked.last(), "MThd, no song"));
        }
        MainWindow w;
        importWithoutSummary(w, picked);
        if (setup.contains("-b.mid"))
            QVERIFY(libraryModel(w)->removeRows(1, 1) && libraryModel(w)->select());
        ModalScript script;
        for (int a : answers)
            script.answer(a, &w);
        script.box();
        w.setDirChooser([this](QWidget*, const QString&, const QString&) { return card(); });
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.last().text, message);
        QCOMPARE(script.seen.last().info, QString(report).replace("<src>", sandbox->path("src")));
        QVERIFY(!progressShown(w));
        // Kept files are untouched; the index lists exactly the songs copied.
        for (const QString& name : QStringList{"a.mid", "b.mid", "c.mid"})
            if (setup.contains("=" + name) && !answers.contains(4))
                QCOMPARE(images::readFile(card() + "/songs/" + name), QByteArray("kept"));
        QVERIFY(!QFile::exists(card() + "/songs/x.mid"));
        QCOMPARE(QFile::exists(card() + "/songs/b.mid"), !setup.contains("-b.mid"));
        QStringList listed;
        for (const QString& line : QString::fromLatin1(listOf(card())).split('\n', Qt::SkipEmptyParts).mid(1))
            if (!line.startsWith("ZETA"))
                listed << line.section(';', 0, 0);
        QCOMPARE(listed.join(' '), indexed);
    }

    void failuresListedAndIndexUpdated()
    {
        // An older index on the memory; a picked file vanishes after the
        // import, so its copy fails.
        QVERIFY(Index().createIndex(card()));
        QVERIFY(QDir().mkpath(card() + "/live"));
        MainWindow w;
        importWithoutSummary(w, sources);
        QVERIFY(QFile::remove(sources[1]));
        ModalScript script;
        QString details;
        script.then("QMessageBox", [&details](QWidget* box) {
            details = static_cast<QMessageBox*>(box)->detailedText();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        w.setDirChooser([this](QWidget*, const QString&, const QString&) { return card() + "/live"; });
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen[0].text, QStringLiteral("Non è stato possibile copiare uno o più file"));
        QCOMPARE(details, "File non copiati:\n" + sources[1] + ": il file non esiste più");
        // The copied song joined the index after the songs already there.
        QCOMPARE(listOf(card()), QByteArray("TITOLO;ARTISTA;FILE;\nALFA;ZED;/live/a.mid;\nZETA;ABBA;/old/z.mf3;\n"));
        QCOMPARE(images::readFile(card() + "/index.id3").mid(4, 12), QByteArray("/old/z.mf3\0\0", 12));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
