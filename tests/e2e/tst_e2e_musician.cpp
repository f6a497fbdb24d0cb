// A musician's whole session through the real widgets, from import to the
// songs list of a memory; then every file on disk, the seven index files and
// the list are checked.
#include "app/stylesheet.h"
#include "database/database.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "mainwindow/backupdialog.h"
#include "tests/mainwindow/windowtest.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

using namespace TestSongs;
using namespace WindowTest;

namespace {

using Shown = QMap<QString, QPair<QString, QString>>;  // path on the memory -> title, artist as the player shows them

void screenshot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR", QStringLiteral(ORVALO3_SCREENSHOT_DIR));
    QDir().mkpath(dir);
    QApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Runs a dialog's first steps, then clicks its buttons in turn with a
// screenshot before the last click; from the event loop, so that the script
// keeps answering the message boxes they open.
std::function<void(QWidget*)> steps(const char* shot, QStringList buttons, std::function<void(QWidget*)> first = {})
{
    return [=](QWidget* d) {
        QTimer::singleShot(0, d, [=]() {
            if (first)
                first(d);
            for (int i = 0; i < buttons.size(); ++i) {
                if (i == buttons.size() - 1)
                    screenshot(d, shot);
                child<QAbstractButton>(d, qPrintable(buttons.at(i)))->click();
            }
        });
    };
}

// The files of a folder: name -> bytes.
QMap<QString, QByteArray> contents(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files))
        files.insert(name, readFile(dir + QLatin1Char('/') + name));
    return files;
}

// Reads the seven index files at a memory's root (holding n songs) back as
// the player does; a fault in their layout is shown as a song of its own.
Shown shownByIndex(const QString& root, int n)
{
    const QMap<QString, QByteArray> file = contents(root);
    const QByteArray index = file["index.id3"], titles = file["title.id3"], artists = file["artist.id3"];
    const auto field = [](const QByteArray& data, int pos, int width) {
        return QString::fromLatin1(data.mid(pos, width)).section(QChar(0), 0, 0);
    };
    if (file.size() != 7 || index.size() != 270 * n || file["ordfile.id3"].size() != 2 * n || titles.size() != 64 * n
        || file["atitle.id3"].size() != 256 || file["aartist.id3"].size() != 256 || file["fsinfos.id3"].size() != 12)
        return {{QStringLiteral("fault"), {QStringLiteral("file sizes"), QString()}}};
    QStringList paths;  // index.id3: the path of song k in record k
    for (int k = 0; k < n; ++k)
        paths << field(index, 270 * k + 4, 252);
    Shown shown;
    for (int k = 0; k < n; ++k) {  // title.id3: each song with its title, in title order
        const QString title = field(titles, 64 * k + 4, 58), previous = k ? field(titles, 64 * k - 60, 58) : QString();
        const bool ascii = (previous + title).toUtf8() == (previous + title).toLatin1();  // others: the file's bytes
        if (ascii && QString::compare(previous, title, Qt::CaseInsensitive) > 0)
            shown[QStringLiteral("fault")].first = QStringLiteral("title order at ") + title;
        shown[paths.value(int(qFromBigEndian<quint32>(titles.constData() + 64 * k)))].first = title;
    }
    int pos = 0;  // artist.id3: a header per artist, then its songs
    while (pos + 64 <= artists.size() && artists.mid(pos + 62, 2) == QByteArray("\0\xFF", 2)) {
        const int count = qFromBigEndian<quint16>(artists.constData() + pos + 2);
        for (int i = 1; i <= count; ++i) {
            const int id = int(qFromBigEndian<quint32>(artists.constData() + pos + 64 * i));
            shown[paths.value(id)].second = field(artists, pos + 4, 58);
        }
        pos += 64 * (1 + count);
    }
    if (pos != artists.size() || qFromLittleEndian<quint16>(file["fsinfos.id3"].constData()) != n)
        shown[QStringLiteral("fault")].second = QStringLiteral("artist.id3 or fsinfos.id3");
    return shown;
}

} // namespace

