// The songs list export: Index::saveSongsList and SongsListDialog.
#include "songimages.h"
#include "messageboxdriver.h"

#include "app/settingskeys.h"
#include "index/index.h"
#include "index/songslistdialog.h"
#include "resources/appresources.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTranslator>
#include <QtTest>

using namespace images;

class TestSongsList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void sortOrders_data();
    void sortOrders();
    void outcomes_data();
    void outcomes();
    void dialogRuns_data();
    void dialogRuns();
    void dialogFields();

private:
    // BETA by Zed, "ALFA; UNO" by Zed, MEZZO by Abba; the index built.
    void makeIndexedMemory();
    QString runDialog(SongsListDialog& dialog, QString* title = nullptr);

    QTemporaryDir configDir;
    QScopedPointer<Memory> memory;
    QScopedPointer<QTemporaryDir> out;
};

void TestSongsList::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QVERIFY(QDir::setCurrent(configDir.path()));
    initAppResources();
}

void TestSongsList::init()
{
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application)).clear();
    memory.reset(new Memory);
    out.reset(new QTemporaryDir);
    QVERIFY(memory->dir.isValid() && out->isValid());
}

void TestSongsList::makeIndexedMemory()
{
    QVERIFY(memory->add("/pop/b.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    QVERIFY(memory->add("/pop/a.mf3", mfx("_MF3", 100, "Alfa; uno", false, "Zed", "Pop")));
    QVERIFY(memory->add("/rock/m.mf4", mfx("_MF4", 90, "Mezzo", true, "Abba", "Rock")));
    Index index;
    QVERIFY(index.createIndex(memory->root()));
}

void TestSongsList::sortOrders_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray caption = "TITOLO;ARTISTA;FILE;\n";
    const QByteArray byTitle = caption + "ALFA; UNO;ZED;/pop/a.mf3;\nBETA;ZED;/pop/b.mf3;\nMEZZO;ABBA;/rock/m.mf4;\n";
    QTest::newRow("title") << 0 << false << byTitle;
    QTest::newRow("artist, then title") << 1 << false
        << caption + "MEZZO;ABBA;/rock/m.mf4;\nALFA; UNO;ZED;/pop/a.mf3;\nBETA;ZED;/pop/b.mf3;\n";
    // The index files hold no genres: genre order falls back to the titles.
    QTest::newRow("genre") << 2 << false << byTitle;
    QTest::newRow("unknown mode") << 5 << false << byTitle;
    QTest::newRow("English captions") << 0 << true << "TITLE;ARTIST;FILE;\n" + byTitle.mid(caption.size());
}

void TestSongsList::sortOrders()
{
    QFETCH(int, mode);
    QFETCH(bool, english);
    QFETCH(QByteArray, expected);
    makeIndexedMemory();
    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(QStringLiteral(":/trans/orvalo3soft_en")));
        QCoreApplication::installTranslator(&translator);
    }

    const QString list = out->filePath("list.csv");
    Index index;
    QList<int> progress;
    int maximum = -1;
    QStringList paths;
    connect(&index, &Index::progressMaxSetup, [&](int m) { maximum = m; });
    connect(&index, &Index::progressValueChanged, [&](int v) { progress << v; });
    connect(&index, &Index::currentPathChanged, [&](const QString& p) { paths << p; });
    // A trailing "/" on the root is dropped.
    const int r = index.saveSongsList(memory->root() + "/", list, SORT_MODE(mode));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(r, 1);

    const QByteArray written = readFile(list);
    QCOMPARE(written, expected);
    // The ";" inside a title is written as it is: that line has one field more.
    const QList<QByteArray> lines = written.split('\n');
    for (const QByteArray& line : lines.mid(0, 4))
        QCOMPARE(line.count(';'), line.startsWith("ALFA") ? 4 : 3);
    QCOMPARE(maximum, 3);
    QCOMPARE(progress, (QList<int>{1, 2, 3}));
    QCOMPARE(paths.size(), 3);
}

void TestSongsList::outcomes_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("result");

    QTest::newRow("complete index") << "" << 1;
    QTest::newRow("fsinfos.id3 missing") << "remove fsinfos.id3" << -1;
    QTest::newRow("short title record") << "cut title.id3" << 0;
    // A memory that fills up must not pass for a written list.
    QTest::newRow("write fails") << "full" << 0;
    QTest::newRow("folder for the file") << "dir" << 0;
}

void TestSongsList::outcomes()
{
    QFETCH(QString, damage);
    QFETCH(int, result);
    makeIndexedMemory();

    QString list = out->filePath("list.csv");
    if (damage == "remove fsinfos.id3") {
        QVERIFY(QFile::remove(memory->file("/fsinfos.id3")));
    } else if (damage == "cut title.id3") {
        QFile title(memory->file("/title.id3"));
        QVERIFY(title.resize(title.size() - 1));
    } else if (damage == "full") {
        if (!QFileInfo::exists("/dev/full"))
            QSKIP("no /dev/full here");
        list = "/dev/full";
    } else if (damage == "dir") {
        list = out->path();
    }
    Index index;
    QCOMPARE(index.saveSongsList(memory->root(), list, SortTitle), result);
    if (result < 1 && list.startsWith(out->path()))
        QVERIFY(!QFileInfo(list).isFile() || readFile(list).isEmpty());
}

