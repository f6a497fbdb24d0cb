// The memory dialogs on a fake volumes folder: files written and the outcome box.
#include "songimages.h"

#include "index/index.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "library/memorylock.h"
#include "resources/appresources.h"

#include <QComboBox>
#include <QMessageBox>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTranslator>
#include <QtTest>

using namespace images;

namespace {
template <typename T> T* child(QWidget* w, const char* name) { return w->findChild<T*>(QLatin1String(name)); }

// Clicks the start button and answers, from inside its own event loop, the box
// the run shows; a box that never comes ends the test by QtTest's watchdog.
// `buttons` receives the box's buttons.
QString pressStart(QDialog& dialog, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QStringList* buttons = nullptr)
{
    QString text;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&]() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer.stop();
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                if (buttons)
                    *buttons << button->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer.start(5);
    QTest::mouseClick(child<QPushButton>(&dialog, "pushButtonStart"), Qt::LeftButton, modifiers);
    return text;
}
}

class TestMemoryDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        initAppResources();
    }
    // The volumes folder is a scratch memory; the player memory is its "/CARD".
    void init()
    {
        volumes.reset(new Memory);
        qputenv("ORVALO3_VOLUMES_DIR", volumes->root().toUtf8());
        QVERIFY(volumes->add("/CARD/Music/Pop/a.mf3", mfx("_MF3", 100, "Alfa; uno", false, "Zed", "Pop")));
        QVERIFY(volumes->add("/CARD/b.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    }

    void optimize_data()
    {
        QTest::addColumn<QString>("memory");    // how the memory is changed before the run
        QTest::addColumn<QString>("field");     // below the volumes folder; "outside" for a folder elsewhere
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("indexed");   // below the volumes folder; empty: nothing indexed
        QTest::addColumn<QString>("report");    // a line of the report
        QTest::addColumn<bool>("eject");        // offered: the run wrote on the memory
        const QString done = QStringLiteral("Operazione completata con successo");
        const QString noSongs =
            QStringLiteral("La memoria non contiene song da indicizzare: l'indice non è stato modificato.");
        QTest::newRow("root of the memory") << "" << "/CARD/Music/Pop" << int(Qt::NoModifier) << false << done
                                            << "/CARD" << "" << true;
        QTest::newRow("Shift: the folder itself") << "" << "/CARD/Music/Pop/" << int(Qt::ShiftModifier) << false
                                                  << done << "/CARD/Music/Pop" << "" << true;
        QTest::newRow("outside the volumes") << "" << "outside" << 0 << false << "Il percorso selezionato non esiste"
                                             << "" << "" << false;
        QTest::newRow("path too long") << "long" << "/CARD/" << 0 << false
            << "Durante l'operazione si sono verificati alcuni errori.\nConsultare il report per maggiori informazioni."
            << "/CARD" << "File non importato, path troppo lungo: " << true;
        QTest::newRow("rebuild of an empty memory") << "empty" << "/CARD" << 0 << true << noSongs << "" << noSongs << false;
        // The old index stays: a memory without songs is more likely half-copied than meant to be empty.
        QTest::newRow("update of an emptied memory") << "emptied" << "/CARD" << 0 << false << noSongs << "/CARD"
                                                     << noSongs << false;
        QTest::newRow("damaged index") << "damaged" << "/CARD" << 0 << false
            << "Operazione non riuscita.\nL'indice della memoria è danneggiato: title.id3 nomina la song 9, che non "
               "esiste.\nPer ripararlo scegliere \"Ho problemi con gli archivi, ricostruisci database\"."
            << "/CARD" << "danneggiato" << false;
        QTest::newRow("memory not writable") << "blocked" << "/CARD" << 0 << true
            << "Operazione non riuscita.\nLa memoria non può essere scritta: impossibile scrivere %1/artist.id3."
            << "" << "impossibile scrivere" << false;
        // A warning is no error.
        QTest::newRow("name the player cannot read") << "unplayable" << "/CARD" << 0 << false << done << "/CARD"
            << "Il lettore non potrà aprire questa song, il suo nome contiene caratteri che non sa leggere: " << true;
        QTest::newRow("nothing changed") << "indexed" << "/CARD/" << 0 << false << done << "/CARD" << "" << false;
        QTest::newRow("memory busy") << "locked" << "/CARD" << 0 << true
            << "Memoria occupata: un trasferimento o un aggiornamento del database è già in corso su questa memoria. "
               "Riprovare quando è terminato." << "" << "" << false;
    }
    void optimize()
    {
        QFETCH(QString, memory);
        QFETCH(QString, field);
        QFETCH(int, modifiers);
        QFETCH(bool, rebuild);
        QFETCH(QString, indexed);
        QFETCH(QString, report);
        QFETCH(QString, message);
        const QString card = volumes->file("/CARD");
        const QString longPath = "/CARD/" + QString(200, 'd') + "/" + QString(55, 's') + ".mid";
        QTemporaryDir outside;
        QVERIFY(QFile::copy(card + "/b.mf3", outside.path() + "/c.mf3"));
        if (memory == "emptied" || memory == "damaged" || memory == "indexed")
            QVERIFY(Index().createIndex(card));
        // Another transfer or index run holds the memory.
        QLockFile otherRun(card + '/' + MemoryLock::fileName());
        if (memory == "locked")
            QVERIFY(otherRun.tryLock(0));
        else if (memory == "long")
            QVERIFY(volumes->add(longPath, midi(QByteArray())));
        else if (memory == "damaged")
            QVERIFY(volumes->add("/CARD/title.id3", QByteArray(3, '\0') + '\x09' + readFile(card + "/title.id3").mid(4)));
        else if (memory == "blocked")
            QVERIFY(QDir(card).mkdir("artist.id3"));
        else if (memory == "emptied")
            QVERIFY(QFile::remove(card + "/b.mf3") && QFile::remove(card + "/Music/Pop/a.mf3"));
        else if (memory == "unplayable")
            QVERIFY(volumes->add("/CARD/Don\u2019t.mid", midi(QByteArray())));
        else if (!memory.isEmpty() && memory != "indexed")
            QVERIFY(QDir(card).removeRecursively() && QDir().mkpath(card + "/Music"));

        IndexDialog dialog;
        dialog.show();
        child<QLineEdit>(&dialog, "lineEditPath")->setText(field == "outside" ? outside.path() : volumes->file(field));
        child<QRadioButton>(&dialog, rebuild ? "radioButtonRebuild" : "radioButtonUpdate")->setChecked(true);
        QStringList buttons;
        QCOMPARE(pressStart(dialog, Qt::KeyboardModifiers(modifiers), &buttons), QString(message).replace("%1", card));
        QTEST(buttons.contains("Espelli la memoria"), "eject");
        for (const QString& dir : {card, card + "/Music/Pop", outside.path()})
            QCOMPARE(QFile::exists(dir + "/index.id3"), !indexed.isEmpty() && dir == volumes->file(indexed));
        const QString text = child<QPlainTextEdit>(&dialog, "plainTextReport")->toPlainText();
        QVERIFY(text.contains(memory == "long" ? report + volumes->file(longPath) : report));
    }

    // Only a mouse press starts a run: the space bar and click() on the start
    // button do not (Return presses the dialog's default button, Browse).
    void keyboardDoesNotStart()
    {
        IndexDialog dialog;
        dialog.show();
        child<QLineEdit>(&dialog, "lineEditPath")->setText(volumes->file("/CARD"));
        auto* start = child<QPushButton>(&dialog, "pushButtonStart");
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Space);
        start->click();
        QCoreApplication::processEvents();
        QVERIFY(!QFile::exists(volumes->file("/CARD/index.id3")));
    }

    void songsList_data()
    {
        QTest::addColumn<QString>("src");      // below the volumes folder
        QTest::addColumn<QString>("dest");     // below the volumes folder, or absolute
        QTest::addColumn<int>("sort");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("content");
        // The ";" inside a title is written as it is.
        const QByteArray byTitle = "ALFA; UNO;ZED;/Music/Pop/a.mf3;\nBETA;ZED;/b.mf3;\nMEZZO;ABBA;/m.mf4;\n";
        const QByteArray caption = "TITOLO;ARTISTA;FILE;\n";
        QTest::newRow("by artist") << "/CARD" << "list.csv" << 1 << false << "Operazione completata"
            << caption + "MEZZO;ABBA;/m.mf4;\nALFA; UNO;ZED;/Music/Pop/a.mf3;\nBETA;ZED;/b.mf3;\n";
        QTest::newRow("English, by title") << "/CARD" << "list.csv" << 0 << true << "Operation completed"
                                 << "TITLE;ARTIST;FILE;\n" + byTitle;
        // The memory folder is used as it is: its index files must lie in it.
        QTest::newRow("one level too deep") << "/CARD/Music" << "list.csv" << 0 << false
            << "Impossibile proseguire, la memoria non è preparata per Orvalo" << QByteArray("");
        // A memory that fills up must not pass for a written list.
        QTest::newRow("destination full") << "/CARD" << "/dev/full" << 0 << false
                                          << "Errore durante la creazione del file" << QByteArray();
    }
    void songsList()
    {
        QFETCH(QString, src);
        QFETCH(QString, dest);
        QFETCH(int, sort);
        QFETCH(bool, english);
        QFETCH(QByteArray, content);
        if (dest.startsWith('/') && !QFileInfo::exists(dest))
            QSKIP("no /dev/full here");
        QVERIFY(volumes->add("/CARD/m.mf4", mfx("_MF4", 90, "Mezzo", true, "Abba", "Rock")));
        QVERIFY(Index().createIndex(volumes->file("/CARD")));
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/trans/orvalo3soft_en")));
        if (english)
            QCoreApplication::installTranslator(&translator);

        SongsListDialog dialog;
        dialog.show();
        child<QLineEdit>(&dialog, "lineEditSrc")->setText(volumes->file(src));
        const QString list = dest.startsWith('/') ? dest : volumes->file("/" + dest);
        child<QLineEdit>(&dialog, "lineEditDest")->setText(list);
        child<QComboBox>(&dialog, "comboBoxSort")->setCurrentIndex(sort);
        const QString message = pressStart(dialog);
        QCoreApplication::removeTranslator(&translator);
        QTEST(message, "message");
        if (!content.isNull())
            QCOMPARE(readFile(list), content);
    }

private:
    QTemporaryDir config;
    QScopedPointer<Memory> volumes;
};

QTEST_MAIN(TestMemoryDialogs)
#include "tst_memorydialogs.moc"
