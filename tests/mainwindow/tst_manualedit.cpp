#include "mainwindow/mainwindow.h"

#include "../songfiles/tst_metasong_helpers.h"
#include "modaldriver.h"

#include "app/settingskeys.h"
#include "database/usersongsreltablemodel.h"
#include "resources/appresources.h"
#include "songfiles/metasong.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace SongBytes;

// The song editor and the context menu as the user meets them in the main
// window, on song files of every format.
class TestManualEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensAndCancels_data();
    void opensAndCancels();
    void savesEdits_data();
    void savesEdits();
    void keyOutsideList_data();
    void keyOutsideList();
    void applyToAll_data();
    void applyToAll();
    void stopDuringWholeList();
    void scrollsToEditedRow();
    void contextMenu_data();
    void contextMenu();

private:
    // Songs a..e of every format in a fresh folder, imported into a new window.
    void openLibrary(const QStringList& extraFiles = {});
    QString path(const QString& name) const { return songs->filePath(name); }
    int rowOf(const QString& name) const;
    void doubleClick(int row);
    void openContextMenu(const QPoint& viewportPos);
    QPoint rowPos(int row) const;
    static SongInfo read(const QString& file);
    QStringList listedFiles() const;

    QTemporaryDir configDir;
    QTemporaryDir workDir;
    std::unique_ptr<QTemporaryDir> songs;
    std::unique_ptr<MainWindow> window;
    QTableView* view = nullptr;
    UserSongsRelTableModel* model = nullptr;
};

