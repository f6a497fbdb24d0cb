#include "windowtest.h"

#include "../index/songimages.h"

#include "index/index.h"
#include "library/memorylock.h"

#include <QLockFile>
#include <QtTest>

using namespace WindowTest;

// The transfer of the picked songs to a player memory, on a fake volumes
// folder: destination rules, the copy's outcome and the memory's index.
class TestTransfer : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QStringList sources;

    QString vol() const { return sandbox->path("volumes"); }
    QString card() const { return vol() + "/CARD"; }
    // Imports a.mf3 (ALFA) and b.mf3 (BETA), with z.mf3 (ZETA) already on the
    // memory, and transfers them to `chosen`; returns the message box's text.
    QString transfer(MainWindow& w, const QString& chosen, ModalScript& script)
    {
        importWithoutSummary(w, sources);
        w.setDirChooser([chosen](QWidget*, const QString&, const QString&) { return chosen; });
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        if (!script.done())
            return "unexpected " + script.unexpected.join(' ');
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
        sources = QStringList{sandbox->path("src/a.mf3"), sandbox->path("src/b.mf3")};
        QVERIFY(TestSongs::writeFile(sources[0], images::mfx("_MF3", 100, "Alfa", false, "Zed", "Pop")));
        QVERIFY(TestSongs::writeFile(sources[1], images::mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
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
            : "ALFA;ZED;" + rel + "/a.mf3;\nBETA;ZED;" + rel + "/b.mf3;\n";
        QCOMPARE(listOf(card()), "TITOLO;ARTISTA;FILE;\n" + copied + "ZETA;ABBA;/old/z.mf3;\n");
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
        const QString text = transfer(w, card() + "/live", script);
        QCOMPARE(text, QStringLiteral("Non è stato possibile copiare uno o più file"));
        QCOMPARE(details, "File non copiati:\n" + sources[1]);
        // The copied song joined the index after the songs already there.
        QCOMPARE(listOf(card()), QByteArray("TITOLO;ARTISTA;FILE;\nALFA;ZED;/live/a.mf3;\nZETA;ABBA;/old/z.mf3;\n"));
        QCOMPARE(images::readFile(card() + "/index.id3").mid(4, 12), QByteArray("/old/z.mf3\0\0", 12));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
