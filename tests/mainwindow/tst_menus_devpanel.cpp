#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "tst_import_songs.h"

#include "app/settingskeys.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/dataeditdialog.h"
#include "resources/appresources.h"
#include "songfiles/metasong.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace ImportSongs;

namespace {

QStringList& logLines()
{
    static QStringList lines;
    return lines;
}
QtMessageHandler previousHandler = nullptr;
void captureLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg)
        logLines().append(message);
    else if (previousHandler)
        previousHandler(type, context, message);
}

template <typename T> T* child(QObject* o, const char* name)
{
    return o->findChild<T*>(QLatin1String(name));
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The hidden panels: the key combination that reveals them, the log
// preferences and the developer buttons.
class TestMenusDevPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyCombination_data();
    void keyCombination();
    void logPreferences();
    void saveAndAddMarker_data();
    void saveAndAddMarker();
    void reloadStyleSheet_data();
    void reloadStyleSheet();
    void importAgainAndHide();
    void backupAndManualDialog();

private:
    static QSettings store()
    {
        return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    }
    // A window whose library holds the given songs (no import summary).
    void importSongs(MainWindow& w, const QStringList& names);
    static void press(MainWindow& w, const char* button) { child<QPushButton>(&w, button)->click(); }

    QTemporaryDir configDir;
    QTemporaryDir workDir;
    std::unique_ptr<QTemporaryDir> songsDir;
    QStringList songFiles;
};

void TestMenusDevPanel::initTestCase()
{
    QVERIFY(configDir.isValid());
    QVERIFY(workDir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QVERIFY(QDir::setCurrent(workDir.path()));
    initAppResources();
    previousHandler = qInstallMessageHandler(&captureLog);
}

void TestMenusDevPanel::init()
{
    store().clear();
    store().setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
    songsDir.reset(new QTemporaryDir);
    QVERIFY(songsDir->isValid());
    for (const char* output : {"test_save.bin", "test_addmarker.bin"})
        QFile::remove(QLatin1String(output));
}

void TestMenusDevPanel::cleanup()
{
    logLines().clear();
    qApp->setStyleSheet(QString());
}

void TestMenusDevPanel::importSongs(MainWindow& w, const QStringList& names)
{
    songFiles.clear();
    for (const QString& name : names) {
        Details d;
        d.title = QStringLiteral("Song ") + name;
        d.artist = QStringLiteral("Artist");
        songFiles << songsDir->filePath(name);
        QVERIFY(writeFile(songFiles.last(), songFor(name, d)));
    }
    const QStringList files = songFiles;
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    child<QToolButton>(&w, "selectDirToolButton")->click();
    logLines().clear();
}

void TestMenusDevPanel::keyCombination_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("inWindow");
    QTest::addColumn<bool>("reveals");

    const int all = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Alt+Shift+D") << int(Qt::Key_D) << all << true << true;
    QTest::newRow("without Alt") << int(Qt::Key_D) << int(Qt::ControlModifier | Qt::ShiftModifier) << true << false;
    QTest::newRow("with Meta too") << int(Qt::Key_D) << int(all | Qt::MetaModifier) << true << false;
    QTest::newRow("other letter") << int(Qt::Key_E) << all << true << false;
    QTest::newRow("in another window") << int(Qt::Key_D) << all << false << false;
}

void TestMenusDevPanel::keyCombination()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, inWindow);
    QFETCH(bool, reveals);

    MainWindow w;
    QLineEdit elsewhere;
    QWidget* target = inWindow ? static_cast<QWidget*>(child<QTableView>(&w, "userLibraryTableView")) : &elsewhere;
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isHidden(), reveals);
    QCOMPARE(!child<QGroupBox>(&w, "debugGroupBox")->isHidden(), reveals);
    // Every other key passes on.
    auto* marker = child<QLineEdit>(&w, "dbgMarkerTextLineEdit");
    QTest::keyClicks(marker, QStringLiteral("Verse"));
    QCOMPARE(marker->text(), QStringLiteral("Verse"));
}