namespace {

const QStringList kSongs = {"a_alpha.mid", "b_beta.mf3", "c_gamma.mp3", "d_delta.mf5", "e_epsilon.mid"};

SongInfo songFor(const QString& name)
{
    const QMap<QString, QString> details = {
        {"a_alpha.mid", "t=Alpha|a=Owls|g=ROCK|au=Smith|len=185|bpm=120|k=D"},
        {"b_beta.mf3", "t=Beta|a=Cats|g=POP|au=Jones|len=200|bpm=90|k=C|ln=BETA"},
        {"c_gamma.mp3", "t=Gamma|a=Dogs|g=JAZZ|au=Brown|len=240|bpm=100|k=D"},
        {"d_delta.mf5", "t=Delta|a=Bats|g=SOUL|au=White|len=150|bpm=80|k=D|ln=DELTA"},
        {"e_epsilon.mid", "t=Epsilon|a=Rats|g=FUNK|au=Black|len=100|bpm=110"},
    };
    return song(details.value(name, QStringLiteral("t=Extra|a=Moles|len=60|bpm=70")));
}

QString format(const QString& name)
{
    return QFileInfo(name).suffix();
}

template <typename T> T* child(QObject* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

void setText(QDialog* d, const char* name, const QString& text)
{
    child<QLineEdit>(d, name)->setText(text);
}

} // namespace

void TestManualEdit::initTestCase()
{
    QVERIFY(configDir.isValid() && workDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QVERIFY(QDir::setCurrent(workDir.path()));
    initAppResources();
    // No import summary: the library is there as soon as the files are read.
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
        .setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
}

void TestManualEdit::init()
{
    songs.reset(new QTemporaryDir);
    QVERIFY(songs->isValid());
}

void TestManualEdit::cleanup()
{
    window.reset();
    songs.reset();
}

void TestManualEdit::openLibrary(const QStringList& extraFiles)
{
    QStringList files;
    for (const QString& name : kSongs + extraFiles) {
        QVERIFY(writeFile(path(name), fileFor(format(name), songFor(name))));
        files << path(name);
    }
    window.reset(new MainWindow);
    window->setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    child<QToolButton>(window.get(), "selectDirToolButton")->click();
    view = child<QTableView>(window.get(), "userLibraryTableView");
    model = qobject_cast<UserSongsRelTableModel*>(view->model());
    QVERIFY(model);
    QCOMPARE(model->goodRowCount(), files.size());
}

int TestManualEdit::rowOf(const QString& name) const
{
    return listedFiles().indexOf(path(name));
}

QStringList TestManualEdit::listedFiles() const
{
    QStringList files;
    for (int r = 0; r < model->goodRowCount(); ++r)
        files << model->fileName(r);
    return files;
}

QPoint TestManualEdit::rowPos(int row) const
{
    const QModelIndex title = model->index(row, 2);
    view->scrollTo(title);
    return view->visualRect(title).center();
}

void TestManualEdit::doubleClick(int row)
{
    const QPoint at = rowPos(row);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void TestManualEdit::openContextMenu(const QPoint& viewportPos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, viewportPos, view->viewport()->mapToGlobal(viewportPos));
    QApplication::sendEvent(view->viewport(), &event);
}

SongInfo TestManualEdit::read(const QString& file)
{
    MetaSong s;
    SongInfo info;
    if (s.importFile(file))
        s.getSongInfo(info);
    return info;
}

void TestManualEdit::opensAndCancels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("formatText");
    QTest::addColumn<QString>("key");

    QTest::newRow("MIDI") << "a_alpha.mid" << "MIDI" << "D";
    QTest::newRow("MF3") << "b_beta.mf3" << "MF3" << "C";
    QTest::newRow("MF5") << "d_delta.mf5" << "MF5" << "D";
    QTest::newRow("MP3") << "c_gamma.mp3" << "MP3" << "D";
}

void TestManualEdit::opensAndCancels()
{
    QFETCH(QString, name);
    QFETCH(QString, formatText);
    QFETCH(QString, key);
    openLibrary();
    const SongInfo s = songFor(name);
    const QByteArray before = readFile(path(name));
    const int row = rowOf(name);

    QStringList shown;
    QStringList keys;
    ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
        for (const char* label : {"fileNameLabel", "formatLabel"})
            shown << child<QLabel>(d, label)->text();
        for (const char* edit : {"titleLineEdit", "authorLineEdit", "lenMmLineEdit", "lenSsLineEdit", "bpmLineEdit"})
            shown << child<QLineEdit>(d, edit)->text();
        for (const char* combo : {"artistComboBox", "genreComboBox", "keyComboBox"})
            shown << child<QComboBox>(d, combo)->currentText();
        auto* keyBox = child<QComboBox>(d, "keyComboBox");
        for (int i = 0; i < keyBox->count(); ++i)
            keys << keyBox->itemText(i);
        // Changes made before cancelling go nowhere.
        setText(d, "titleLineEdit", QStringLiteral("Changed"));
        QTest::mouseClick(child<QPushButton>(d, "exitPushButton"), Qt::LeftButton);
    });
    LogCapture log;
    doubleClick(row);

    QCOMPARE(shown, QStringList({path(name), formatText, s.title, s.author, QString::number(s.length / 60),
                                 QString::number(s.length % 60), QString::number(s.userBpm), s.artist, s.genre,
                                 key}));
    QCOMPARE(keys.size(), 31);
    QCOMPARE(keys.first() + keys.at(1) + keys.last(), QStringLiteral("CD-"));

    QVERIFY(log.lines().contains(QStringLiteral("Rejected!")));
    QVERIFY(!log.lines().contains(QStringLiteral("Accepted")));
    QCOMPARE(readFile(path(name)), before);
    QCOMPARE(model->status(row), int(Database::StatusNone));
    QCOMPARE(model->index(row, 2).data().toString(), s.title);
}

void TestManualEdit::savesEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("MIDI") << "a_alpha.mid";
    QTest::newRow("MF3") << "b_beta.mf3";
    QTest::newRow("MP3") << "c_gamma.mp3";
}