class TestE2eMusician : public QObject
{
    Q_OBJECT

private slots:
    void wholeSession();
};

void TestE2eMusician::wholeSession()
{
    Sandbox sandbox;  // no "songsdb_debug" in its folder: the shipped catalogue is used
    QTemporaryDir volumes, picked, backups;
    qputenv("ORVALO3_VOLUMES_DIR", volumes.path().toUtf8());
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    const auto add = [&picked](const QString& name, const Details& d) {
        const QByteArray song = songFor(name, d);  // an MP3 without details has no tag at all
        const bool bare = name.endsWith(QLatin1String(".mp3")) && d.title.isEmpty() && !d.tavrel;
        return writeFile(picked.filePath(name), bare ? song.mid(10) : song);
    };

    // 30 files: catalogue songs in every format, unknown songs, an MP3 with a ".cdg" companion, a damaged file.
    QMap<QString, QPair<QString, QString>> records;  // file name -> title and artist from the catalogue
    {
        Database db;
        QVERIFY(db.init());
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("con_songsdb"), false));
        QVERIFY(q.exec(QStringLiteral("select filename, trim(title), coalesce(nullif(trim(altartist), ''), trim(artist)) "
                                      "from songs order by filename")) && q.last() && q.at() > 100);
        const int step = q.at() / 20;
        const char* const formats[] = {"mid", "kar", "mf3", "mf4", "mf5", "mp3", "mid", "mp3", "mid", "kar",
                                       "mf3", "mp3", "mid", "mf5", "kar", "mp3", "mid", "mf4", "mp3", "kar"};
        for (int i = 0; i < 20; ++i) {
            QVERIFY(q.seek(i * step));
            const QString name = q.value(0).toString().toLower() + QLatin1Char('.') + QLatin1String(formats[i]);
            records.insert(name, {q.value(1).toString(), q.value(2).toString()});
            QVERIFY(add(name, {{}, {}, {}, {}, 0, 0, i % 4 == 0, {}}));
        }
    }
    struct Own { const char *name, *title, *artist; bool tavrel; };
    const Own own[] = {{"own tune.mid", "Own tune", "Our Band", false}, {"intro loop.mf3", "Intro loop", "Drummer", true},
                       {"ballad.mf4", "Ballad", "Singer", true}, {"medley.mf5", "Medley", "Trio", true},
                       {"karaoke night.mp3", "Karaoke night", "Guests", false}, {"untagged.mp3", "", "", false},
                       {"demo.mid", "Demo", "", false}, {"encore.kar", "Encore", "Our Band", true},
                       {"finale.mp3", "Finale", "Our Band", true}};
    for (const Own& s : own)
        QVERIFY(add(QLatin1String(s.name), {s.title, s.artist, {}, {}, 0, 0, s.tavrel, {}}));
    QVERIFY(writeFile(picked.filePath(QStringLiteral("damaged.mid")), "MThd but not really a song"));
    QVERIFY(writeFile(picked.filePath(QStringLiteral("karaoke night.cdg")), QByteArray(2400, '\x09')));
    const QMap<QString, QByteArray> original = contents(picked.path());
    QStringList files;  // every picked file but the companion
    for (const QString& name : QDir(picked.path()).entryList({"*.mid", "*.kar", "*.mf?", "*.mp3"}))
        files << picked.filePath(name);

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    UserSongsRelTableModel* model = libraryModel(w);

    // ---- import, summary "Si", backup, synchronisation ------------------------
    BackupDialog::setFolderChooser([&backups](QWidget*, const QString&, const QString&) { return backups.path(); });
    QString summary, report;
    {
        ModalScript script;
        script.then("ProceedDialog", steps("e2e-summary", {"yesPushButton"}, [&summary](QWidget* d) {
                  summary = child<QLabel>(d, "msgLabel")->text();
              }))
            .then("BackupDialog", steps("e2e-backup", {"browsePushButton", "doBackupPushButton"}))
            .box()
            // The first catalogue song that is not the maker's: "Si tutti" synchronises it and the rest.
            .then("NoCopyrightDialog", steps("e2e-copyright", {"yesAllPushButton"}))
            .then("QMessageBox", [&report](QWidget* box) {
                QTimer::singleShot(0, box, [&report, box]() {
                    report = static_cast<QMessageBox*>(box)->informativeText();
                    screenshot(box, "e2e-sync-summary");
                    static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
                });
            });
        pickFiles(w, files);
        VERIFY_SCRIPT(script);
    }
    // 30 files examined, 29 songs, 15 of them the maker's (MFx songs and those with the notice).
    QCOMPARE(summary.split(QRegularExpression("\\D+"), Qt::SkipEmptyParts), (QStringList{"30", "29", "15"}));
    // The report: the 20 catalogue songs updated, the 9 others not found.
    QCOMPARE(report.split(QRegularExpression("\\D+"), Qt::SkipEmptyParts), (QStringList{"20", "9", "0", "0", "0"}));
    screenshot(&w, "e2e-mainwindow-synchronised");
    // The backup: every song of the list and the companion, as they were, and the manifest.
    const QStringList backupDirs = QDir(backups.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(backupDirs.size(), 1);
    QMap<QString, QByteArray> backedUp = contents(backups.filePath(backupDirs.first())), onList = original;
    QCOMPARE(backedUp.take(QStringLiteral("manifest.txt")).count('\n'), 31);
    onList.remove(QStringLiteral("damaged.mid"));  // never in the list
    QVERIFY(backedUp == onList);

    // Catalogue songs now hold its title and artist (an MFx header keeps 32 bytes of each); the others are untouched.
    QStringList songs;  // the library's songs by file name, row by row
    QMap<QString, SongInfo> synced;
    for (int row = 0; row < model->goodRowCount(); ++row) {
        const QString name = model->shortName(row);
        songs << name;
        const SongInfo info = readInfo(picked.filePath(name));
        const auto kept = [&name](const QString& got, const QString& full) {
            return got == full || (name.contains(QLatin1String(".mf")) && !got.isEmpty() && full.startsWith(got));
        };
        synced.insert(name, info);
        if (records.contains(name))
            QVERIFY2(kept(info.title, records[name].first) && kept(info.artist, records[name].second), qPrintable(name));
        else
            QVERIFY2(readFile(picked.filePath(name)) == original.value(name), qPrintable(name));
        QCOMPARE(model->status(row), int(records.contains(name) ? Database::StatusUpdated : Database::StatusNotFound));
    }

    // ---- one song edited by hand, its artist applied to all --------------------
    const QString edited = records.firstKey();
    const QString card = volumes.filePath(QStringLiteral("CARD"));
    QVERIFY(QDir().mkpath(card));
    w.setDirChooser([card](QWidget*, const QString&, const QString&) { return card; });
    {
        ModalScript script;  // applying the artist to all asks first; the transfer reports

        script.then("DataEditDialog", steps("e2e-edit", {"checkBoxToAllArtist", "savePushButton"}, [](QWidget* d) {
                  child<QLineEdit>(d, "titleLineEdit")->setText(QStringLiteral("Opening number"));
                  child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("The House Band"));
              }))
            .box(QMessageBox::Yes)
            .box();
        emit child<QTableView>(&w, "userLibraryTableView")->doubleClicked(model->index(songs.indexOf(edited), 2));
        for (int row = 0; row < songs.size(); ++row) {
            const SongInfo info = readInfo(picked.filePath(songs.at(row)));
            QCOMPARE(info.title, songs[row] == edited ? QStringLiteral("Opening number") : synced[songs[row]].title);
            QCOMPARE(info.artist, QStringLiteral("The House Band"));
            QCOMPARE(info.length, synced.value(songs.at(row)).length);
            QCOMPARE(model->status(row), int(Database::StatusManual));
        }
        // ---- transfer to the memory's top folder: every song of the list as it now is ----
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        VERIFY_SCRIPT(script);
    }
    onList = contents(picked.path());
    onList.remove(QStringLiteral("damaged.mid"));  // reported as not copied
    QVERIFY(contents(card + QStringLiteral("/songs")) == onList);
    for (const char* name : {"damaged.mid", "karaoke night.cdg"})  // never touched
        QCOMPARE(readFile(picked.filePath(name)), original.value(name));

    // The player shows titles in upper case (not compared: a song without one, accented ones, MFx songs, whose
    // texts the index reads 16 bytes beyond the header fields the editor writes) and the artist all now share.
    const Shown shown = shownByIndex(card, 29);
    QStringList paths;
    for (const QString& name : songs) {
        const QString title = readInfo(picked.filePath(name)).title.toUpper(), path = QStringLiteral("/songs/") + name;
        paths << path;
        if (name.contains(QLatin1String(".mf")))
            continue;
        if (!title.isEmpty() && title.toUtf8() == title.toLatin1())
            QCOMPARE(shown.value(path).first, title);
        QCOMPARE(shown.value(path).second, QStringLiteral("THE HOUSE BAND"));
    }
    paths.sort();
    QCOMPARE(shown.keys(), paths);

    // ---- Tools > rebuild from no index at all, then update; Tools > songs list ----
    const QMap<QString, QByteArray> transferred = contents(card);
    for (const QString& name : transferred.keys())
        QVERIFY(QFile::remove(card + QLatin1Char('/') + name));
    QMap<QString, QByteArray> rebuilt;
    IndexDialog::setFolderChooser([card](QWidget*, const QString&, const QString&) { return card + "/songs"; });
    SongsListDialog::setFolderChooser([card](QWidget*, const QString&, const QString&) { return card; });
    SongsListDialog::setSaveFileChooser(
        [&backups](QWidget*, const QString&, const QString&, const QString&) { return backups.filePath("list.csv"); });
    {
        ModalScript script;  // a mouse press without Shift starts a run, writing to the memory's root
        script.then("IndexDialog", steps("e2e-optimize", {"pushButtonClose"}, [&rebuilt, card](QWidget* d) {
                  child<QAbstractButton>(d, "pushButtonBrowse")->click();
                  child<QAbstractButton>(d, "radioButtonRebuild")->click();
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
                  rebuilt = contents(card);
                  child<QAbstractButton>(d, "radioButtonUpdate")->click();
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
              }))
            .box()
            .box()
            .then("SongsListDialog", steps("e2e-songslist", {"pushButtonBrowseSrc", "pushButtonBrowseDest",
                                                             "pushButtonStart", "pushButtonClose"}))
            .box();
        child<QAction>(&w, "optimizeMemory")->trigger();
        QVERIFY(rebuilt == transferred && contents(card) == transferred);  // the update rewrote the same bytes
        child<QAction>(&w, "actionSongsList")->trigger();
        VERIFY_SCRIPT(script);
    }
    const QByteArray list = readFile(backups.filePath("list.csv"));  // what the index holds, lines ending in "\n"
    QVERIFY(!list.contains('\r') && list.endsWith(";\n"));
    QStringList lines = QString::fromLocal8Bit(list).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("TITOLO;ARTISTA;FILE;"));
    Shown listed;
    for (const QString& line : lines)  // title;artist;path;
        listed[line.section(';', 2, 2)] = {line.section(';', 0, 0), line.section(';', 1, 1)};
    QVERIFY(listed == shown);
}

QTEST_MAIN(TestE2eMusician)
#include "tst_e2e_musician.moc"
