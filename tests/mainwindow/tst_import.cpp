#include "mainwindow/mainwindow.h"
#include "mainwindow/proceeddialog.h"
#include "tst_import_songs.h"

#include "app/settingskeys.h"
#include "app/startup.h"
#include "resources/appresources.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

using namespace ImportSongs;

namespace {

// Every debug message, kept; other messages also go to the test's output.
QStringList& logLines()
{
    static QStringList lines;
    return lines;
}
QtMessageHandler testHandler = nullptr;
void captureLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    logLines().append(message);
    if (type != QtDebugMsg && testHandler)
        testHandler(type, context, message);
}

// A dialog met while an action ran: its class, title and main text.
struct SeenDialog
{
    QString className;
    QString title;
    QString text;
};

// What the answerer does with the import summary.
struct SummaryAnswer
{
    bool tick = false; // tick "Non mostrare più messaggi sul copyright"
    bool yes = false;  // "Si" rather than "No"
    // At the synchronisation's backup offer: "Prosegui senza backup"
    // rather than closing it.
    bool withoutBackup = false;
};

template <typename T> T* child(QObject* o, const char* name)
{
    return o->findChild<T*>(QLatin1String(name));
}

QString cell(QAbstractItemModel* m, int row, int column)
{
    return m->index(row, column).data().toString();
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rows_data();
    void rows();
    void libraryTable();
    void summary_data();
    void summary();
    void buttonStates_data();
    void buttonStates();
    void summaryDialog_data();
    void summaryDialog();
    void summaryInEnglish();
    void progressAndStop();
    void realChooser_data();
    void realChooser();
    void cancelledChoiceChangesNothing();
    void copyrightRoundTrip();
    void logOfARun();
    void databaseFailure();
    void screenshot();

private:
    QString makeSong(const QString& name, const Details& d = Details());
    QString makeFile(const QString& name, const QByteArray& data);
    // Runs `action` while a timer answers every modal dialog that opens:
    // summaries as `summaryAnswer` says, message boxes with their default
    // button. Returns the dialogs met, in order.
    QList<SeenDialog> answeringDialogs(const std::function<void()>& action,
                                       SummaryAnswer summaryAnswer = SummaryAnswer());
    // Presses the import button with the chooser returning `files`.
    QList<SeenDialog> importFiles(MainWindow& w, const QStringList& files,
                                  SummaryAnswer summaryAnswer = SummaryAnswer());
    static QSettings store()
    {
        return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    }
    static QString buttonStates(MainWindow& w);

    QTemporaryDir configDir;
    QTemporaryDir workDir;
    std::unique_ptr<QTemporaryDir> songsDir;
};

void TestImport::initTestCase()
{
    QVERIFY(configDir.isValid());
    QVERIFY(workDir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    // Relative names the program uses ("songsdb_debug", "log.txt") land here.
    QVERIFY(QDir::setCurrent(workDir.path()));
    initAppResources();
    testHandler = qInstallMessageHandler(&captureLog);
}

void TestImport::init()
{
    store().clear();
    logLines().clear();
    songsDir.reset(new QTemporaryDir);
    QVERIFY(songsDir->isValid());
}

void TestImport::cleanup()
{
    QDir(workDir.path()).rmdir(QStringLiteral("songsdb_debug"));
    qApp->setStyleSheet(QString());
}

QString TestImport::makeFile(const QString& name, const QByteArray& data)
{
    const QString path = songsDir->filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!writeFile(path, data))
        qFatal("cannot write a test song");
    return path;
}

QString TestImport::makeSong(const QString& name, const Details& d)
{
    return makeFile(name, songFor(name, d));
}

QList<SeenDialog> TestImport::answeringDialogs(const std::function<void()>& action, SummaryAnswer summaryAnswer)
{
    QList<SeenDialog> seen;
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || qobject_cast<QProgressDialog*>(w) || !w->isVisible())
            return;
        if (auto* summary = qobject_cast<ProceedDialog*>(w)) {
            seen.append({QStringLiteral("ProceedDialog"), summary->windowTitle(),
                         child<QLabel>(summary, "msgLabel")->text()});
            if (summaryAnswer.tick)
                child<QCheckBox>(summary, "checkBoxShowAgain")->click();
            child<QPushButton>(summary, summaryAnswer.yes ? "yesPushButton" : "noPushButton")->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen.append({QStringLiteral("QMessageBox"), box->windowTitle(), box->text()});
            QAbstractButton* button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
            button->click();
        } else {
            seen.append({QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), QString()});
            auto* goOn = child<QPushButton>(w, "exitPushButton");
            if (summaryAnswer.withoutBackup && goOn)
                goOn->click();
            else
                w->close();
        }
    });
    timer.start();
    action();
    return seen;
}