void TestManualEdit::savesEdits()
{
    QFETCH(QString, name);
    openLibrary();
    const int row = rowOf(name);
    const QString title = QStringLiteral("Città è già Ünïcode");
    const SongInfo untouched = read(path(name));

    // First save: new details typed in; second save: the editor opened on
    // what the first one wrote, saved as it is.
    for (int round = 0; round < 2; ++round) {
        ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
            if (round == 0) {
                setText(d, "titleLineEdit", QStringLiteral("  ") + title);
                child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("Nuovo Artista"));
                child<QComboBox>(d, "genreComboBox")->setEditText(QStringLiteral("BLUES"));
                setText(d, "authorLineEdit", QStringLiteral("Rossi"));
                setText(d, "lenMmLineEdit", QString());
                setText(d, "lenSsLineEdit", QString());
                QTest::keyClicks(child<QLineEdit>(d, "lenMmLineEdit"), QStringLiteral("3"));
                QTest::keyClicks(child<QLineEdit>(d, "lenSsLineEdit"), QStringLiteral("75"));
                setText(d, "bpmLineEdit", QString());
                QTest::keyClicks(child<QLineEdit>(d, "bpmLineEdit"), QStringLiteral("1334"));
                child<QComboBox>(d, "keyComboBox")->setCurrentText(QStringLiteral("A-"));
            }
            QTest::mouseClick(child<QPushButton>(d, "savePushButton"), Qt::LeftButton);
        });
        doubleClick(row);

        const SongInfo saved = read(path(name));
        QCOMPARE(saved.title, title);
        QCOMPARE(saved.artist, QStringLiteral("Nuovo Artista"));
        QCOMPARE(saved.genre, QStringLiteral("BLUES"));
        QCOMPARE(saved.author, QStringLiteral("Rossi"));
        QCOMPARE(saved.length, 255);
        QCOMPARE(saved.userBpm, 133);
        QCOMPARE(saved.key, QStringLiteral("A-"));
        QCOMPARE(saved.format, untouched.format);
        QCOMPARE(saved.markers, untouched.markers);

        QCOMPARE(model->index(row, 2).data().toString(), title);
        QCOMPARE(model->index(row, 6).data().toString(), QStringLiteral("04:15"));
        QCOMPARE(model->index(row, 8).data().toString(), QStringLiteral("A-"));
        QCOMPARE(model->status(row), int(Database::StatusManual));
    }
    // The other songs were left alone.
    for (const QString& other : kSongs)
        if (other != name)
            QCOMPARE(readFile(path(other)), fileFor(format(other), songFor(other)));
}

void TestManualEdit::keyOutsideList_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("catalogue form") << "A -";
    QTest::newRow("tagger form") << "Am";
}

void TestManualEdit::keyOutsideList()
{
    // An MP3 tag may hold a key in a form that is not one of the list's
    // names: an unrelated edit must not drop it.
    QFETCH(QString, key);
    openLibrary();
    const QString name = QStringLiteral("c_gamma.mp3");
    MetaSong song;
    QVERIFY(song.importFile(path(name)));
    SongInfo info = read(path(name));
    info.key = key;
    song.setSongInfo(info, true);
    QVERIFY(song.saveToFile(path(name)));

    QString shownKey;
    int keyIndex = -1;
    ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
        auto* keys = child<QComboBox>(d, "keyComboBox");
        shownKey = keys->currentText();
        keyIndex = keys->currentIndex();
        setText(d, "authorLineEdit", QStringLiteral("Verdi"));
        QTest::mouseClick(child<QPushButton>(d, "savePushButton"), Qt::LeftButton);
    });
    doubleClick(rowOf(name));
    QCOMPARE(shownKey, key);
    QCOMPARE(keyIndex, 31);
    QCOMPARE(read(path(name)).key, key);
    QCOMPARE(read(path(name)).author, QStringLiteral("Verdi"));

    // Choosing the empty item still removes the key.
    ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
        child<QComboBox>(d, "keyComboBox")->setCurrentIndex(0);
        QTest::mouseClick(child<QPushButton>(d, "savePushButton"), Qt::LeftButton);
    });
    doubleClick(rowOf(name));
    QCOMPARE(read(path(name)).key, QString());
}

void TestManualEdit::applyToAll_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("detail");

    QTest::newRow("author") << "checkBoxToAllAuthor" << "author";
    QTest::newRow("artist") << "checkBoxToAllArtist" << "artist";
    QTest::newRow("genre") << "checkBoxToAllGenre" << "genre";
    QTest::newRow("title from file name") << "checkBoxToAllTitle" << "title";
}