void TestMenusDevPanel::logPreferences()
{
    const auto stored = [](const char* key) { return store().value(QLatin1String(key)).toString(); };
    {
        MainWindow w;
        auto* enable = child<QCheckBox>(&w, "dbgLogEnableCheckBox");
        auto* clear = child<QCheckBox>(&w, "dbgLogClearCheckBox");
        enable->click();
        QCOMPARE(stored(SettingsKeys::logEnabled), QStringLiteral("true"));
        clear->click();
        QCOMPARE(stored(SettingsKeys::logClear), QStringLiteral("true"));
        enable->click();
        QCOMPARE(stored(SettingsKeys::logEnabled), QStringLiteral("false"));
        // Logging off: the clear option is disabled but keeps its value.
        QVERIFY(!clear->isEnabled());
        QCOMPARE(stored(SettingsKeys::logClear), QStringLiteral("true"));
    }
    MainWindow again;
    QVERIFY(!child<QCheckBox>(&again, "dbgLogEnableCheckBox")->isChecked());
    QVERIFY(child<QCheckBox>(&again, "dbgLogClearCheckBox")->isChecked());
}

void TestMenusDevPanel::saveAndAddMarker_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("song");
    QTest::addColumn<bool>("withRow");
    QTest::addColumn<bool>("unreadable");
    QTest::addColumn<QStringList>("log");

    const QStringList saveLog{"[MainWindow] Saving row:  1", "Saving to file:  \"test_save.bin\"", "Ok", ""};
    const QStringList markerLog{"[MainWindow] Adding marker to row:  1", "Ok", "Saving to file:  \"test_addmarker.bin\"",
                                "Ok", "-----------------------------------", ""};
    QTest::newRow("save MIDI") << "dbgSavePushButton" << "b.mid" << true << false << saveLog;
    QTest::newRow("save MP3") << "dbgSavePushButton" << "b.mp3" << true << false << saveLog;
    QTest::newRow("save, no row") << "dbgSavePushButton" << "b.mid" << false << false << QStringList();
    QTest::newRow("save, file gone") << "dbgSavePushButton" << "b.mid" << true << true << QStringList(saveLog.mid(0, 1));
    QTest::newRow("marker MIDI") << "dbgAddMarkerPushButton" << "b.mid" << true << false << markerLog;
    QTest::newRow("marker, no row") << "dbgAddMarkerPushButton" << "b.mid" << false << false << QStringList();
    QTest::newRow("marker, file gone") << "dbgAddMarkerPushButton" << "b.mid" << true << true << QStringList(markerLog.mid(0, 1));
}

void TestMenusDevPanel::saveAndAddMarker()
{
    QFETCH(QString, button);
    QFETCH(QString, song);
    QFETCH(bool, withRow);
    QFETCH(bool, unreadable);
    QFETCH(QStringList, log);

    MainWindow w;
    importSongs(w, {QStringLiteral("a.mid"), song});
    const QByteArray original = contents(songFiles.last());
    if (unreadable)
        QVERIFY(QFile::remove(songFiles.last()));
    auto* view = child<QTableView>(&w, "userLibraryTableView");
    if (withRow)
        view->setCurrentIndex(view->model()->index(1, 2));
    child<QLineEdit>(&w, "dbgMarkerTextLineEdit")->setText(QStringLiteral("  Chorus "));
    child<QSpinBox>(&w, "dbgMarkerBarSpinBox")->setValue(17);

    press(w, button.toLatin1().constData());
    // The button's own lines, in order, among those of the song classes.
    QStringList mine = logLines();
    int next = 0;
    mine.erase(std::remove_if(mine.begin(), mine.end(),
                              [&](const QString& line) {
                                  if (next < log.size() && line == log.at(next)) {
                                      ++next;
                                      return false;
                                  }
                                  return true;
                              }),
               mine.end());
    QVERIFY2(mine == log, qPrintable(logLines().join(QLatin1Char('\n'))));
    if (!log.isEmpty())
        QCOMPARE(logLines().first(), log.first());

    const bool save = button == QLatin1String("dbgSavePushButton");
    const QString output = save ? QStringLiteral("test_save.bin") : QStringLiteral("test_addmarker.bin");
    QCOMPARE(QFile::exists(output), log.size() > 1);
    if (log.size() <= 1)
        return;
    // The song's own file is never touched.
    QCOMPARE(contents(songFiles.last()), original);
    if (save) {
        // Nothing was changed: the copy holds the song as it is, MP3 audio included.
        QCOMPARE(contents(output), original);
        return;
    }
    MetaSong written;
    QVERIFY(written.importFile(QDir::current().filePath(output)));
    SongInfo info;
    written.getSongInfo(info);
    QCOMPARE(info.title, QStringLiteral("Song ") + song);
    QCOMPARE(info.markers.size(), 1);
    QCOMPARE(info.markers.first().text, QStringLiteral("Chorus"));
    QCOMPARE(info.markers.first().bar, 17);
}