QList<SeenDialog> TestImport::importFiles(MainWindow& w, const QStringList& files, SummaryAnswer summaryAnswer)
{
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    return answeringDialogs([&w] { child<QToolButton>(&w, "selectDirToolButton")->click(); }, summaryAnswer);
}

QString TestImport::buttonStates(MainWindow& w)
{
    QString states;
    for (const char* name : {"selectDirToolButton", "updateDataToolButton", "transferFilesToolButton"})
        states += child<QToolButton>(&w, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

void TestImport::rows_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("tavrel");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<bool>("tavrelInSummary");

    QTest::newRow("MIDI of the maker") << "volare.mid" << true << "MIDI" << 185 << "03:05" << true;
    QTest::newRow("MIDI of another") << "volare.mid" << false << "MIDI" << 185 << "03:05" << false;
    QTest::newRow("karaoke") << "sing.kar" << false << "MIDI" << 59 << "00:59" << false;
    QTest::newRow("upper-case extension") << "LOUD.MID" << true << "MIDI" << 3600 << "60:00" << true;
    QTest::newRow("MF3") << "song.mf3" << false << "MF3" << 61 << "01:01" << true;
    QTest::newRow("MF4") << "song.mf4" << false << "MF4" << 6005 << "100:05" << true;
    QTest::newRow("MF5") << "song.mf5" << false << "MF5" << 245 << "04:05" << true;
    QTest::newRow("MP3 of the maker") << "live.mp3" << true << "MP3" << 245 << "04:05" << true;
    QTest::newRow("MP3 of another") << "live.mp3" << false << "MP3" << 245 << "04:05" << false;
    QTest::newRow("folder with spaces") << "Canzoni d'autore/dolce vita.mid" << true << "MIDI" << 0 << "00:00"
                                        << true;
}

void TestImport::rows()
{
    QFETCH(QString, fileName);
    QFETCH(bool, tavrel);
    QFETCH(QString, type);
    QFETCH(int, length);
    QFETCH(QString, lengthText);
    QFETCH(bool, tavrelInSummary);

    Details d;
    d.title = QStringLiteral("Nel blu dipinto di blu");
    d.artist = QStringLiteral("Domenico Modugno");
    d.genre = QStringLiteral("POP");
    d.author = QStringLiteral("Migliacci");
    d.length = length;
    d.bpm = 126;
    d.tavrel = tavrel;
    const QString path = makeSong(fileName, d);

    MainWindow w;
    const auto seen = importFiles(w, {path});
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].text, QStringLiteral("Sono stati esaminti 1 files, trovate 1 songs di cui %1 di (c)Tavrel")
                               .arg(tavrelInSummary ? 1 : 0));

    QAbstractItemModel* m = child<QTableView>(&w, "userLibraryTableView")->model();
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(cell(m, 0, 1), type);
    QCOMPARE(cell(m, 0, 2), d.title);
    QCOMPARE(cell(m, 0, 3), d.artist);
    QCOMPARE(cell(m, 0, 4), d.genre);
    QCOMPARE(cell(m, 0, 5), d.author);
    // An MFx song keeps its length in the packed MIDI image, not the header.
    QCOMPARE(cell(m, 0, 6), lengthText);
    QCOMPARE(cell(m, 0, 7), QStringLiteral("126"));
    QCOMPARE(cell(m, 0, 8), QString());
    QCOMPARE(cell(m, 0, 9), path);
    QCOMPARE(cell(m, 0, 10), fileName.section(QLatin1Char('/'), -1));
    QCOMPARE(cell(m, 0, 11), QStringLiteral("0"));
}

