// The transfer onto memories as they really are, through the window and the
// command line: a FAT32 card, a card that fills up, a memory ejected
// afterwards.
#include "windowtest.h"

#include "../common/scratchmount.h"

#include "index/index.h"
#include "library/filecopier.h"

#include <QProcess>
#include <QtTest>

using namespace WindowTest;
using ScratchMount::Mount;

namespace {

// Presses the box's button of that text.
std::function<void(QWidget*)> pressButton(const QString& text)
{
    return [text](QWidget* w) {
        for (QAbstractButton* b : static_cast<QMessageBox*>(w)->buttons())
            if (b->text() == text)
                return b->click();
        static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    };
}

// The files of a folder, sorted, "name" or "name:size".
QStringList filesOf(const QString& dir, bool sizes = false)
{
    QStringList files;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
        files << (sizes ? f.fileName() + ':' + QString::number(f.size()) : f.fileName());
    return files;
}

struct Run
{
    int code = -1;
    QString out, err;
};

// The command line in English, as a user runs it.
Run cli(const QStringList& args)
{
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("LC_ALL", "C.UTF-8");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(ORVALO3_CLI, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return Run();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestMemoryCard : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;
    QString chooserStart;  // where the last folder chooser opened

    QString card() const { return sandbox->path("volumes/CARD"); }
    QString src(const QString& name) const { return sandbox->path("src/" + name); }
    // Picks `names` (made as songs of their format, `padding` after each, a
    // ".cdg" as graphics) and transfers the songs to the card's top folder.
    void transfer(MainWindow& w, const QStringList& names, const QByteArray& padding = QByteArray())
    {
        QStringList songs;
        for (const QString& name : names) {
            TestSongs::Details details;
            details.title = name.section('.', 0, 0);
            const QByteArray bytes = name.endsWith(".cdg") ? QByteArray("graphics")
                                                           : TestSongs::songFor(name, details) + padding;
            if (!TestSongs::writeFile(src(name), bytes))
                qFatal("cannot write %s", qPrintable(src(name)));
            if (!name.endsWith(".cdg"))
                songs << src(name);
        }
        importWithoutSummary(w, songs);
        w.setDirChooser([this](QWidget*, const QString&, const QString& start) {
            chooserStart = start;
            return card();
        });
        child<QToolButton>(&w, "transferFilesToolButton")->click();
    }

private slots:
    void init()
    {
        sandbox.reset(new Sandbox);
        setCopyrightAsk(false);
        qputenv("ORVALO3_VOLUMES_DIR", sandbox->path("volumes").toUtf8());
        QVERIFY(QDir().mkpath(card()));
    }
    void cleanup()
    {
        qunsetenv("ORVALO3_VOLUMES_DIR");
        qunsetenv("ORVALO3_SYSTEM_ROOT");
        sandbox.reset();
    }

    // Names FAT32 refuses or the player's Latin-1 index cannot hold get names
    // both take (fusefat itself takes ASCII names only); the player can open
    // every song, and the card's file system stays sound.
    void fat32Card()
    {
        Mount fat(card(), "fat32");
        if (!fat.mounted)
            QSKIP("no FAT32 image could be mounted here (needs /dev/fuse, fusefat and mkfs.vfat)");
        const QStringList names = {"Why? \"Live\" <1> a|b*c:d\\e\x01.mid", "Don\u2019t Stop \u2013 Live \u201c94\u201d.mid",
                                   "\u0391\u0393\u0391\u03a0\u0397.mid", "\u041f\u0440\u0438\u0432\u0435\u0442.kar",
                                   "Song.mid", "SONG.mid", "Karaoke: Night.mp3", "Karaoke: Night.cdg"};
        MainWindow w;
        ModalScript script;
        QString details;
        script.then("QMessageBox", [&details](QWidget* box) {
            details = static_cast<QMessageBox*>(box)->detailedText();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        transfer(w, names);
        VERIFY_SCRIPT(script);
        QCOMPARE(chooserStart, card());  // the chooser opens on the memory put in
        QCOMPARE(script.seen[0].text, QString("Tutti i file sono stati copiati correttamente"));
        QCOMPARE(filesOf(card() + "/songs"),
                 QStringList({"AGAPE.mid", "Don't Stop - Live '94'.mid", "Karaoke_ Night.cdg", "Karaoke_ Night.mp3",
                              "Privet.kar", "SONG (2).mid", "Song.mid", "Why_ _Live_ _1_ a_b_c_d_e_.mid"}));
        // The box names every song copied under another name.
        QCOMPARE(details.count(QString::fromUtf8(" \u2192 ")), 6);
        QVERIFY(details.contains(src("SONG.mid") + " \u2192 SONG (2).mid"));

        // The same songs again, through the command line.
        QStringList songs;
        for (const QString& name : names)
            if (!name.endsWith(".cdg"))
                songs << src(name);
        QVERIFY(QDir().mkpath(card() + "/cli"));
        const Run copy = cli(QStringList{"transfer"} + songs + QStringList{"--to", card() + "/cli"});
        QVERIFY2(copy.code == 0, qPrintable(copy.err));
        QVERIFY(copy.out.contains(src("Karaoke: Night.mp3") + ": copied as Karaoke_ Night.mp3\n"));
        QCOMPARE(filesOf(card() + "/cli"), filesOf(card() + "/songs"));

        const Run check = cli({"index", "check", card()});
        QCOMPARE(check.err, QString());
        QCOMPARE(check.out, "index of " + card() + " in order: 14 song files\n");
        QCOMPARE(fat.fsckProblems(), QByteArray());
    }

    // A card that fills up: room stays for the index twice over, no song is
    // left partly copied, the box lists the songs not copied and the index
    // holds the songs copied. Latin-1 names stay as they are.
    void fullCard()
    {
        Mount tmpfs(card(), "1m");
        if (!tmpfs.mounted)
            QSKIP("cannot mount a tmpfs here (it needs root)");
        const QByteArray padding(199 * 1024, 'p');  // five songs would leave no room for the index
        const QStringList names = {"Perché.mp3", "Perché.cdg", "b.mid", "c.mid", "d.mid", "e.mid", "f.mid"};
        MainWindow w;
        ModalScript script;
        QString details;
        script.then("QMessageBox", [&details](QWidget* box) {
            details = static_cast<QMessageBox*>(box)->detailedText();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        transfer(w, names, padding);
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen[0].text, QString("La memoria è piena: non tutte le song sono state copiate"));
        QCOMPARE(details, "File non copiati:\n" + src("e.mid") + ": la memoria è piena\n" + src("f.mid")
                              + ": la memoria è piena");
        QVERIFY(script.seen[0].info.startsWith("Copiati: 4\nNon copiati: 2\nL'indice della memoria è stato aggiornato."));

        // Whole songs only, in table order.
        QStringList whole;
        for (const QString& name : filesOf(card() + "/songs"))
            if (TestSongs::readFile(card() + "/songs/" + name) == TestSongs::readFile(src(name)))
                whole << name;
        QCOMPARE(whole, QStringList({"b.mid", "c.mid", "d.mid", "Perché.cdg", "Perché.mp3"}));
        QCOMPARE(filesOf(card() + "/songs").size(), whole.size());
        IndexReport report;
        QVERIFY2(Index().checkMemory(card(), report), qPrintable(report.reason));
        QCOMPARE(report.unplayableSongs, QStringList());

        // The command line says so too, and fails.
        const Run again = cli({"transfer", src("e.mid"), src("f.mid"), "--to", card()});
        QCOMPARE(again.code, 1);
        QCOMPARE(again.err, src("e.mid") + ": the memory is full\n" + src("f.mid") + ": the memory is full\n"
                 "orvalo3soft-cli: the memory " + card() + " is full: 2 songs were not copied\n");
        QCOMPARE(cli({"index", "check", card()}).code, 0);

        // A copy that runs out of room says so and leaves nothing behind.
        QString reason;
        bool full = false;
        QVERIFY(!FileCopier::copyFile(src("e.mid"), card() + "/songs/e.mid", &reason, &full));
        QVERIFY2(full, qPrintable(reason));
        QVERIFY(!QFile::exists(card() + "/songs/e.mid"));
    }

    // After a transfer that wrote, the box offers to eject a removable memory:
    // udisksctl (a stand-in recording its arguments) unmounts it and powers it off.
    void eject_data()
    {
        QTest::addColumn<QString>("udisksctl");  // the stand-in's answer; empty: none on the PATH
        QTest::addColumn<bool>("kept");          // the song is on the memory already and kept
        QTest::addColumn<QString>("message");    // the box after "Espelli la memoria"; empty: not offered
        QTest::addColumn<QString>("calls");
        QTest::newRow("ejected") << "exit 0" << false
                                 << "La memoria <card> è stata espulsa: ora può essere rimossa."
                                 << "unmount -b /dev/sdz1\npower-off -b /dev/sdz1\n";
        QTest::newRow("busy") << "echo 'Error unmounting /dev/sdz1: target is busy'; exit 1" << false
                              << "La memoria <card> non può essere espulsa perché è in uso: chiudere i programmi e le "
                                 "finestre che la usano e riprovare. Non rimuoverla prima."
                              << "unmount -b /dev/sdz1\n";
        QTest::newRow("no udisks") << "" << false << "Espellere la memoria <card> dal desktop prima di rimuoverla."
                                   << "";
        QTest::newRow("nothing written") << "exit 0" << true << "" << "";
    }
    void eject()
    {
        QFETCH(QString, udisksctl);
        QFETCH(bool, kept);
        QFETCH(QString, message);
        // The card is /dev/sdz1 in the system's mount table.
        const QString system = sandbox->path("system");
        QVERIFY(TestSongs::writeFile(system + "/proc/self/mountinfo",
                                     "40 1 8:1 / " + QFile::encodeName(card()) + " rw - vfat /dev/sdz1 rw\n"));
        qputenv("ORVALO3_SYSTEM_ROOT", QFile::encodeName(system));
        const QString bin = sandbox->path("bin"), calls = sandbox->path("calls");
        QVERIFY(QDir().mkpath(bin));
        if (!udisksctl.isEmpty()) {
            QVERIFY(TestSongs::writeFile(bin + "/udisksctl", ("#!/bin/sh\necho \"$*\" >> '" + calls + "'\n" + udisksctl + "\n").toUtf8()));
            QVERIFY(QFile::setPermissions(bin + "/udisksctl", QFile::ReadOwner | QFile::ExeOwner));
        }
        if (kept)
            QVERIFY(TestSongs::writeFile(card() + "/songs/a.mid", "kept"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));

        MainWindow w;
        ModalScript script;
        QStringList buttons;
        if (kept)
            script.answer(2);
        script.then("QMessageBox", [&buttons](QWidget* box) {
            for (QAbstractButton* b : static_cast<QMessageBox*>(box)->buttons())
                buttons << b->text();
            pressButton("Espelli la memoria")(box);
        });
        if (!message.isEmpty())
            script.box();
        transfer(w, {"a.mid"});
        qputenv("PATH", path);
        VERIFY_SCRIPT(script);
        QCOMPARE(buttons.contains("Espelli la memoria"), !message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(script.seen.last().text, message.replace("<card>", card()));
        QTEST(QString::fromUtf8(TestSongs::readFile(calls)), "calls");
    }
};

QTEST_MAIN(TestMemoryCard)
#include "tst_memorycard.moc"