void TestManualEdit::applyToAll()
{
    QFETCH(QString, box);
    QFETCH(QString, detail);
    openLibrary();
    // A listed file that can no longer be read is passed over.
    const QByteArray broken("MThd not a song any more");
    QVERIFY(writeFile(path("e_epsilon.mid"), broken));
    // Sorted by title, so list rows and file order differ.
    view->sortByColumn(2, Qt::DescendingOrder);
    const QString edited = QStringLiteral("b_beta.mf3");
    const int editedRow = rowOf(edited);
    QMap<QString, SongInfo> before;
    for (const QString& name : kSongs)
        before[name] = read(path(name));

    const auto field = [&detail](SongInfo& s) -> QString& {
        return detail == "author" ? s.author : detail == "artist" ? s.artist : detail == "genre" ? s.genre : s.title;
    };
    ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
        if (detail == "title")
            QTest::mouseClick(child<QRadioButton>(d, "radioButtonTitle2"), Qt::LeftButton);
        setText(d, "authorLineEdit", QStringLiteral("  Common Author "));
        child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("Common Artist"));
        child<QComboBox>(d, "genreComboBox")->setEditText(QStringLiteral("COMMON"));
        ModalDriver::answer(QMessageBox::Yes);
        QTest::mouseClick(child<QCheckBox>(d, qPrintable(box)), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(d, "savePushButton"), Qt::LeftButton);
    });
    LogCapture log;
    doubleClick(editedRow);

    for (const QString& name : kSongs) {
        const int row = rowOf(name);
        if (name == QLatin1String("e_epsilon.mid")) {
            QCOMPARE(readFile(path(name)), broken);
            QCOMPARE(model->status(row), int(Database::StatusNone));
            continue;
        }
        SongInfo expected = before[name];
        if (name == edited) {
            expected.author = QStringLiteral("Common Author");
            expected.artist = QStringLiteral("Common Artist");
            expected.genre = QStringLiteral("COMMON");
        }
        const QString common = detail == "author" ? "Common Author" : detail == "artist" ? "Common Artist" : "COMMON";
        field(expected) = detail == "title" ? QFileInfo(name).completeBaseName() : common;
        SongInfo now = read(path(name));
        QCOMPARE(field(now), field(expected));
        QVERIFY2(now == expected, qPrintable(name));
        QCOMPARE(model->status(row), int(Database::StatusManual));
        QCOMPARE(model->index(row, 2).data().toString(), expected.title);
        QCOMPARE(log.lines().count("Saving to file:  \"" + path(name) + "\""), 1);
    }
    QCOMPARE(log.lines().count(QStringLiteral("Accepted")), 1);
    QProgressDialog* progress = window->findChild<QProgressDialog*>();
    QVERIFY(progress);
    QVERIFY(!progress->isVisible());
    QCOMPARE(progress->windowTitle(), QStringLiteral("Aggiornamento file"));
}

void TestManualEdit::stopDuringWholeList()
{
    openLibrary({"f_extra.mid", "g_extra.mid"});
    const QStringList all = listedFiles();
    QMap<QString, QByteArray> before;
    for (const QString& file : all)
        before[file] = readFile(file);

    ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
        setText(d, "authorLineEdit", QStringLiteral("Stopper"));
        ModalDriver::answer(QMessageBox::Yes);
        QTest::mouseClick(child<QCheckBox>(d, "checkBoxToAllAuthor"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(d, "savePushButton"), Qt::LeftButton);
    });
    // "Interrompi" is pressed as soon as the second song has been written.
    LogCapture log;
    QTimer stopper;
    stopper.setInterval(0);
    connect(&stopper, &QTimer::timeout, [&]() {
        if (log.lines().count(QStringLiteral("Ok")) < 2)
            return;
        stopper.stop();
        auto* progress = window->findChild<QProgressDialog*>();
        QVERIFY(progress);
        for (QPushButton* b : progress->findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Interrompi"))
                b->click();
    });
    stopper.start();
    doubleClick(0);

    QCOMPARE(log.lines().count(QStringLiteral("Ok")), 2);
    for (int row = 0; row < all.size(); ++row) {
        const bool done = row < 2;
        QCOMPARE(read(all[row]).author == QLatin1String("Stopper"), done);
        QCOMPARE(model->status(row), done ? int(Database::StatusManual) : int(Database::StatusNone));
        if (!done)
            QCOMPARE(readFile(all[row]), before[all[row]]);
    }
}