void TestImport::libraryTable()
{
    MainWindow w;
    QTableView* view = child<QTableView>(&w, "userLibraryTableView");
    QVERIFY(view->model());
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(view->isSortingEnabled());
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!view->showGrid());
    QVERIFY(view->verticalHeader()->isHidden());
    QVERIFY(!view->alternatingRowColors());
    QCOMPARE(view->contextMenuPolicy(), Qt::CustomContextMenu);

    // Row id, file path and status never show.
    QStringList hidden;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (view->isColumnHidden(c))
            hidden << QString::number(c);
    QCOMPARE(hidden.join(QLatin1Char(' ')), QStringLiteral("0 9 11"));

    const auto headers = [view] {
        QStringList h;
        for (int c = 1; c <= 10; ++c)
            if (!view->isColumnHidden(c))
                h << view->model()->headerData(c, Qt::Horizontal).toString();
        return h.join(QLatin1Char(','));
    };
    QCOMPARE(headers(), QStringLiteral("Formato,Titolo,Artista,Genere,Autore,Durata,Bpm,Tonalita',Nome file"));
    // A language change reaches the headers too.
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
    QCoreApplication::processEvents();
    QCOMPARE(headers(), QStringLiteral("Format,Title,Artist,Genre,Author,Length,Bpm,Key,File name"));
}

void TestImport::summary_data()
{
    // Files named t* are the maker's songs, o* other songs, x* unreadable.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("text");

    QTest::newRow("readable and unreadable")
        << QStringList{"t1.mid", "o1.mp3", "x1.mid", "t2.mf3", "x2.mp3", "o2.kar"} << "t1.mid o1.mp3 t2.mf3 o2.kar"
        << "Sono stati esaminti 6 files, trovate 4 songs di cui 2 di (c)Tavrel";
    QTest::newRow("only unreadable") << QStringList{"x1.mid", "x2.mp3", "x3.wav", "x4.mf4", "x5.mid", "x6.mid"}
                                     << ""
                                     << "Sono stati esaminti 6 files, trovate 0 songs di cui 0 di (c)Tavrel";
    QTest::newRow("only others") << QStringList{"o1.mid", "o2.mp3"} << "o1.mid o2.mp3"
                                 << "Sono stati esaminti 2 files, trovate 2 songs di cui 0 di (c)Tavrel";
    QTest::newRow("nothing picked") << QStringList() << ""
                                    << "Sono stati esaminti 0 files, trovate 0 songs di cui 0 di (c)Tavrel";
}

void TestImport::summary()
{
    QFETCH(QStringList, names);
    QFETCH(QString, rows);
    QFETCH(QString, text);

    // The unreadable kinds: damaged MIDI, an MP3 name over other bytes, MP3
    // bytes under another name, a damaged MFx payload, an empty file, a
    // file gone since it was picked.
    const QList<QByteArray> unreadable = {midiSong(Details()).left(20), QByteArray("RIFF\0\0\0\0WAVEfmt ", 16),
                                          mp3Song(Details()), mfxSong("_MF4", Details()).left(530), QByteArray()};
    QStringList paths;
    int x = 0;
    for (const QString& name : names) {
        Details d;
        d.title = name;
        d.tavrel = name.startsWith(QLatin1Char('t'));
        if (!name.startsWith(QLatin1Char('x')))
            paths << makeSong(name, d);
        else if (x < unreadable.size())
            paths << makeFile(name, unreadable[x++]);
        else
            paths << songsDir->filePath(name); // never written
    }

    MainWindow w;
    QList<SeenDialog> seen;
    if (paths.isEmpty()) // only the hidden "Import again" can import nothing
        seen = answeringDialogs([&w] { w.importUserLibrary(); });
    else
        seen = importFiles(w, paths);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].className, QStringLiteral("ProceedDialog"));
    QCOMPARE(seen[0].title, QStringLiteral("Riassunto importazione"));
    QCOMPARE(seen[0].text, text);

    QAbstractItemModel* m = child<QTableView>(&w, "userLibraryTableView")->model();
    QStringList shown;
    for (int r = 0; r < m->rowCount(); ++r)
        shown << cell(m, r, 10);
    QCOMPARE(shown.join(QLatin1Char(' ')), rows);
    // "No": the synchronisation stays available.
    QVERIFY(child<QToolButton>(&w, "updateDataToolButton")->isEnabled());
}

void TestImport::buttonStates_data()
{
    // States of the import, synchronisation and transfer buttons.
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("states");

    QTest::newRow("after construction") << "none" << "100";
    QTest::newRow("summary answered No") << "no" << "111";
    QTest::newRow("no summary") << "preference off" << "111";
    QTest::newRow("synchronisation of an empty library") << "yes, empty" << "111";
    QTest::newRow("table not emptied") << "clear fails" << "101";
    QTest::newRow("synchronisation run to its end") << "yes, synchronised" << "101";
}