QString TestSongsList::runDialog(SongsListDialog& dialog, QString* title)
{
    SeenBox box;
    answerNextBox(&box);
    QTest::mouseClick(dialog.findChild<QPushButton*>("pushButtonStart"), Qt::LeftButton);
    if (title)
        *title = box.title;
    return box.text;
}

void TestSongsList::dialogRuns_data()
{
    QTest::addColumn<QString>("src");    // below the memory root; "missing" for a folder that is not there
    QTest::addColumn<QString>("dest");   // "missing/list.csv" lies in a folder that is not there
    QTest::addColumn<int>("sort");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("content");  // "absent": no file

    QTest::newRow("by artist") << "" << "list.csv" << 1 << "Operazione completata"
        << QByteArray("TITOLO;ARTISTA;FILE;\nMEZZO;ABBA;/rock/m.mf4;\nALFA; UNO;ZED;/pop/a.mf3;\nBETA;ZED;/pop/b.mf3;\n");
    // The memory folder is used as it is: its index files must lie in it.
    QTest::newRow("one level too deep") << "/pop" << "list.csv" << 0
        << "Impossibile proseguire, la memoria non è preparata per Orvalo" << QByteArray("");
    QTest::newRow("memory missing") << "/missing" << "list.csv" << 0 << "Il percorso selezionato non esiste"
        << QByteArray("absent");
    QTest::newRow("destination folder missing") << "" << "missing/list.csv" << 0
        << "Il percorso di destinazione non esiste" << QByteArray("absent");
}

void TestSongsList::dialogRuns()
{
    QFETCH(QString, src);
    QFETCH(QString, dest);
    QFETCH(int, sort);
    QFETCH(QString, message);
    QFETCH(QByteArray, content);
    makeIndexedMemory();

    SongsListDialog dialog;
    dialog.show();
    dialog.findChild<QLineEdit*>("lineEditSrc")->setText(memory->root() + src);
    const QString list = out->filePath(dest);
    dialog.findChild<QLineEdit*>("lineEditDest")->setText(list);
    dialog.findChild<QComboBox*>("comboBoxSort")->setCurrentIndex(sort);

    QString title;
    QCOMPARE(runDialog(dialog, &title), message);
    QCOMPARE(title, QStringLiteral("Salva lista song"));
    if (content == "absent")
        QVERIFY(!QFileInfo::exists(list));
    else
        QCOMPARE(readFile(list), content);
    QVERIFY(dialog.findChild<QPushButton*>("pushButtonStart")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton*>("pushButtonClose")->isEnabled());

    if (QByteArray(QTest::currentDataTag()) == "by artist") {
        auto* bar = dialog.findChild<QProgressBar*>("progressBar");
        QCOMPARE(bar->maximum(), 3);
        QCOMPARE(bar->value(), 3);
        QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
        if (dir.isEmpty())
            dir = QStringLiteral(ORVALO3_SCREENSHOT_DIR);
        QFile style(QStringLiteral(":/style/default.qss"));
        QVERIFY(style.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
        // As the user sees it: the form's English source texts come out Italian.
        QTranslator italian;
        QVERIFY(italian.load(QStringLiteral(":/trans/orvalo3soft_it")));
        QCoreApplication::installTranslator(&italian);
        QCoreApplication::processEvents();  // the language change is posted
        QCOMPARE(dialog.findChild<QPushButton*>("pushButtonClose")->text(), QStringLiteral("Chiudi"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Salva lista delle song"));
        dialog.findChild<QLineEdit*>("lineEditSrc")->setText("/Volumes/CARD");
        dialog.findChild<QLineEdit*>("lineEditDest")->setText("/Users/me/Desktop/SongsList.csv");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(dialog.grab().save(QDir(dir).filePath("songslistdialog.png")));
        QCoreApplication::removeTranslator(&italian);
        qApp->setStyleSheet(QString());
    }
}

void TestSongsList::dialogFields()
{
    QSettings settings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    settings.setValue(QLatin1String(SettingsKeys::mediaRoot), "/Volumes/CARD");

    QStringList asked;
    SongsListDialog::setFolderChooser([&](QWidget*, const QString& caption, const QString& dir) {
        asked << caption << dir;
        return QStringLiteral("/Volumes/USB");
    });

    {
        SongsListDialog dialog;
        auto* src = dialog.findChild<QLineEdit*>("lineEditSrc");
        auto* dest = dialog.findChild<QLineEdit*>("lineEditDest");
        auto* sort = dialog.findChild<QComboBox*>("comboBoxSort");
        QCOMPARE(src->text(), QStringLiteral("/Volumes/CARD"));
        QCOMPARE(dest->text(), QStringLiteral("/SongsList.csv"));
        QCOMPARE(sort->count(), 2);
        QCOMPARE(sort->itemText(0), QStringLiteral("Titolo"));
        QCOMPARE(sort->itemText(1), QStringLiteral("Artista"));
        QCOMPARE(sort->currentIndex(), 0);

        QTest::mouseClick(dialog.findChild<QPushButton*>("pushButtonBrowseSrc"), Qt::LeftButton);
        QCOMPARE(src->text(), QStringLiteral("/Volumes/USB"));
    }
    SongsListDialog::setFolderChooser(nullptr);

    QCOMPARE(asked, (QStringList{"Scegli cartella", "/home"}));
    // The chosen memory is remembered for both memory dialogs.
    QCOMPARE(settings.value(QLatin1String(SettingsKeys::mediaRoot)).toString(), QStringLiteral("/Volumes/USB"));
}

QTEST_MAIN(TestSongsList)
#include "tst_songslist.moc"
