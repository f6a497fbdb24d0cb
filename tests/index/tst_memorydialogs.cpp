// The optimize-memory and songs list dialogs on a fake volumes folder: which
// folder gets the index, the files written and the box that tells the outcome.
#include "messageboxdriver.h"
#include "songimages.h"

#include "index/index.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "resources/appresources.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

using namespace images;

namespace {
template <typename T> T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

// Clicks the start button and answers the box the run shows.
SeenBox pressStart(QDialog& dialog, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SeenBox box;
    answerNextBox(&box);
    QTest::mouseClick(child<QPushButton>(&dialog, "pushButtonStart"), Qt::LeftButton, modifiers);
    return box;
}

const QString done = QStringLiteral("Operazione completata con successo");
const QString failed = QStringLiteral("Operazione non riuscita.\nAssicurarsi che il disco abbia sufficiente "
                                      "spazio libero e che non sia protetto da scrittura.");
const QString noSongs = QStringLiteral("Nessun file di song trovato nella memoria");
const QString tooLong = QStringLiteral("File non importato, path troppo lungo: ");
}

class TestMemoryDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        initAppResources();
        // Return reaches the browse button; a real folder chooser would wait forever.
        IndexDialog::setFolderChooser([](QWidget*, const QString&, const QString&) { return QString(); });
    }
    // The volumes folder is a scratch memory; the player memory is its "/CARD".
    void init()
    {
        volumes.reset(new Memory);
        qputenv("ORVALO3_VOLUMES_DIR", volumes->root().toUtf8());
        QVERIFY(volumes->add("/CARD/Music/Pop/a.mf3", mfx("_MF3", 100, "Alfa; uno", false, "Zed", "Pop")));
        QVERIFY(volumes->add("/CARD/b.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    }

    void optimizeStart_data()
    {
        QTest::addColumn<QString>("field");     // below the volumes folder; "outside" for a folder elsewhere
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("key");           // typed on the start button instead of a click
        QTest::addColumn<QString>("indexed");   // below the volumes folder; empty: nothing indexed
        QTest::addColumn<QString>("message");
        QTest::newRow("root of the memory") << "/CARD/Music/Pop" << int(Qt::NoModifier) << 0 << "/CARD" << done;
        QTest::newRow("Shift: the folder itself") << "/CARD/Music/Pop" << int(Qt::ShiftModifier) << 0
                                                  << "/CARD/Music/Pop" << done;
        QTest::newRow("Shift with Control: the root") << "/CARD/Music/Pop/" << int(Qt::ShiftModifier | Qt::ControlModifier)
                                                      << 0 << "/CARD" << done;
        QTest::newRow("outside the volumes") << "outside" << 0 << 0 << "" << "Il percorso selezionato non esiste";
        QTest::newRow("space key") << "/CARD" << 0 << int(Qt::Key_Space) << "" << "";
        QTest::newRow("return key") << "/CARD" << 0 << int(Qt::Key_Return) << "" << "";
    }
    void optimizeStart()
    {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(QString, indexed);
        QTemporaryDir outside;
        QVERIFY(QFile::copy(volumes->file("/CARD/b.mf3"), outside.path() + "/c.mf3"));
        IndexDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QLineEdit>(&dialog, "lineEditPath")->setText(field == "outside" ? outside.path() : volumes->file(field));
        SeenBox box;
        if (key) {
            auto* start = child<QPushButton>(&dialog, "pushButtonStart");
            start->setFocus();
            QTest::keyClick(start, Qt::Key(key));
            QTest::qWait(50);
        } else {
            QFETCH(int, modifiers);
            box = pressStart(dialog, Qt::KeyboardModifiers(modifiers));
        }
        QTEST(box.text, "message");
        for (const QString& dir : {volumes->file("/CARD"), volumes->file("/CARD/Music/Pop"), outside.path()})
            QCOMPARE(QFile::exists(dir + "/index.id3"), !indexed.isEmpty() && dir == volumes->file(indexed));
    }

    void optimizeOutcomes_data()
    {
        QTest::addColumn<QString>("memory");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("report");   // the lines between the first and the last
        const QString errors = QStringLiteral("Durante l'operazione si sono verificati alcuni errori.\n"
                                              "Consultare il report per maggiori informazioni.");
        QTest::newRow("rebuild, path too long") << "long" << true << errors << tooLong;
        QTest::newRow("update, path too long") << "long" << false << errors << tooLong;
        QTest::newRow("rebuild of an empty memory") << "empty" << true << failed << noSongs;
        // The old index would list songs that are gone: it goes, as in a rebuild.
        QTest::newRow("update of an emptied memory") << "emptied" << false << failed << noSongs;
    }
    void optimizeOutcomes()
    {
        QFETCH(QString, memory);
        QFETCH(bool, rebuild);
        QFETCH(QString, report);
        const QString card = volumes->file("/CARD");
        if (memory == "emptied")
            QVERIFY(Index().createIndex(card));
        if (memory != "long")
            QVERIFY(QDir(card).removeRecursively() && QDir().mkpath(card + "/Music"));
        const QString longPath = "/CARD/" + QString(200, 'd') + "/" + QString(55, 's') + ".mid";
        if (memory == "long")
            QVERIFY(volumes->add(longPath, midi(QByteArray())));

        IndexDialog dialog;
        dialog.show();
        child<QLineEdit>(&dialog, "lineEditPath")->setText(card + "/");
        child<QRadioButton>(&dialog, rebuild ? "radioButtonRebuild" : "radioButtonUpdate")->setChecked(true);
        QTEST(pressStart(dialog).text, "message");
        QCOMPARE(QFile::exists(card + "/index.id3"), memory == "long");
        QStringList lines = child<QPlainTextEdit>(&dialog, "plainTextReport")->toPlainText().split('\n');
        QCOMPARE(lines.takeFirst(), QStringLiteral("Ottimizzazione memoria in corso..."));
        QCOMPARE(lines.takeLast(), QStringLiteral("Operazione completata"));
        QCOMPARE(lines, QStringList(memory == "long" ? report + volumes->file(longPath) : report));
        auto* bar = child<QProgressBar>(&dialog, "progressBar");
        QCOMPARE(bar->value() == 0 && bar->maximum() == 100, memory != "long");
    }

    void songsList_data()
    {
        QTest::addColumn<QString>("src");      // below the volumes folder
        QTest::addColumn<QString>("dest");     // below the volumes folder, or absolute
        QTest::addColumn<int>("sort");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("content");   // "absent": no file; "-": not read
        // The ";" inside a title is written as it is.
        const QByteArray byTitle = "ALFA; UNO;ZED;/Music/Pop/a.mf3;\nBETA;ZED;/b.mf3;\nMEZZO;ABBA;/m.mf4;\n";
        const QByteArray caption = "TITOLO;ARTISTA;FILE;\n";
        const QString cannot = QStringLiteral("Errore durante la creazione del file");
        QTest::newRow("by title") << "/CARD" << "list.csv" << 0 << "" << "Operazione completata" << caption + byTitle;
        QTest::newRow("by artist") << "/CARD" << "list.csv" << 1 << "" << "Operazione completata"
            << caption + "MEZZO;ABBA;/m.mf4;\nALFA; UNO;ZED;/Music/Pop/a.mf3;\nBETA;ZED;/b.mf3;\n";
        QTest::newRow("English") << "/CARD" << "list.csv" << 0 << "english" << "Operation completed"
                                 << "TITLE;ARTIST;FILE;\n" + byTitle;
        // The memory folder is used as it is: its index files must lie in it.
        QTest::newRow("one level too deep") << "/CARD/Music" << "list.csv" << 0 << ""
            << "Impossibile proseguire, la memoria non è preparata per Orvalo" << QByteArray("");
        QTest::newRow("short title record") << "/CARD" << "list.csv" << 0 << "cut" << cannot << QByteArray("");
        // A memory that fills up must not pass for a written list.
        QTest::newRow("destination full") << "/CARD" << "/dev/full" << 0 << "" << cannot << QByteArray("-");
        QTest::newRow("memory missing") << "/missing" << "list.csv" << 0 << ""
                                        << "Il percorso selezionato non esiste" << QByteArray("absent");
        QTest::newRow("destination folder missing") << "/CARD" << "missing/list.csv" << 0 << ""
                                                    << "Il percorso di destinazione non esiste" << QByteArray("absent");
    }
    void songsList()
    {
        QFETCH(QString, dest);
        QFETCH(QString, change);
        QFETCH(QByteArray, content);
        if (dest.startsWith('/') && !QFileInfo::exists(dest))
            QSKIP("no /dev/full here");
        QVERIFY(volumes->add("/CARD/m.mf4", mfx("_MF4", 90, "Mezzo", true, "Abba", "Rock")));
        QVERIFY(Index().createIndex(volumes->file("/CARD")));
        QFile title(volumes->file("/CARD/title.id3"));
        QVERIFY(change != "cut" || title.resize(title.size() - 1));
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/trans/orvalo3soft_en")));
        if (change == "english")
            QCoreApplication::installTranslator(&english);

        SongsListDialog dialog;
        dialog.show();
        QFETCH(QString, src);
        QFETCH(int, sort);
        child<QLineEdit>(&dialog, "lineEditSrc")->setText(volumes->file(src));
        const QString list = dest.startsWith('/') ? dest : volumes->file("/" + dest);
        child<QLineEdit>(&dialog, "lineEditDest")->setText(list);
        child<QComboBox>(&dialog, "comboBoxSort")->setCurrentIndex(sort);
        const SeenBox box = pressStart(dialog);
        QCoreApplication::removeTranslator(&english);
        QTEST(box.text, "message");
        if (content == "absent")
            QVERIFY(!QFileInfo::exists(list));
        else if (content != "-")
            QCOMPARE(readFile(list), content);
    }

private:
    QScopedPointer<Memory> volumes;
};

QTEST_MAIN(TestMemoryDialogs)
#include "tst_memorydialogs.moc"