void TestImport::buttonStates()
{
    QFETCH(QString, scenario);
    QFETCH(QString, states);

    Details d;
    d.title = QStringLiteral("Azzurro");
    d.tavrel = true;
    const QStringList songs = {makeSong(QStringLiteral("a.mid"), d), makeSong(QStringLiteral("b.mp3"), d)};
    if (scenario == QLatin1String("preference off"))
        store().setValue(QStringLiteral("copyrightAsk"), false);

    MainWindow w;
    QList<SeenDialog> seen;
    if (scenario == QLatin1String("no") || scenario == QLatin1String("preference off")) {
        seen = importFiles(w, songs);
    } else if (scenario == QLatin1String("yes, empty")) {
        SummaryAnswer yes;
        yes.yes = true;
        seen = importFiles(w, {makeFile(QStringLiteral("broken.mid"), "MThd")}, yes);
    } else if (scenario == QLatin1String("yes, synchronised")) {
        SummaryAnswer yes;
        yes.yes = true;
        yes.withoutBackup = true;
        seen = importFiles(w, songs, yes);
        QCOMPARE(logLines().filter(QRegularExpression(QStringLiteral("^\\[UPDATE\\] rowIdx:"))).size(), 2);
    } else if (scenario == QLatin1String("clear fails")) {
        // The library refuses to be emptied; an empty one is not emptied,
        // so the first import goes through.
        QSqlQuery trigger(QSqlDatabase::database(QStringLiteral("con_mem")));
        QVERIFY(trigger.exec(QStringLiteral("create trigger keep before delete on usersongs "
                                            "begin select raise(abort, 'kept'); end")));
        QCOMPARE(importFiles(w, songs).size(), 1);
        logLines().clear();
        seen = importFiles(w, {songs[0]});
        QVERIFY(logLines().contains(
            QStringLiteral("[importUserLibrary] WARNING: impossible to CLEAR table. Aborting import !!!")));
        // The earlier rows stay, and nothing was read.
        QCOMPARE(child<QTableView>(&w, "userLibraryTableView")->model()->rowCount(), 2);
        QVERIFY(!logLines().join(QLatin1Char('\n')).contains(QLatin1String("Found file:")));
    }
    if (scenario == QLatin1String("preference off") || scenario == QLatin1String("clear fails"))
        QVERIFY(seen.isEmpty());
    QCOMPARE(buttonStates(w), states);
}

void TestImport::summaryDialog_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("result");

    QTest::newRow("Si") << "yesPushButton" << false << 1;
    QTest::newRow("No") << "noPushButton" << false << 0;
    QTest::newRow("ticked, Si") << "yesPushButton" << true << 1;
    QTest::newRow("Escape") << "escape" << false << 0;
    QTest::newRow("window frame") << "close" << true << 0;
}

