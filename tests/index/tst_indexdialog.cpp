// The optimize-memory dialog: finding the memory root, the start button, the
// report and the three outcome boxes, on a fake volumes folder.
#include "songimages.h"
#include "messageboxdriver.h"

#include "app/settingskeys.h"
#include "index/index.h"
#include "index/indexdialog.h"
#include "resources/appresources.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTranslator>
#include <QtTest>

using namespace images;

class TestIndexDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void getRootDrivePath_data();
    void getRootDrivePath();
    void startFindsRoot_data();
    void startFindsRoot();
    void keyboardDoesNotStart_data();
    void keyboardDoesNotStart();
    void outcomes_data();
    void outcomes();
    void formAndBrowse();

private:
    QString card() const { return volumes->path() + QStringLiteral("/CARD"); }
    bool add(const QString& path, const QByteArray& content);
    bool hasIndex(const QString& dir) const { return QFile::exists(dir + QStringLiteral("/index.id3")); }
    // Presses the start button with the mouse and answers the box it shows.
    SeenBox pressStart(IndexDialog& dialog, Qt::KeyboardModifiers modifiers);
    void saveScreenshot(IndexDialog& dialog);

    template <typename T> static T* child(QWidget* w, const char* name) { return w->findChild<T*>(QLatin1String(name)); }

    QTemporaryDir configDir;
    QScopedPointer<QTemporaryDir> volumes;
};

void TestIndexDialog::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QVERIFY(QDir::setCurrent(configDir.path()));
    initAppResources();
}

void TestIndexDialog::init()
{
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application)).clear();
    volumes.reset(new QTemporaryDir);
    QVERIFY(volumes->isValid());
    qputenv("ORVALO3_VOLUMES_DIR", volumes->path().toUtf8());
    // Return reaches the browse button; a real folder chooser would wait forever.
    IndexDialog::setFolderChooser([](QWidget*, const QString&, const QString&) { return QString(); });
}

void TestIndexDialog::cleanup()
{
    IndexDialog::setFolderChooser(nullptr);
    qunsetenv("ORVALO3_VOLUMES_DIR");
    volumes.reset();
}

bool TestIndexDialog::add(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush();
}

SeenBox TestIndexDialog::pressStart(IndexDialog& dialog, Qt::KeyboardModifiers modifiers)
{
    SeenBox box;
    answerNextBox(&box);
    QTest::mousePress(child<QPushButton>(&dialog, "pushButtonStart"), Qt::LeftButton, modifiers);
    return box;
}

void TestIndexDialog::getRootDrivePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");

    QTest::newRow("deep folder") << "/Volumes/CARD/Music/Pop" << "/Volumes/CARD";
    QTest::newRow("the root") << "/Volumes/CARD" << "/Volumes/CARD";
    QTest::newRow("root with slash") << "/Volumes/CARD/" << "/Volumes/CARD";
    QTest::newRow("any case") << "/volumes/Card/x" << "/volumes/Card";
    QTest::newRow("one-letter volume") << "/Volumes/A/b" << "/Volumes/A";
    QTest::newRow("volumes folder") << "/Volumes/" << "";
    QTest::newRow("volumes folder, no slash") << "/Volumes" << "";
    QTest::newRow("system disk") << "/Users/me/Music" << "";
}

void TestIndexDialog::getRootDrivePath()
{
    QFETCH(QString, path);
    QFETCH(QString, root);
    qputenv("ORVALO3_VOLUMES_DIR", "/Volumes");
    IndexDialog dialog;
    QCOMPARE(dialog.getRootDrivePath(path), root);
}

void TestIndexDialog::startFindsRoot_data()
{
    QTest::addColumn<QString>("field");       // below the fake volumes folder, or an absolute path
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("indexed");     // below the volumes folder; empty: nothing indexed
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("found");

    const QString done = QStringLiteral("Operazione completata con successo");
    QTest::newRow("root of the memory") << "/CARD/Music/Pop" << int(Qt::NoModifier) << "/CARD" << done << "2";
    QTest::newRow("Shift: the folder itself") << "/CARD/Music/Pop" << int(Qt::ShiftModifier) << "/CARD/Music/Pop" << done << "1";
    QTest::newRow("Shift with Control: the root") << "/CARD/Music/Pop/" << int(Qt::ShiftModifier | Qt::ControlModifier)
                                                  << "/CARD" << done << "2";
    QTest::newRow("outside the volumes") << "outside" << int(Qt::NoModifier) << ""
                                         << "Il percorso selezionato non esiste" << "0";
}

