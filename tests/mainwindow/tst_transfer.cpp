// The transfer of the picked songs to a player memory, on a fake volumes
// folder: destination rules, the copy's outcome and the memory's index.
#include "../index/messageboxdriver.h"
#include "../index/songimages.h"

#include "app/settingskeys.h"
#include "index/index.h"
#include "mainwindow/mainwindow.h"
#include "resources/appresources.h"

#include <QAction>
#include <QSettings>
#include <QToolButton>
#include <QtTest>

// Answers every modal window of one transfer: message boxes with OK (what
// they said is kept), the overwrite question with "No tutti".
class Answerer : public QObject
{
public:
    Answerer()
    {
        connect(&timer, &QTimer::timeout, this, [this]() {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || w->property("answered").toBool())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                w->setProperty("answered", true);
                boxes << SeenBox{box->windowTitle(), box->text(), box->detailedText(), box->icon()};
                box->button(QMessageBox::Ok)->click();
            } else if (QAbstractButton* noAll = w->findChild<QAbstractButton*>(QStringLiteral("noAllPushButton"))) {
                w->setProperty("answered", true);
                ++questions;
                noAll->click();
            }
        });
        timer.start(5);
    }
    QList<SeenBox> boxes;
    int questions = 0;

private:
    QTimer timer;
};

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void destinations_data();
    void destinations();
    void nothingCopiedNoIndexUpdate();
    void failuresListedAndIndexUpdated();
    void menuActionsOpenTheDialogs();

private:
    QString vol() const { return volumes->path(); }
    QString card() const { return vol() + QStringLiteral("/CARD"); }
    // Picks a.mf3 (ALFA) and b.mf3 (BETA) from a source folder and imports them.
    void importSongs(MainWindow& w);
    QList<SeenBox> transfer(MainWindow& w, const QString& chosen, int* questions = nullptr);
    // The songs list of the memory's index, or an empty text when it has none.
    QByteArray listOf(const QString& root);

    QTemporaryDir configDir;
    QString startDir;
    QScopedPointer<QTemporaryDir> volumes;
    QScopedPointer<QTemporaryDir> work;
    QStringList sources;
    QStringList lastAsked;   // caption and start folder of the last folder chooser
};

void TestTransfer::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
        .setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
    initAppResources();
    startDir = QDir::currentPath();
}

void TestTransfer::init()
{
    volumes.reset(new QTemporaryDir);
    work.reset(new QTemporaryDir);
    QVERIFY(volumes->isValid() && work->isValid());
    QVERIFY(QDir::setCurrent(work->path()));
    qputenv("ORVALO3_VOLUMES_DIR", vol().toUtf8());
    QVERIFY(QDir().mkpath(card()));
    sources = QStringList{work->path() + "/src/a.mf3", work->path() + "/src/b.mf3"};
    QVERIFY(QDir().mkpath(work->path() + "/src"));
    const QByteArray titles[] = {"Alfa", "Beta"};
    for (int i = 0; i < 2; ++i) {
        QFile f(sources[i]);
        const QByteArray song = images::mfx("_MF3", 100, titles[i], false, "Zed", "Pop");
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(song) == song.size());
    }
}

void TestTransfer::cleanup()
{
    qunsetenv("ORVALO3_VOLUMES_DIR");
    QDir::setCurrent(startDir);
    volumes.reset();
    work.reset();
}

void TestTransfer::importSongs(MainWindow& w)
{
    const QStringList picked = sources;
    w.setFileChooser([picked](QWidget*, const QString&, const QString&, const QString&) { return picked; });
    w.findChild<QToolButton*>(QStringLiteral("selectDirToolButton"))->click();
}

QList<SeenBox> TestTransfer::transfer(MainWindow& w, const QString& chosen, int* questions)
{
    QStringList& asked = lastAsked;
    asked.clear();
    w.setDirChooser([&asked, chosen](QWidget*, const QString& caption, const QString& dir) {
        asked << caption << dir;
        return chosen;
    });
    Answerer answerer;
    w.findChild<QToolButton*>(QStringLiteral("transferFilesToolButton"))->click();
    if (questions)
        *questions = answerer.questions;
    return answerer.boxes;
}

QByteArray TestTransfer::listOf(const QString& root)
{
    const QString list = work->path() + "/list.csv";
    Index index;
    return index.saveSongsList(root, list, SortTitle) == 1 ? images::readFile(list) : QByteArray();
}

void TestTransfer::destinations_data()
{
    QTest::addColumn<QString>("chosen");   // below the volumes folder; "OUT" for a folder outside it
    QTest::addColumn<QString>("copiedTo"); // below the volumes folder; empty when refused
    QTest::addColumn<QString>("message");

    const QString done = QStringLiteral("Tutti i file sono stati copiati correttamente");
    const QString system = QStringLiteral("Non è possibile copiare i file sul disco di sistema");
    const QString reserved = QStringLiteral("Non è possibile utilizzare le cartelle BRIDGE, SFX e PLAYLIST perchè sono "
                                            "riservate per funzionalità specifiche di Tamsel, selezionare un'altra cartella");
    QTest::newRow("memory top folder") << "/CARD" << "/CARD/songs" << done;
    QTest::newRow("top folder with slash") << "/CARD/" << "/CARD/songs" << done;
    QTest::newRow("existing songs folder") << "/CARD/songs" << "/CARD/songs" << done;
    QTest::newRow("deeper folder") << "/CARD/music/live" << "/CARD/music/live" << done;
    QTest::newRow("inside a reserved folder") << "/CARD/SFX/old" << "/CARD/SFX/old" << done;
    QTest::newRow("volumes folder") << "" << "" << system;
    QTest::newRow("outside the volumes") << "OUT" << "" << system;
    QTest::newRow("Bridge") << "/CARD/Bridge" << "" << reserved;
    QTest::newRow("playlist") << "/CARD/playlist" << "" << reserved;
    QTest::newRow("sfx") << "/CARD/sfx" << "" << reserved;
    QTest::newRow("songs is a file") << "/CARD" << ""
        << "Non è possibile copiare i file sulla cartella principale, creare o selezionare una sottocartella";
    QTest::newRow("cancelled") << "CANCEL" << "" << "";
}