void TestImport::summaryDialog()
{
    QFETCH(QString, how);
    QFETCH(bool, tick);
    QFETCH(int, result);

    ProceedDialog dialog;
    QCOMPARE(dialog.size(), QSize(529, 152));
    QVERIFY(dialog.getShowAgainValue());
    QTimer::singleShot(0, &dialog, [&] {
        if (tick)
            QTest::mouseClick(child<QCheckBox>(&dialog, "checkBoxShowAgain"), Qt::LeftButton);
        if (how == QLatin1String("escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            dialog.close();
        else
            QTest::mouseClick(child<QPushButton>(&dialog, qPrintable(how)), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(dialog.getShowAgainValue(), !tick);
}

void TestImport::summaryInEnglish()
{
    // Switched while the dialog exists: the summary and title follow.
    ProceedDialog dialog;
    dialog.setFilesCount(7, 2, 3);
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
    QCoreApplication::processEvents();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Import summary"));
    QCOMPARE(child<QLabel>(&dialog, "msgLabel")->text(),
             QStringLiteral("10 files have been examined, found 7 songs of which 2 (c) Tavrel"));
    QCOMPARE(child<QLabel>(&dialog, "label_2")->text(),
             QStringLiteral("Do you want to proceed with automatic synchronization?"));
    QCOMPARE(child<QCheckBox>(&dialog, "checkBoxShowAgain")->text(), QStringLiteral("Don't show messages on copyright"));
    QCOMPARE(child<QPushButton>(&dialog, "yesPushButton")->text(), QStringLiteral("Yes"));
}

void TestImport::progressAndStop()
{
    QStringList songs;
    for (int i = 0; i < 30; ++i)
        songs << makeSong(QStringLiteral("song%1.mid").arg(i, 2, 10, QLatin1Char('0')));
    store().setValue(QStringLiteral("copyrightAsk"), false);

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    importFiles(w, songs.mid(0, 3));
    QCOMPARE(buttonStates(w), QStringLiteral("111"));

    // "Interrompi" is pressed after the first file; the import goes on.
    QString during, label;
    int rowsWhenStopped = -1;
    bool cancelled = false;
    QPointer<QProgressDialog> dialog;
    QTimer::singleShot(0, [&] {
        dialog = w.findChild<QProgressDialog*>();
        during = buttonStates(w);
        label = dialog->findChild<QLabel*>()->text();
        dialog->findChild<QPushButton*>()->click();
        cancelled = dialog->wasCanceled();
        rowsWhenStopped = child<QTableView>(&w, "userLibraryTableView")->model()->rowCount();
    });
    importFiles(w, songs);

    QCOMPARE(during, QStringLiteral("100"));
    QCOMPARE(label, QStringLiteral("1 di 30"));
    QVERIFY(cancelled);
    QCOMPARE(rowsWhenStopped, 1);
    QCOMPARE(child<QTableView>(&w, "userLibraryTableView")->model()->rowCount(), 30);
    QCOMPARE(logLines().filter(QRegularExpression(QStringLiteral("^Found file:"))).size(), 33);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));

    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Lettura file"));
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QCOMPARE(dialog->parentWidget(), &w);
    QCOMPARE(dialog->maximum(), 30);
    QCOMPARE(dialog->findChild<QPushButton*>()->text(), QStringLiteral("Interrompi"));
    // The last progress shown; the dialog went away by itself at the maximum.
    QCOMPARE(dialog->findChild<QLabel*>()->text(), QStringLiteral("30 di 30"));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(w.findChildren<QProgressDialog*>().size(), 1);
}

void TestImport::realChooser_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("files picked") << true;
    QTest::newRow("cancelled") << false;
}

void TestImport::realChooser()
{
    QFETCH(bool, accept);
    Details d;
    d.title = QStringLiteral("Caruso");
    const QString first = makeSong(QStringLiteral("caruso.mid"), d);
    const QString second = makeSong(QStringLiteral("almeno tu.mp3"), d);
    makeSong(QStringLiteral("notpicked.mid"), d);
    store().setValue(QStringLiteral("copyrightAsk"), false);

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QString caption, directory, filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QTimer timer;
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser || !chooser->isVisible())
            return;
        timer.stop();
        caption = chooser->windowTitle();
        directory = chooser->directory().absolutePath();
        filters = chooser->nameFilters().join(QLatin1Char(';'));
        mode = chooser->fileMode();
        auto* buttons = chooser->findChild<QDialogButtonBox*>();
        if (!accept) {
            buttons->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        // Type the two names, in this order, into the folder of the songs.
        chooser->setDirectory(songsDir->path());
        chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("\"caruso.mid\" \"almeno tu.mp3\""));
        buttons->button(QDialogButtonBox::Open)->click();
    });
    timer.start();
    child<QToolButton>(&w, "selectDirToolButton")->click();

    QCOMPARE(caption, QStringLiteral("Seleziona i file da importare"));
    QCOMPARE(directory, QStringLiteral("/"));
    QCOMPARE(filters, QStringLiteral("Songs (*.mid *.kar *.mp3 *.mf3 *.mf4 *.mf5)"));
    QCOMPARE(mode, QFileDialog::ExistingFiles);
    QAbstractItemModel* m = child<QTableView>(&w, "userLibraryTableView")->model();
    if (accept) {
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(cell(m, 0, 9), first);
        QCOMPARE(cell(m, 1, 9), second);
        QCOMPARE(buttonStates(w), QStringLiteral("111"));
    } else {
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(buttonStates(w), QStringLiteral("100"));
        QVERIFY(logLines().filter(QStringLiteral("IMPORT USER LIBRARY")).isEmpty());
    }
}