void TestMenusDevPanel::reloadStyleSheet_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file beside the program
    QTest::addColumn<QString>("expected");

    QTest::newRow("file") << QByteArray("QWidget { color: #123456; }") << "QWidget { color: #123456; }";
    QTest::newRow("no file") << QByteArray() << "QPushButton { color: red; }";
}

void TestMenusDevPanel::reloadStyleSheet()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/default.qss");
    QFile::remove(path);
    if (!file.isEmpty())
        QVERIFY(writeFile(path, file));
    qApp->setStyleSheet(QStringLiteral("QPushButton { color: red; }"));

    MainWindow w;
    press(w, "dbgReloadStylePushButton");
    QFile::remove(path);
    QCOMPARE(qApp->styleSheet(), expected);
}

void TestMenusDevPanel::importAgainAndHide()
{
    MainWindow w;
    auto* model = child<QTableView>(&w, "userLibraryTableView")->model();
    // Before any choice the list of picked files is empty.
    press(w, "dbgImportPushButton");
    QCOMPARE(model->rowCount(), 0);
    QVERIFY(logLines().contains(QStringLiteral("          IMPORT USER LIBRARY")));

    importSongs(w, {QStringLiteral("a.mid"), QStringLiteral("b.mp3"), QStringLiteral("c.mf3")});
    QCOMPARE(model->rowCount(), 3);
    QVERIFY(QFile::remove(songFiles.at(1)));
    press(w, "dbgImportPushButton");
    QCOMPARE(model->rowCount(), 2);
    QVERIFY(logLines().contains(QStringLiteral("Unknown/corrupted file \"%1\"").arg(songFiles.at(1))));

    auto* debug = child<QGroupBox>(&w, "debugGroupBox");
    QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY(!debug->isHidden());
    press(w, "dbgHidePushButton");
    QVERIFY(debug->isHidden());
    QVERIFY(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isHidden());
    press(w, "dbgHidePushButton");
    QVERIFY(!debug->isHidden());
}

void TestMenusDevPanel::backupAndManualDialog()
{
    MainWindow w;
    importSongs(w, {QStringLiteral("a.mid")});
    const QByteArray original = contents(songFiles.first());

    QString offered;
    ModalDriver::when<BackupDialog>([&offered](BackupDialog* d) {
        offered = d->windowTitle();
        child<QPushButton>(d, "abortPushButton")->click();
    });
    press(w, "dbgBackupPushButton");
    QCOMPARE(offered, QStringLiteral("Backup"));

    for (const char* answer : {"savePushButton", "exitPushButton"}) {
        int artists = -1;
        ModalDriver::when<DataEditDialog>([&artists, answer](DataEditDialog* d) {
            artists = child<QComboBox>(d, "artistComboBox")->count();
            child<QPushButton>(d, answer)->click();
        });
        logLines().clear();
        press(w, "dbgShowDialogPushButton");
        // The artists of the reference catalogue are offered.
        QVERIFY(artists > 0);
        QCOMPARE(logLines(), QStringList{QLatin1String(answer) == QLatin1String("savePushButton") ? "Accettato" : "Rifiutato"});
    }
    QCOMPARE(contents(songFiles.first()), original);
    QCOMPARE(QDir(songsDir->path()).entryList(QDir::Files), QStringList{QStringLiteral("a.mid")});
}

QTEST_MAIN(TestMenusDevPanel)
#include "tst_menus_devpanel.moc"