void TestManualEdit::scrollsToEditedRow()
{
    QStringList extra;
    for (int i = 0; i < 60; ++i)
        extra << QString("x_%1.mid").arg(i, 2, 10, QLatin1Char('0'));
    openLibrary(extra);
    view->scrollToTop();
    // The lowest row wholly in sight, with the view at its top.
    const int row = view->rowAt(view->viewport()->height() - 1) - 1;
    QVERIFY(row > 5 && row < model->goodRowCount() - 10);
    const auto offCentre = [this, row]() {
        return qAbs(view->visualRect(model->index(row, 2)).center().y() - view->viewport()->height() / 2);
    };

    // Cancelling leaves the view where it is; saving brings the edited row
    // to the middle.
    for (const bool save : {false, true}) {
        ModalDriver::when<DataEditDialog>([&](DataEditDialog* d) {
            setText(d, "titleLineEdit", QStringLiteral("Edited"));
            QTest::mouseClick(child<QPushButton>(d, save ? "savePushButton" : "exitPushButton"), Qt::LeftButton);
        });
        doubleClick(row);
        QCOMPARE(view->verticalScrollBar()->value() == 0, !save);
        QCOMPARE(offCentre() <= view->rowHeight(row), save);
    }
    QCOMPARE(model->index(row, 2).data().toString(), QStringLiteral("Edited"));
}

void TestManualEdit::contextMenu_data()
{
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deletable");
    QTest::addColumn<bool>("rowGone");
    QTest::addColumn<bool>("fileGone");

    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("remove from list") << true << "Remove from list" << 0 << true << true << false;
    QTest::newRow("delete, yes") << true << "Delete file" << yes << true << true << true;
    QTest::newRow("delete, no") << true << "Delete file" << no << true << false << false;
    // Replaced after the import by something no one, root included, can
    // delete as a file: a folder with content.
    QTest::newRow("delete, cannot") << true << "Delete file" << yes << false << false << false;
    QTest::newRow("menu dismissed") << true << "" << 0 << true << false << false;
    QTest::newRow("below last row, remove") << false << "Remove from list" << 0 << true << false << false;
    QTest::newRow("below last row, delete") << false << "Delete file" << 0 << true << false << false;
}

void TestManualEdit::contextMenu()
{
    QFETCH(bool, onRow);
    QFETCH(QString, action);
    QFETCH(int, answer);
    QFETCH(bool, deletable);
    QFETCH(bool, rowGone);
    QFETCH(bool, fileGone);
    openLibrary();
    const QString name = QStringLiteral("c_gamma.mp3");
    if (!deletable) {
        QVERIFY(QFile::remove(path(name)));
        QVERIFY(QDir().mkpath(path(name)));
        QVERIFY(writeFile(path(name) + "/inside.txt", "kept"));
    }
    const QStringList before = listedFiles();
    const int last = before.size() - 1;
    const QPoint at = onRow ? rowPos(rowOf(name))
                            : QPoint(rowPos(last).x(), view->visualRect(model->index(last, 2)).bottom() + 20);
    QCOMPARE(view->indexAt(at).isValid(), onRow);

    QStringList menuTexts;
    QStringList asked;
    QString warning;
    ModalDriver::chooseFromMenu(action, &menuTexts);
    ModalDriver::when<QMessageBox>([&](QMessageBox* box) {
        asked << box->windowTitle() << box->text();
        if (!deletable)
            ModalDriver::answer(QMessageBox::Ok, &warning);
        box->button(QMessageBox::StandardButton(answer))->click();
    }, answer ? 10000 : 500);
    openContextMenu(at);
    if (!answer)
        QTest::qWait(600);

    QCOMPARE(menuTexts, QStringList({"Remove from list", "Delete file"}));
    if (answer)
        QCOMPARE(asked, QStringList({"Attenzione", "Sei sicuro di voler cancellare il file?"}));
    else
        QCOMPARE(asked, QStringList());
    // Only a file that could not be deleted is reported, by its path.
    QCOMPARE(warning.contains(path(name)), !deletable);
    QCOMPARE(QFileInfo::exists(path(name)), !fileGone);
    QCOMPARE(rowOf(name) < 0, rowGone);
    QCOMPARE(model->goodRowCount(), before.size() - (rowGone ? 1 : 0));
    for (const QString& other : kSongs)
        if (other != name)
            QCOMPARE(readFile(path(other)), fileFor(format(other), songFor(other)));
    // The file path and status columns stay out of sight.
    QVERIFY(view->isColumnHidden(model->colIdxFilename()) && view->isColumnHidden(model->colIdxStatus()));
}

QTEST_MAIN(TestManualEdit)
#include "tst_manualedit.moc"
