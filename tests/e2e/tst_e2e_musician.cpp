// A musician's whole session through the real widgets: import a mixed set of
// songs, accept the summary, back up, synchronise with the shipped
// catalogue, edit one song and give every song its artist, transfer to a
// memory, rebuild and update the memory's index, export the songs list; then
// every file on disk, the seven index files and the list are checked.
#include "app/startup.h"
#include "database/database.h"
#include "database/songsdbrecord.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "mainwindow/backupdialog.h"
#include "tests/mainwindow/windowtest.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

namespace {

// Path on the memory -> title and artist as the player shows them; an empty
// text is not compared.
using Shown = QMap<QString, QPair<QString, QString>>;

const char* const indexFiles[] = {"index.id3", "ordfile.id3", "title.id3", "atitle.id3",
                                  "artist.id3", "aartist.id3", "fsinfos.id3"};

void screenshot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR", QStringLiteral(ORVALO3_SCREENSHOT_DIR));
    QDir().mkpath(dir);
    QApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Runs a dialog's steps from the event loop, so that the script keeps
// answering the message boxes they open.
std::function<void(QWidget*)> later(std::function<void(QWidget*)> steps)
{
    return [steps](QWidget* w) { QTimer::singleShot(0, w, [w, steps]() { steps(w); }); };
}

// Titles with other characters are stored as the file's bytes: not compared.
bool isAscii(const QString& text)
{
    static const QRegularExpression printable(QStringLiteral("^[\\x20-\\x7E]*$"));
    return printable.match(text).hasMatch();
}

QString field(const QByteArray& data, int pos, int width)
{
    const QByteArray f = data.mid(pos, width);
    return QString::fromLatin1(f.left(f.indexOf('\0') < 0 ? width : f.indexOf('\0')));
}

QMap<QString, QByteArray> readIndex(const QString& root)
{
    QMap<QString, QByteArray> files;
    for (const char* name : indexFiles)
        files.insert(QLatin1String(name), readFile(root + QLatin1Char('/') + QLatin1String(name)));
    return files;
}

// Reads the seven index files of a memory back as the player does; empty
// when they agree with the songs expected on it.
QString indexFault(const QString& root, const Shown& expected)
{
    const QMap<QString, QByteArray> file = readIndex(root);
    const QByteArray index = file["index.id3"], titles = file["title.id3"], artists = file["artist.id3"];
    const int n = expected.size();
    if (index.size() != 270 * n || file["ordfile.id3"].size() != 2 * n || titles.size() != 64 * n
        || file["atitle.id3"].size() != 256 || file["aartist.id3"].size() != 256)
        return QStringLiteral("file sizes for %1 songs").arg(n);
    QStringList paths;  // index.id3: record k is song k, with its path
    for (int k = 0; k < n; ++k) {
        if (qFromBigEndian<quint32>(index.constData() + 270 * k) != quint32(k))
            return QStringLiteral("index.id3 record %1 out of place").arg(k);
        paths << field(index, 270 * k + 4, 252);
    }
    Shown shown;
    for (int k = 0; k < n; ++k) {  // title.id3: each song with its title, in title order
        const QString path = paths.value(int(qFromBigEndian<quint32>(titles.constData() + 64 * k)));
        shown[path].first = field(titles, 64 * k + 4, 58);
        const QString previous = k ? field(titles, 64 * k - 60, 58) : QString();
        if (isAscii(previous + shown[path].first) && QString::compare(previous, shown[path].first, Qt::CaseInsensitive) > 0)
            return QStringLiteral("title.id3 not in order at ") + shown[path].first;
    }
    int pos = 0, groups = 0;  // artist.id3: a header per artist, then its songs
    while (pos + 64 <= artists.size() && artists.mid(pos + 62, 2) == QByteArray("\0\xFF", 2)) {
        const int count = qFromBigEndian<quint16>(artists.constData() + pos + 2);
        for (int i = 1; i <= count; ++i)
            shown[paths.value(int(qFromBigEndian<quint32>(artists.constData() + pos + 64 * i)))].second = field(artists, pos + 4, 58);
        pos += 64 * (1 + count);
        ++groups;
    }
    QByteArray info(12, '\0');  // fsinfos.id3: song and artist counts
    qToLittleEndian<quint16>(quint16(n), info.data());
    qToLittleEndian<quint16>(quint16(groups), info.data() + 2);
    if (pos != artists.size() || file["fsinfos.id3"] != info || shown.size() != n)
        return QStringLiteral("%1 songs shown, %2 artists, fsinfos.id3 %3").arg(shown.size()).arg(groups).arg(QString::fromLatin1(file["fsinfos.id3"].toHex()));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QPair<QString, QString> got = shown.value(it.key());
        if ((!it->first.isEmpty() && got.first != it->first) || (!it->second.isEmpty() && got.second != it->second))
            return it.key() + QStringLiteral(" shown as ") + got.first + QLatin1Char('/') + got.second;
    }
    return QString();
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
    QTemporaryDir volumes, picked, backups, listDir;
    qputenv("ORVALO3_VOLUMES_DIR", volumes.path().toUtf8());
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    const auto add = [&picked](const QString& name, const Details& d) {
        const QByteArray song = songFor(name, d);  // an MP3 without details has no tag at all
        const bool bare = name.endsWith(QLatin1String(".mp3")) && d.title.isEmpty() && !d.tavrel;
        return writeFile(picked.filePath(name), bare ? song.mid(10) : song);
    };