void TestImport::cancelledChoiceChangesNothing()
{
    Details d;
    d.title = QStringLiteral("Senza fine");
    const QStringList first = {makeSong(QStringLiteral("one.mid"), d), makeSong(QStringLiteral("two.mf5"), d)};

    MainWindow w;
    importFiles(w, first);
    QAbstractItemModel* m = child<QTableView>(&w, "userLibraryTableView")->model();
    QCOMPARE(m->rowCount(), 2);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));

    logLines().clear();
    const auto seen = importFiles(w, QStringList());
    QVERIFY(seen.isEmpty());
    QCOMPARE(m->rowCount(), 2);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));
    QVERIFY(logLines().filter(QStringLiteral("IMPORT USER LIBRARY")).isEmpty());

    // The earlier choice is still the one an import again reads.
    QFile::remove(first[1]);
    answeringDialogs([&w] { w.importUserLibrary(); });
    QCOMPARE(logLines().filter(QRegularExpression(QStringLiteral("^Found file:"))),
             QStringList({QStringLiteral("Found file: \"%1\"").arg(first[0]),
                          QStringLiteral("Found file: \"%1\"").arg(first[1])}));
    QCOMPARE(m->rowCount(), 1);
}

void TestImport::copyrightRoundTrip()
{
    Details d;
    d.title = QStringLiteral("Estate");
    const QStringList songs = {makeSong(QStringLiteral("estate.mid"), d)};
    const auto stored = [] { return store().value(QStringLiteral("copyrightAsk")); };

    MainWindow w;
    auto* yes = child<QAction>(&w, "actionCopyrightYes");
    auto* no = child<QAction>(&w, "actionCopyrightNo");
    QVERIFY(yes->isChecked() && !no->isChecked());

    // Leaving the box unticked stores the preference as on.
    QCOMPARE(importFiles(w, songs).size(), 1);
    QCOMPARE(stored(), QVariant(true));

    // Ticking it turns the preference off...
    SummaryAnswer tickNo;
    tickNo.tick = true;
    QCOMPARE(importFiles(w, songs, tickNo).size(), 1);
    QCOMPARE(stored().toBool(), false);
    QVERIFY(!yes->isChecked() && no->isChecked());

    // ... so the next import shows no summary and starts no synchronisation.
    logLines().clear();
    QVERIFY(importFiles(w, songs).isEmpty());
    QVERIFY(child<QToolButton>(&w, "updateDataToolButton")->isEnabled());
    QVERIFY(logLines().filter(QStringLiteral("UPDATE USER LIBRARY")).isEmpty());

    // Turned on again from the menu's function, the summary comes back;
    // ticked with "Si" it turns off and the synchronisation still runs.
    w.enableCopyrightMessage(true);
    QCOMPARE(stored().toBool(), true);
    QVERIFY(yes->isChecked() && !no->isChecked());
    SummaryAnswer tickYes;
    tickYes.tick = true;
    tickYes.yes = true;
    const auto seen = importFiles(w, songs, tickYes);
    QCOMPARE(stored().toBool(), false);
    QVERIFY(!yes->isChecked() && no->isChecked());
    // The synchronisation begins with its backup offer, closed here, so it
    // returns false and stays available.
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].className, QStringLiteral("BackupDialog"));
    QCOMPARE(logLines().filter(QStringLiteral("UPDATE USER LIBRARY")).size(), 1);
    QCOMPARE(buttonStates(w), QStringLiteral("111"));
}

void TestImport::logOfARun()
{
    Details d;
    d.title = QStringLiteral("Vecchio frack");
    d.tavrel = true;
    const QString good = makeSong(QStringLiteral("frack.mid"), d);
    const QString bad = makeFile(QStringLiteral("frack.mp3"), "not a song");

    MainWindow w;
    QVERIFY(logLines().contains(QStringLiteral("DB initialized correctly")));
    logLines().clear();
    importFiles(w, {good, bad});

    const QString rule(44, QLatin1Char('='));
    const QStringList expected = {rule,
                                  QStringLiteral("          IMPORT USER LIBRARY"),
                                  rule,
                                  QStringLiteral("Found file: \"%1\"").arg(good),
                                  QStringLiteral("Song Index:  1"),
                                  QStringLiteral("Format     : \"MIDI\""),
                                  QStringLiteral("Filename   : \"%1\"").arg(good),
                                  QStringLiteral("Shortname  : \"frack.mid\""),
                                  QStringLiteral("Title      : \"Vecchio frack\""),
                                  QStringLiteral("Found file: \"%1\"").arg(bad),
                                  QStringLiteral("Unknown/corrupted file \"%1\"").arg(bad)};
    // In this order, with the rest of the song's dump in between.
    int at = 0;
    for (const QString& line : expected) {
        const int found = logLines().indexOf(line, at);
        QVERIFY2(found >= 0, qPrintable(line + QLatin1String("\n--- log:\n") + logLines().join(QLatin1Char('\n'))));
        at = found + 1;
    }
    QCOMPARE(logLines().filter(QStringLiteral("IMPORT USER LIBRARY")).size(), 1);
}