void TestIndexDialog::startFindsRoot()
{
    QFETCH(QString, field);
    QFETCH(int, modifiers);
    QFETCH(QString, indexed);
    QFETCH(QString, message);
    QFETCH(QString, found);

    QVERIFY(add(card() + "/Music/Pop/a.mf3", mfx("_MF3", 100, "Alfa", false, "Zed", "Pop")));
    QVERIFY(add(card() + "/b.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    QTemporaryDir outside;
    QVERIFY(add(outside.path() + "/c.mf3", mfx("_MF3", 100, "Gamma", false, "Zed", "Pop")));

    IndexDialog dialog;
    dialog.show();
    child<QLineEdit>(&dialog, "lineEditPath")->setText(field == "outside" ? outside.path() : volumes->path() + field);
    const SeenBox box = pressStart(dialog, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(box.text, message);
    QCOMPARE(box.title, QStringLiteral("Ottimizza memoria"));
    QCOMPARE(box.icon, indexed.isEmpty() ? QMessageBox::Warning : QMessageBox::Information);

    for (const QString& dir : {card(), card() + "/Music/Pop", outside.path()})
        QCOMPARE(hasIndex(dir), !indexed.isEmpty() && dir == volumes->path() + indexed);
    QCOMPARE(child<QLabel>(&dialog, "labelFileFound")->text(), found);
    QVERIFY(child<QPushButton>(&dialog, "pushButtonStart")->isEnabled());
    QVERIFY(child<QPushButton>(&dialog, "pushButtonClose")->isEnabled());
}

void TestIndexDialog::keyboardDoesNotStart_data()
{
    QTest::addColumn<int>("how");   // a key, or 0 for a click() of the button
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
    QTest::newRow("click signal") << 0;
}

void TestIndexDialog::keyboardDoesNotStart()
{
    QFETCH(int, how);
    QVERIFY(add(card() + "/b.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    IndexDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    child<QLineEdit>(&dialog, "lineEditPath")->setText(card());
    auto* start = child<QPushButton>(&dialog, "pushButtonStart");
    start->setFocus();
    if (how)
        QTest::keyClick(start, Qt::Key(how));
    else
        start->click();
    QTest::qWait(50);
    QVERIFY(!hasIndex(card()));
    QVERIFY(child<QPlainTextEdit>(&dialog, "plainTextReport")->toPlainText().isEmpty());
    QVERIFY(dialog.isVisible());
}

void TestIndexDialog::outcomes_data()
{
    QTest::addColumn<QString>("memory");
    QTest::addColumn<bool>("rebuild");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("indexAfter");
    QTest::addColumn<QString>("report");   // the lines between the first and the last

    const QString failed = QStringLiteral("Operazione non riuscita.\nAssicurarsi che il disco abbia sufficiente "
                                          "spazio libero e che non sia protetto da scrittura.");
    const QString errors = QStringLiteral("Durante l'operazione si sono verificati alcuni errori.\n"
                                          "Consultare il report per maggiori informazioni.");
    const QString noSongs = QStringLiteral("Nessun file di song trovato nella memoria");
    QTest::newRow("path too long, index written") << "long" << true << errors << true
                                                  << "File non importato, path troppo lungo: ";
    QTest::newRow("update, path too long") << "long" << false << errors << true
                                           << "File non importato, path troppo lungo: ";
    QTest::newRow("rebuild of an empty memory") << "empty" << true << failed << false << noSongs;
    // The old index would list songs that are gone: it goes, as in a rebuild.
    QTest::newRow("update of an emptied memory") << "emptied" << false << failed << false << noSongs;
    QTest::newRow("update, one song added") << "added" << false << "Operazione completata con successo" << true << "";
}

void TestIndexDialog::outcomes()
{
    QFETCH(QString, memory);
    QFETCH(bool, rebuild);
    QFETCH(QString, message);
    QFETCH(bool, indexAfter);
    QFETCH(QString, report);

    QVERIFY(QDir().mkpath(card()));
    QString longPath;
    if (memory == "long") {
        longPath = card() + "/" + QString(200, 'd') + "/" + QString(55, 's') + ".mid";
        QVERIFY(add(longPath, midi(QByteArray())));
        QVERIFY(add(card() + "/ok.mf3", mfx("_MF3", 100, "Alfa", false, "Zed", "Pop")));
    } else if (memory == "emptied" || memory == "added") {
        QVERIFY(add(card() + "/old.mf3", mfx("_MF3", 100, "Alfa", false, "Zed", "Pop")));
        Index index;
        QVERIFY(index.createIndex(card()));
        if (memory == "emptied")
            QVERIFY(QFile::remove(card() + "/old.mf3"));
        else
            QVERIFY(add(card() + "/new.mf3", mfx("_MF3", 100, "Beta", false, "Zed", "Pop")));
    }

    IndexDialog dialog;
    dialog.show();
    child<QLineEdit>(&dialog, "lineEditPath")->setText(card() + "/");
    child<QRadioButton>(&dialog, rebuild ? "radioButtonRebuild" : "radioButtonUpdate")->setChecked(true);
    const SeenBox box = pressStart(dialog, Qt::NoModifier);
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, message.startsWith("Operazione completata") ? QMessageBox::Information : QMessageBox::Critical);

    QCOMPARE(hasIndex(card()), indexAfter);
    QStringList lines = child<QPlainTextEdit>(&dialog, "plainTextReport")->toPlainText().split('\n');
    QCOMPARE(lines.takeFirst(), QStringLiteral("Ottimizzazione memoria in corso..."));
    QCOMPARE(lines.takeLast(), QStringLiteral("Operazione completata"));
    if (report.isEmpty())
        QCOMPARE(lines, QStringList());
    else if (memory == "long")
        QCOMPARE(lines, QStringList(report + longPath));
    else
        QCOMPARE(lines, QStringList(report));

    auto* bar = child<QProgressBar>(&dialog, "progressBar");
    if (!indexAfter) {
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 0);
    }
    if (memory == "added") {
        Index check;
        QCOMPARE(check.saveSongsList(card(), volumes->path() + "/list.csv", SortTitle), 1);
        QCOMPARE(readFile(volumes->path() + "/list.csv"), QByteArray("TITOLO;ARTISTA;FILE;\nALFA;ZED;/old.mf3;\nBETA;ZED;/new.mf3;\n"));
    }
    if (QByteArray(QTest::currentDataTag()) == "path too long, index written")
        saveScreenshot(dialog);
}

void TestIndexDialog::saveScreenshot(IndexDialog& dialog)
{
    QFile style(QStringLiteral(":/style/default.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    QTranslator italian;
    QVERIFY(italian.load(QStringLiteral(":/trans/orvalo3soft_it")));
    QCoreApplication::installTranslator(&italian);
    QCoreApplication::processEvents();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ottimizza memoria"));
    // Paths as on a Mac, where the memories are.
    auto* report = child<QPlainTextEdit>(&dialog, "plainTextReport");
    report->setPlainText(report->toPlainText().replace(volumes->path(), QStringLiteral("/Volumes")));
    child<QLineEdit>(&dialog, "lineEditPath")->setText(QStringLiteral("/Volumes/CARD"));

    QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
    if (dir.isEmpty())
        dir = QStringLiteral(ORVALO3_SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(dialog.grab().save(QDir(dir).filePath(QStringLiteral("indexdialog.png"))));
    QCoreApplication::removeTranslator(&italian);
    qApp->setStyleSheet(QString());
}

void TestIndexDialog::formAndBrowse()
{
    QSettings settings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    settings.setValue(QLatin1String(SettingsKeys::mediaRoot), "/Volumes/CARD");
    QStringList asked;
    IndexDialog::setFolderChooser([&](QWidget*, const QString& caption, const QString& dir) {
        asked << caption << dir;
        return QStringLiteral("/Volumes/USB");
    });
    {
        IndexDialog dialog;
        auto* path = child<QLineEdit>(&dialog, "lineEditPath");
        QCOMPARE(path->text(), QStringLiteral("/Volumes/CARD"));
        QVERIFY(!child<QCheckBox>(&dialog, "checkBoxChkdsk")->isEnabled());
        QVERIFY(!child<QCheckBox>(&dialog, "checkBoxChkdsk")->isChecked());
        QVERIFY(child<QRadioButton>(&dialog, "radioButtonUpdate")->isChecked());

        QTest::mouseClick(child<QPushButton>(&dialog, "pushButtonBrowse"), Qt::LeftButton);
        QCOMPARE(path->text(), QStringLiteral("/Volumes/USB"));
    }
    QCOMPARE(asked, (QStringList{"Scegli cartella", "/home"}));
    QCOMPARE(settings.value(QLatin1String(SettingsKeys::mediaRoot)).toString(), QStringLiteral("/Volumes/USB"));
}

QTEST_MAIN(TestIndexDialog)
#include "tst_indexdialog.moc"