    // 30 files: catalogue songs in every format, holding no details of their
    // own; an MFx song found through the long name in its header (a song
    // below has the same name); a song found by its title, the catalogue's
    // only one; songs the catalogue does not know; an MP3 with a ".cdg"
    // companion; one damaged file. Catalogue records are read before the
    // window opens its own connections.
    QMap<QString, SongsDbRecord> records;  // file name -> what synchronisation writes into it
    {
        Database db;
        QVERIFY(db.init());
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("con_songsdb"), false));
        QVERIFY(q.exec(QStringLiteral("select title from songs group by upper(title) having count(*) = 1 "
                                      "order by title limit 1 offset 7")) && q.next());
        const QString uniqueTitle = q.value(0).toString();
        QVERIFY(q.exec(QStringLiteral("select filename from songs order by filename")));
        QStringList all;
        while (q.next())
            all << q.value(0).toString();
        q.finish();
        const char* const formats[] = {"mid", "kar", "mf3", "mf4", "mf5", "mp3", "mid",
                                       "mp3", "mid", "kar", "mf3", "mp3", "mid", "mf5"};
        for (int i = 0; i < 14; ++i) {
            const QString cat = all.value(i * (all.size() / 14));
            const QString name = cat.toLower() + QLatin1Char('.') + QLatin1String(formats[i]);
            QVERIFY(db.getRecordByFilename(cat, records[name]) && add(name, Details{{}, {}, {}, {}, 0, 0, i % 4 == 0, {}}));
        }
        const QString longName = all.value(3 * (all.size() / 14));
        QVERIFY(db.getRecordByFilename(longName, records[QStringLiteral("renamed by me.mf4")]));
        QVERIFY(add(QStringLiteral("renamed by me.mf4"), Details{{}, {}, {}, {}, 0, 0, true, longName.toLatin1() + ".MID"}));
        QVERIFY(db.getRecordByTitle(uniqueTitle.toUpper(), records[QStringLiteral("my copy.mid")]));
        QVERIFY(add(QStringLiteral("my copy.mid"), Details{uniqueTitle.toLower(), {}, {}, {}, 0, 0, true, {}}));
    }
    struct Own
    {
        const char *name, *title, *artist;
        bool tavrel;
    };
    const Own own[] = {
        {"own tune.mid", "Own tune", "Our Band", false},      {"rehearsal.kar", "Rehearsal", "Our Band", false},
        {"intro loop.mf3", "Intro loop", "Drummer", true},    {"ballad.mf4", "Ballad", "Singer", true},
        {"medley.mf5", "Medley", "Trio", true},               {"live take.mp3", "Live take", "Our Band", false},
        {"karaoke night.mp3", "Karaoke night", "Guests", false}, {"untagged one.mp3", "", "", false},
        {"untagged two.mp3", "", "", false},                  {"demo.mid", "Demo", "", false},
        {"encore.kar", "Encore", "Our Band", true},           {"finale.mp3", "Finale", "Our Band", true},
        {"warmup.mid", "Warm-up", "Our Band", false}};
    for (const Own& s : own)
        QVERIFY(add(QLatin1String(s.name), Details{s.title, s.artist, {}, {}, 0, 0, s.tavrel, {}}));
    QVERIFY(writeFile(picked.filePath(QStringLiteral("damaged.mid")), "MThd but not really a song"));
    QVERIFY(writeFile(picked.filePath(QStringLiteral("karaoke night.cdg")), QByteArray(2400, '\x09')));
    QMap<QString, QByteArray> original;
    QStringList files;
    for (const QString& name : QDir(picked.path()).entryList(QDir::Files)) {
        original.insert(name, readFile(picked.filePath(name)));
        if (!name.endsWith(QLatin1String(".cdg")))
            files << picked.filePath(name);
    }
    QCOMPARE(files.size(), 30);

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* view = child<QTableView>(&w, "userLibraryTableView");
    UserSongsRelTableModel* model = libraryModel(w);
    QStringList songs;  // the library's songs by file name, row by row
    const auto rowOf = [&songs](const QString& name) { return songs.indexOf(name); };

    // ---- import, summary "Si", backup, synchronisation ------------------------
    BackupDialog::setFolderChooser([&backups](QWidget*, const QString&, const QString&) { return backups.path(); });
    QString summary;
    {
        ModalScript script;
        script.then("ProceedDialog", [&summary](QWidget* d) {
                  summary = child<QLabel>(d, "msgLabel")->text();
                  screenshot(d, "e2e-summary");
                  child<QAbstractButton>(d, "yesPushButton")->click();
              })
            .then("BackupDialog", later([](QWidget* d) {
                      child<QAbstractButton>(d, "browsePushButton")->click();
                      screenshot(d, "e2e-backup");
                      child<QAbstractButton>(d, "doBackupPushButton")->click();
                  }))
            .box()
            // The first song that is not the maker's: "Si tutti" synchronises it and the rest.
            .then("NoCopyrightDialog", [](QWidget* d) {
                screenshot(d, "e2e-copyright");
                child<QAbstractButton>(d, "yesAllPushButton")->click();
            });
        pickFiles(w, files);
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.at(2).text, QStringLiteral("Backup eseguito correttamente"));
    }
    // 30 files examined, 29 songs, 15 of them the maker's (every MFx song,
    // and the MIDI and MP3 songs carrying the notice).
    QCOMPARE(summary.split(QRegularExpression(QStringLiteral("\\D+")), Qt::SkipEmptyParts),
             (QStringList{"30", "29", "15"}));
    for (int r = 0; r < model->goodRowCount(); ++r)
        songs << model->shortName(r);
    QCOMPARE(songs.size(), 29);
    QVERIFY(!songs.contains(QStringLiteral("damaged.mid")));
    screenshot(&w, "e2e-mainwindow-synchronised");

    // The backup: every picked file and the companion, as they were.
    const QStringList backupDirs = QDir(backups.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(backupDirs.size(), 1);
    QVERIFY(backupDirs.first().startsWith(QLatin1String("backup_tavrel_")));
    const QDir backup(backups.filePath(backupDirs.first()));
    QCOMPARE(backup.entryList(QDir::Files), original.keys());
    for (auto it = original.cbegin(); it != original.cend(); ++it)
        QVERIFY2(readFile(backup.filePath(it.key())) == it.value(), qPrintable(it.key()));

    // Catalogue songs now hold the catalogue's title and artist (the
    // alternative artist when there is one; an MFx header keeps the first 32
    // bytes of a title), in the file and the table; the others are untouched.
    QMap<QString, SongInfo> synced;
    for (const QString& name : songs) {
        const SongInfo info = readInfo(picked.filePath(name));
        const SongsDbRecord r = records.value(name);
        synced.insert(name, info);
        QCOMPARE(model->status(rowOf(name)), int(records.contains(name) ? Database::StatusUpdated : Database::StatusNotUpdated));
        if (!records.contains(name)) {
            QVERIFY2(readFile(picked.filePath(name)) == original.value(name), qPrintable(name));
            continue;
        }
        QVERIFY2(info.title == r.title || (name.contains(QLatin1String(".mf")) && !info.title.isEmpty() && r.title.startsWith(info.title)),
                 qPrintable(name + ": " + info.title));
        QCOMPARE(info.artist, r.altArtist.isEmpty() ? r.artist : r.altArtist);
        QCOMPARE(model->index(rowOf(name), 2).data().toString(), info.title);
    }

    // ---- one song edited by hand, its artist applied to all --------------------
    const QString edited = records.firstKey();
    {
        ModalScript script;
        script.then("DataEditDialog", later([](QWidget* d) {
                  child<QLineEdit>(d, "titleLineEdit")->setText(QStringLiteral("Opening number"));
                  child<QLineEdit>(d, "authorLineEdit")->setText(QStringLiteral("A. Writer"));
                  child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("The House Band"));
                  screenshot(d, "e2e-edit");
                  child<QAbstractButton>(d, "checkBoxToAllArtist")->click();  // asks first
                  child<QAbstractButton>(d, "savePushButton")->click();
              }))
            .box(QMessageBox::Yes);
        view->scrollTo(model->index(rowOf(edited), 2));
        const QPoint cell = view->visualRect(model->index(rowOf(edited), 2)).center();
        // A double click arrives after the first click's press and release.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        VERIFY_SCRIPT(script);
    }
    for (const QString& name : songs) {
        const SongInfo info = readInfo(picked.filePath(name));
        QCOMPARE(info.title, name == edited ? QStringLiteral("Opening number") : synced.value(name).title);
        QCOMPARE(info.artist, QStringLiteral("The House Band"));
        QCOMPARE(info.length, synced.value(name).length);
        QCOMPARE(model->status(rowOf(name)), int(Database::StatusManual));
    }
    QCOMPARE(readInfo(picked.filePath(edited)).author, QStringLiteral("A. Writer"));

    // ---- transfer to the memory's top folder -----------------------------------
    const QString card = volumes.filePath(QStringLiteral("CARD"));
    QVERIFY(QDir().mkpath(card));
    w.setDirChooser([card](QWidget*, const QString&, const QString&) { return card; });
    {
        ModalScript script;
        script.box();
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.at(0).text, QStringLiteral("Tutti i file sono stati copiati correttamente"));
    }
    // Every picked file as it now is, the damaged one and the companion as they were.
    const QDir onCard(card + QStringLiteral("/songs"));
    QCOMPARE(onCard.entryList(QDir::Files), original.keys());
    for (const QString& name : original.keys()) {
        const QByteArray now = readFile(picked.filePath(name));
        QVERIFY2(readFile(onCard.filePath(name)) == now && (songs.contains(name) || now == original.value(name)), qPrintable(name));
    }

    // What the player shows: the title in upper case, the artist every song
    // now shares. Not compared: a song without a title (shown by its file
    // name), accented titles, MFx songs (the index reads their texts 16 bytes
    // beyond the header fields the song editor writes), the damaged file.
    Shown expected{{QStringLiteral("/songs/damaged.mid"), {}}};
    for (const QString& name : songs) {
        const QString title = readInfo(onCard.filePath(name)).title;
        const bool compared = !name.contains(QLatin1String(".mf"));
        expected.insert(QStringLiteral("/songs/") + name, compared ? qMakePair(isAscii(title) ? title.toUpper() : QString(), QStringLiteral("THE HOUSE BAND"))
                                                                   : qMakePair(QString(), QString()));
    }
    QCOMPARE(indexFault(card, expected), QString());

    // ---- Tools > rebuild, then update, of the memory's index --------------------
    QMap<QString, QByteArray> rebuilt;
    IndexDialog::setFolderChooser([onCard](QWidget*, const QString&, const QString&) { return onCard.path(); });
    {
        ModalScript script;
        script.then("IndexDialog", later([&rebuilt, card](QWidget* d) {
                  child<QAbstractButton>(d, "pushButtonBrowse")->click();
                  child<QAbstractButton>(d, "radioButtonRebuild")->click();
                  // Without Shift the index goes to the root of the memory holding the folder.
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
                  rebuilt = readIndex(card);
                  child<QAbstractButton>(d, "radioButtonUpdate")->click();
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
                  screenshot(d, "e2e-optimize");
                  child<QAbstractButton>(d, "pushButtonClose")->click();
              }))
            .box()
            .box();
        child<QAction>(&w, "optimizeMemory")->trigger();
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.at(1).text, QStringLiteral("Operazione completata con successo"));
        QCOMPARE(script.seen.at(2).text, QStringLiteral("Operazione completata con successo"));
    }
    QCOMPARE(indexFault(card, expected), QString());
    // Nothing changed on the memory between the two runs: the update rewrote the same bytes.
    QVERIFY(readIndex(card) == rebuilt);

    // ---- Tools > songs list -----------------------------------------------------
    const QString listFile = listDir.filePath(QStringLiteral("SongsList.csv"));
    SongsListDialog::setFolderChooser([card](QWidget*, const QString&, const QString&) { return card; });
    SongsListDialog::setSaveFileChooser([listFile](QWidget*, const QString&, const QString&, const QString&) { return listFile; });
    {
        ModalScript script;
        script.then("SongsListDialog", later([](QWidget* d) {
                  child<QAbstractButton>(d, "pushButtonBrowseSrc")->click();
                  child<QAbstractButton>(d, "pushButtonBrowseDest")->click();
                  child<QComboBox>(d, "comboBoxSort")->setCurrentIndex(0);
                  child<QAbstractButton>(d, "pushButtonStart")->click();
                  screenshot(d, "e2e-songslist");
                  child<QAbstractButton>(d, "pushButtonClose")->click();
              }))
            .box();
        child<QAction>(&w, "actionSongsList")->trigger();
        VERIFY_SCRIPT(script);
        QCOMPARE(script.seen.at(1).text, QStringLiteral("Operazione completata"));
    }
    // A header, then "title;artist;path;" per song, each line ending in "\n".
    const QByteArray list = readFile(listFile);
    QVERIFY(!list.contains('\r') && list.endsWith(";\n"));
    QStringList lines = QString::fromLocal8Bit(list).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("TITOLO;ARTISTA;FILE;"));
    Shown listed;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(';'));
        QCOMPARE(f.size(), 4);
        const QPair<QString, QString> want = expected.value(f.at(2));
        listed.insert(f.at(2), qMakePair(want.first.isEmpty() ? QString() : f.at(0), want.second.isEmpty() ? QString() : f.at(1)));
    }
    QCOMPARE(lines.size(), expected.size());
    QVERIFY(listed == expected);
}

QTEST_MAIN(TestE2eMusician)
#include "tst_e2e_musician.moc"