void TestTransfer::destinations()
{
    QFETCH(QString, chosen);
    QFETCH(QString, copiedTo);
    QFETCH(QString, message);

    QString folder = vol() + chosen;
    if (chosen == "OUT")
        folder = work->path() + "/out";
    else if (chosen == "CANCEL")
        folder.clear();
    if (!folder.isEmpty())
        QVERIFY(QDir().mkpath(folder));
    // A song already on the memory, not yet indexed.
    QVERIFY(QDir().mkpath(card() + "/old"));
    QFile other(card() + "/old/z.mf3");
    const QByteArray song = images::mfx("_MF3", 100, "Zeta", false, "Abba", "Pop");
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write(song) == song.size());
    other.close();
    if (QByteArray(QTest::currentDataTag()) == "songs is a file") {
        QFile songs(card() + "/songs");
        QVERIFY(songs.open(QIODevice::WriteOnly));
    }

    MainWindow w;
    importSongs(w);
    const QList<SeenBox> boxes = transfer(w, folder);

    QCOMPARE(lastAsked, (QStringList{"Scegli cartella", vol()}));
    QCOMPARE(boxes.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(boxes[0].title, QStringLiteral("Trasferimento"));
        QCOMPARE(boxes[0].text, message);
        QCOMPARE(boxes[0].icon, copiedTo.isEmpty() ? QMessageBox::Warning : QMessageBox::Information);
    }
    for (const QString& source : sources) {
        const QString name = source.section('/', -1);
        QCOMPARE(QFile::exists(vol() + copiedTo + "/" + name), !copiedTo.isEmpty());
        QVERIFY(!QFile::exists(card() + "/" + name));
    }
    if (copiedTo.isEmpty()) {
        QVERIFY(!QFile::exists(card() + "/index.id3"));
    } else {
        // The memory's index lists the songs under their paths on the memory;
        // the reserved folders are never indexed.
        const QByteArray rel = copiedTo.mid(5).toUtf8();   // below /CARD
        const QByteArray copied = copiedTo.contains("/SFX") ? QByteArray()
            : "ALFA;ZED;" + rel + "/a.mf3;\nBETA;ZED;" + rel + "/b.mf3;\n";
        QCOMPARE(listOf(card()), "TITOLO;ARTISTA;FILE;\n" + copied + "ZETA;ABBA;/old/z.mf3;\n");
    }
    QVERIFY(w.findChild<QToolButton*>(QStringLiteral("transferFilesToolButton"))->isEnabled());
    QVERIFY(!w.findChild<QToolButton*>(QStringLiteral("updateDataToolButton"))->isEnabled());
}

void TestTransfer::nothingCopiedNoIndexUpdate()
{
    QVERIFY(QDir().mkpath(card() + "/songs"));
    for (const QString& source : sources)
        QVERIFY(QFile::copy(source, card() + "/songs/" + source.section('/', -1)));
    MainWindow w;
    importSongs(w);
    int questions = 0;
    const QList<SeenBox> boxes = transfer(w, card(), &questions);
    QCOMPARE(questions, 1);   // "No tutti" keeps both
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("Tutti i file sono stati copiati correttamente"));
    QVERIFY(!QFile::exists(card() + "/index.id3"));
}

void TestTransfer::failuresListedAndIndexUpdated()
{
    // An older index on the memory with one song; a picked file vanishes
    // after the import, so its copy fails.
    QVERIFY(QDir().mkpath(card() + "/old"));
    QFile old(card() + "/old/z.mf3");
    const QByteArray song = images::mfx("_MF3", 100, "Zeta", false, "Abba", "Pop");
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(song) == song.size());
    old.close();
    Index first;
    QVERIFY(first.createIndex(card()));

    QVERIFY(QDir().mkpath(card() + "/live"));
    MainWindow w;
    importSongs(w);
    QVERIFY(QFile::remove(sources[1]));
    const QList<SeenBox> boxes = transfer(w, card() + "/live");

    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes[0].title, QStringLiteral("Trasferimento"));
    QCOMPARE(boxes[0].text, QStringLiteral("Non è stato possibile copiare uno o più file"));
    QCOMPARE(boxes[0].detailedText, QStringLiteral("File non copiati:\n") + sources[1]);
    // The copied song joined the index after the songs already there.
    QCOMPARE(listOf(card()), QByteArray("TITOLO;ARTISTA;FILE;\nALFA;ZED;/live/a.mf3;\nZETA;ABBA;/old/z.mf3;\n"));
    QCOMPARE(images::readFile(card() + "/index.id3").mid(4, 12), QByteArray("/old/z.mf3\0\0", 12));
}

void TestTransfer::menuActionsOpenTheDialogs()
{
    MainWindow w;
    for (const char* action : {"optimizeMemory", "actionSongsList"}) {
        QString opened;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&opened]() {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = QString::fromLatin1(d->metaObject()->className());
                d->reject();
            }
        });
        poll.start(5);
        QTimer::singleShot(5000, [&poll]() { poll.stop(); });   // a dialog that never opens
        w.findChild<QAction*>(QLatin1String(action))->trigger();
        QCOMPARE(opened, QString::fromLatin1(action[0] == 'o' ? "IndexDialog" : "SongsListDialog"));
    }
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