void TestImport::databaseFailure()
{
    // The reference database in the working folder cannot be opened.
    QVERIFY(QDir(workDir.path()).mkdir(QStringLiteral("songsdb_debug")));

    MainWindow w;
    QVERIFY(logLines().contains(QStringLiteral("Error initializing DB !!!")));
    QVERIFY(!logLines().contains(QStringLiteral("DB initialized correctly")));
    QVERIFY(!child<QTableView>(&w, "userLibraryTableView")->model());
    QCOMPARE(buttonStates(w), QStringLiteral("000"));
    // No workflow runs without the library.
    w.importUserLibrary();
    QVERIFY(logLines().filter(QStringLiteral("IMPORT USER LIBRARY")).isEmpty());

    // Told once, after the window is shown.
    const auto seen = answeringDialogs([&w] {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(100);
        w.hide();
        w.show();
        QTest::qWait(100);
    });
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].className, QStringLiteral("QMessageBox"));
    QCOMPARE(seen[0].text, QStringLiteral("Impossibile aprire i database delle song: le funzioni della libreria "
                                          "non sono disponibili."));
    QCOMPARE(buttonStates(w), QStringLiteral("000"));
}

void TestImport::screenshot()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    const QList<QStringList> library = {
        {"volare.mid", "Volare", "Domenico Modugno", "POP", "Migliacci", "200", "126"},
        {"azzurro.mp3", "Azzurro", "Adriano Celentano", "POP", "Conte", "214", "120"},
        {"caruso.mf3", "Caruso", "Lucio Dalla", "BALLAD", "Dalla", "301", "66"},
        {"estate.mf4", "Estate", "Bruno Martino", "JAZZ", "Martino", "245", "96"},
        {"senza_fine.mid", "Senza fine", "Gino Paoli", "BALLAD", "Paoli", "182", "72"},
        {"il_cielo.kar", "Il cielo in una stanza", "Mina", "POP", "Paoli", "170", "80"},
        {"sapore.mf5", "Sapore di sale", "Gino Paoli", "POP", "Paoli", "190", "110"},
        {"tintarella.mid", "Tintarella di luna", "Mina", "TWIST", "De Filippi", "150", "140"},
        {"nessuno.mp3", "Nessuno", "Mina", "ROCK", "Testa", "160", "150"},
        {"mare.mid", "Il mare d'inverno", "Loredana Berte", "POP", "Ruggeri", "240", "88"},
        {"gloria.mf3", "Gloria", "Umberto Tozzi", "DANCE", "Tozzi", "260", "128"},
        {"vita.mp3", "La vita e' bella", "Orchestra Tavrel", "LISCIO", "Tavrel", "205", "160"}};
    QStringList paths;
    for (const QStringList& s : library) {
        Details d{s[1], s[2], s[3], s[4], s[5].toInt(), s[6].toInt(), true};
        paths << makeSong(s[0], d);
    }
    store().setValue(QStringLiteral("copyrightAsk"), false);

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    importFiles(w, paths);
    QCOMPARE(child<QTableView>(&w, "userLibraryTableView")->model()->rowCount(), 12);
    QCoreApplication::processEvents();

    const QImage shot = w.grab().toImage();
    QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
    if (dir.isEmpty()) // the build folder, beside the test programs' folder
        dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots");
    QVERIFY(QDir().mkpath(dir));
    const QString path = QDir::cleanPath(QDir(dir).filePath(QStringLiteral("mainwindow-library.png")));
    QVERIFY(shot.save(path));
    qInfo("Screenshot saved to %s", qPrintable(path));
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
