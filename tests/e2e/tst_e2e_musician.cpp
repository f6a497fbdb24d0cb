// A musician's whole session through the real widgets: import a mixed set of
// songs, accept the summary, back up, synchronise with the shipped
// catalogue, edit one song and give every song its artist, transfer to a
// memory, rebuild and update the memory's index, export the songs list; then
// every file on disk, the seven index files and the list are checked.
#include "app/settingskeys.h"
#include "app/startup.h"
#include "database/database.h"
#include "database/songsdbrecord.h"
#include "database/usersongsreltablemodel.h"
#include "index/indexdialog.h"
#include "index/songslistdialog.h"
#include "mainwindow/backupdialog.h"
#include "mainwindow/mainwindow.h"
#include "resources/appresources.h"
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"
#include "tests/songfiles/midiimage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace MidiImage;

namespace {

// ---- song files, byte by byte ------------------------------------------------

struct Song
{
    QString name;            // file name in the picked folder
    QString title, artist;   // details the file holds before the session
    bool maker = false;      // the maker's copyright notice
    QByteArray longName;     // MFx header only
};

QByteArray midiFile(const Song& s, int format)
{
    QByteArray track;
    if (!s.title.isEmpty())
        track += meta(0x03, s.title.toUtf8());
    if (s.maker)
        track += meta(0x02, "(C) Tavrel 2021");
    if (!s.artist.isEmpty())
        track += tag(2, s.artist.toUtf8());
    track += bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 120 bpm
    for (int i = 0; i < 64; ++i)
        track += bytes({0x20, 0x90, 36 + i % 40, 0x50, 0x20, 0x80, 36 + i % 40, 0x00});
    if (format == 0)
        return smf(0, {track});
    return smf(1, {track, notes() + bytes({0x00, 0xFF, 0x05, 0x03}) + "La " + notes()});
}

void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

QByteArray mfxFile(const Song& s, const QByteArray& magic)
{
    QByteArray image = midiFile(Song(), 0);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
    QByteArray packed;
    LzHuff().compress(image, packed);
    QByteArray header(magic == "_MF5" ? 1024 : 512, '\0');
    header.replace(0, 4, magic);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    for (const auto& f : {qMakePair(42, s.longName), qMakePair(90, QByteArray("TAVREL")),
                          qMakePair(122, s.title.toUtf8()), qMakePair(218, s.artist.toUtf8())})
        header.replace(f.first, f.second.size(), f.second);
    return header + packed;
}

QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

// With a tag when the song has a title or an artist; MPEG frames either way.
QByteArray mp3File(const Song& s)
{
    QByteArray song;
    if (!s.title.isEmpty() || !s.artist.isEmpty() || s.maker) {
        QByteArray frames;
        if (!s.title.isEmpty()) frames += id3Frame("TIT2", s.title.toUtf8());
        if (!s.artist.isEmpty()) frames += id3Frame("TPE1", s.artist.toUtf8());
        if (s.maker) frames += id3Frame("TCOP", "2021 Tavrel");
        const int n = frames.size();
        song = "ID3" + bytes({3, 0, 0, (n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F}) + frames;
    }
    for (int f = 0; f < 40; ++f) {
        song += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            song.append(char((f * 31 + i) % 251));
    }
    return song;
}

QByteArray fileFor(const Song& s)
{
    const QString ext = s.name.section(QLatin1Char('.'), -1);
    if (ext == QLatin1String("mp3")) return mp3File(s);
    if (ext.startsWith(QLatin1String("mf"))) return mfxFile(s, "_" + ext.toUpper().toLatin1());
    return midiFile(s, ext == QLatin1String("kar") ? 1 : 0);
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

SongInfo readInfo(const QString& path)
{
    MetaSong song;
    SongInfo info;
    if (song.importFile(path))
        song.getSongInfo(info);
    return info;
}

// ---- modal dialogs -----------------------------------------------------------

// Answers the modal dialogs in the order expected, leaving progress dialogs
// alone; anything else is recorded and closed, so a wrong run fails instead
// of hanging. Steps may open further dialogs: the next steps answer them.
class Script : public QObject
{
public:
    Script()
    {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &Script::poll);
        timer.start();
    }
    Script& then(const char* className, std::function<void(QWidget*)> action)
    {
        steps.append({QByteArray(className), std::move(action)});
        return *this;
    }
    Script& click(const char* className, const char* button)
    {
        const QString name = QLatin1String(button);
        return then(className, [name](QWidget* w) { w->findChild<QAbstractButton*>(name)->click(); });
    }
    // A message box answered with a standard button; its text is kept.
    Script& box(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return then("QMessageBox", [this, button](QWidget* w) {
            auto* b = static_cast<QMessageBox*>(w);
            boxTexts << b->text();
            b->button(button)->click();
        });
    }
    bool done() const { return steps.isEmpty() && unexpected.isEmpty(); }
    QString report() const { return QStringLiteral("left: %1; unexpected: %2").arg(steps.size()).arg(unexpected.join(" | ")); }

    QStringList boxTexts;
    QStringList unexpected;

private:
    void poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w->property("e2eHandled").toBool() || qobject_cast<QProgressDialog*>(w))
            return;
        w->setProperty("e2eHandled", true);
        if (!steps.isEmpty() && w->inherits(steps.first().className.constData())) {
            // Run outside this timer's slot: a timer does not fire again while
            // its slot runs, and an action may open the next dialog itself.
            QTimer::singleShot(0, w, [w, action = steps.takeFirst().action]() { action(w); });
            return;
        }
        auto* b = qobject_cast<QMessageBox*>(w);
        unexpected << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + (b ? b->text() : QString());
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    }
    struct Step
    {
        QByteArray className;
        std::function<void(QWidget*)> action;
    };
    QTimer timer;
    QList<Step> steps;
};

QString screenshotDir()
{
    const QString env = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
    return env.isEmpty() ? QStringLiteral(ORVALO3_SCREENSHOT_DIR) : env;
}

void screenshot(QWidget* w, const QString& name)
{
    QDir().mkpath(screenshotDir());
    QApplication::processEvents();
    w->grab().save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

template <typename T> T* child(QObject* o, const char* name)
{
    T* c = o->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

// ---- the player's index files, read back ------------------------------------

struct IndexEntry
{
    QString path, title;
};

QString latin1Field(const QByteArray& data, int pos, int width)
{
    const QByteArray f = data.mid(pos, width);
    const int zero = f.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? f : f.left(zero));
}

// Titles with other characters are stored as the file's bytes: not compared here.
bool isAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x7E)
            return false;
    return true;
}

} // namespace

class TestE2eMusician : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void wholeSession();

private:
    // Checks the seven index files of a memory against the songs on it
    // (path relative to the memory -> title and artist as the player shows
    // them); empty when they agree.
    QString checkIndexFiles(const QString& root, const QMap<QString, QPair<QString, QString>>& expected);

    QTemporaryDir config, work, volumes, picked, backups, listDir;
    QString startDir;
};

void TestE2eMusician::initTestCase()
{
    QVERIFY(config.isValid() && work.isValid() && volumes.isValid() && picked.isValid() && backups.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    startDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));  // no "songsdb_debug" here: the shipped catalogue is used
    qputenv("ORVALO3_VOLUMES_DIR", volumes.path().toUtf8());
    initAppResources();
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
}

void TestE2eMusician::cleanupTestCase()
{
    QDir::setCurrent(startDir);
    qunsetenv("ORVALO3_VOLUMES_DIR");
    BackupDialog::setFolderChooser(nullptr);
    IndexDialog::setFolderChooser(nullptr);
    SongsListDialog::setFolderChooser(nullptr);
    SongsListDialog::setSaveFileChooser(nullptr);
}

QString TestE2eMusician::checkIndexFiles(const QString& root, const QMap<QString, QPair<QString, QString>>& expected)
{
    const auto file = [&](const char* name) { return readFile(root + QLatin1Char('/') + QLatin1String(name)); };
    const int n = expected.size();
    const QByteArray index = file("index.id3"), ord = file("ordfile.id3"), titles = file("title.id3"),
                     artists = file("artist.id3"), aTitle = file("atitle.id3"), aArtist = file("aartist.id3"),
                     fsinfos = file("fsinfos.id3");
    if (index.size() != 270 * n || ord.size() != 2 * n || titles.size() != 64 * n || aTitle.size() != 256
        || aArtist.size() != 256 || fsinfos.size() != 12)
        return QStringLiteral("sizes %1 %2 %3 %4 %5 %6 for %7 songs")
            .arg(index.size()).arg(ord.size()).arg(titles.size()).arg(aTitle.size()).arg(aArtist.size())
            .arg(fsinfos.size()).arg(n);

    // index.id3: record k is song k, with its path.
    QStringList paths;
    for (int k = 0; k < n; ++k) {
        const char* r = index.constData() + 270 * k;
        if (qFromBigEndian<quint32>(r) != quint32(k))
            return QStringLiteral("index.id3 record %1 has id %2").arg(k).arg(qFromBigEndian<quint32>(r));
        paths << latin1Field(index, 270 * k + 4, 252);
    }
    if (QSet<QString>(paths.begin(), paths.end()) != QSet<QString>(expected.keyBegin(), expected.keyEnd()))
        return QStringLiteral("index.id3 paths: ") + paths.join(QLatin1Char(','));

    // ordfile.id3: every song once.
    QSet<int> ordered;
    for (int k = 0; k < n; ++k)
        ordered << qFromLittleEndian<quint16>(ord.constData() + 2 * k);
    if (ordered.size() != n || *std::max_element(ordered.begin(), ordered.end()) != n - 1)
        return QStringLiteral("ordfile.id3 is not one number per song");

    // title.id3: every song once with its title, in title order.
    QStringList titleOrder;
    for (int k = 0; k < n; ++k) {
        const quint32 id = qFromBigEndian<quint32>(titles.constData() + 64 * k);
        if (id >= quint32(n))
            return QStringLiteral("title.id3 record %1 names song %2").arg(k).arg(id);
        const QString title = latin1Field(titles, 64 * k + 4, 58);
        const QString want = expected.value(paths.at(int(id))).first;
        if (!want.isEmpty() && title != want)
            return QStringLiteral("title.id3: %1 has %2, not %3").arg(paths.at(int(id)), title, want);
        titleOrder << title;
    }
    for (int k = 1; k < n; ++k)
        if (isAscii(titleOrder.at(k - 1)) && isAscii(titleOrder.at(k))
            && QString::compare(titleOrder.at(k - 1), titleOrder.at(k), Qt::CaseInsensitive) > 0)
            return QStringLiteral("title.id3 not in title order at ") + titleOrder.at(k);

    // artist.id3: groups of one artist each, every song once.
    int pos = 0, groups = 0, songs = 0, previous = 0;
    QSet<quint32> seen;
    while (pos < artists.size()) {
        if (pos + 64 > artists.size() || quint8(artists.at(pos + 62)) != 0x00 || quint8(artists.at(pos + 63)) != 0xFF)
            return QStringLiteral("artist.id3: no group header at %1").arg(pos);
        const int before = qFromBigEndian<quint16>(artists.constData() + pos);
        const int count = qFromBigEndian<quint16>(artists.constData() + pos + 2);
        const QString artist = latin1Field(artists, pos + 4, 58);
        if (before != previous || count < 1)
            return QStringLiteral("artist.id3: group %1 counts %2 after %3").arg(artist).arg(count).arg(before);
        for (int i = 1; i <= count; ++i) {
            const quint32 id = qFromBigEndian<quint32>(artists.constData() + pos + 64 * i);
            if (id >= quint32(n) || seen.contains(id))
                return QStringLiteral("artist.id3: song %1 out of place").arg(id);
            seen << id;
            const QString want = expected.value(paths.at(int(id))).second;
            if (!want.isEmpty() && artist.compare(want, Qt::CaseInsensitive) != 0)
                return QStringLiteral("artist.id3: %1 under %2, not %3").arg(paths.at(int(id)), artist, want);
        }
        songs += count;
        previous = count;
        pos += 64 * (1 + count);
        ++groups;
    }
    if (songs != n)
        return QStringLiteral("artist.id3 lists %1 songs of %2").arg(songs).arg(n);
    if (qFromLittleEndian<quint16>(fsinfos.constData()) != n || qFromLittleEndian<quint16>(fsinfos.constData() + 2) != groups
        || fsinfos.mid(4) != QByteArray(8, '\0'))
        return QStringLiteral("fsinfos.id3 holds %1").arg(QString::fromLatin1(fsinfos.toHex()));
    // The first-letter table points at the first title of each letter.
    const int slot = titleOrder.first().at(0).toLatin1() - 0x20;
    if (slot >= 0 && slot < 64 && qFromBigEndian<quint32>(aTitle.constData() + 4 * slot) != 0)
        return QStringLiteral("atitle.id3 does not point at the first title");
    return QString();
}

void TestE2eMusician::wholeSession()
{
    // Catalogue songs to name files after, and one title that the catalogue
    // holds only once, read before the window opens its own connections.
    QStringList catNames;
    QMap<QString, SongsDbRecord> records;
    QString uniqueTitle;
    SongsDbRecord byTitleRecord;
    {
        Database db;
        QVERIFY(db.init());
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("con_songsdb"), false));
        QVERIFY(q.exec(QStringLiteral("select filename from songs order by filename")));
        QStringList all;
        while (q.next())
            all << q.value(0).toString();
        QVERIFY(all.size() > 100);
        for (int i = 0; i < 14; ++i)
            catNames << all.at(i * (all.size() / 14));
        QVERIFY(q.exec(QStringLiteral("select title from songs group by upper(title) having count(*) = 1 "
                                      "order by title limit 1 offset 7")));
        QVERIFY(q.next());
        uniqueTitle = q.value(0).toString();
        q.finish();
        for (const QString& name : catNames) {
            SongsDbRecord r;
            QVERIFY(db.getRecordByFilename(name, r));
            records.insert(name, r);
        }
        QVERIFY(db.getRecordByTitle(uniqueTitle.toUpper(), byTitleRecord));
    }

    // 30 files: catalogue songs in every format, holding no details of their
    // own; an MFx song found through the long name in its header; a song found
    // by its title; songs the catalogue does not know; an MP3 with a ".cdg"
    // companion; one damaged file.
    const char* const formats[] = {"mid", "kar", "mf3", "mf4", "mf5", "mp3", "mid", "mp3", "mid", "kar",
                                   "mf3", "mp3", "mid", "mf5"};
    QList<Song> songs;
    for (int i = 0; i < catNames.size(); ++i)
        songs << Song{catNames.at(i).toLower() + QLatin1Char('.') + QLatin1String(formats[i]), QString(), QString(),
                      i % 4 == 0, QByteArray()};
    const QString longCat = catNames.at(3);  // also the name of a song above: the long name finds the same record
    songs << Song{QStringLiteral("renamed by me.mf4"), QString(), QString(), true, longCat.toLatin1() + ".MID"};
    songs << Song{QStringLiteral("my copy.mid"), uniqueTitle.toLower(), QString(), true, QByteArray()};
    const QList<Song> own = {
        {"own tune.mid", "Own tune", "Our Band", false, {}},   {"rehearsal.kar", "Rehearsal", "Our Band", false, {}},
        {"intro loop.mf3", "Intro loop", "Drummer", true, {}}, {"ballad.mf4", "Ballad", "Singer", true, {}},
        {"medley.mf5", "Medley", "Trio", true, {}},            {"live take.mp3", "Live take", "Our Band", false, {}},
        {"karaoke night.mp3", "Karaoke night", "Guests", false, {}}, {"untagged one.mp3", {}, {}, false, {}},
        {"untagged two.mp3", {}, {}, false, {}},               {"demo.mid", "Demo", "", false, {}},
        {"encore.kar", "Encore", "Our Band", true, {}},        {"finale.mp3", "Finale", "Our Band", true, {}},
        {"warmup.mid", "Warm-up", "Our Band", false, {}},
    };
    songs += own;
    QStringList files;
    QMap<QString, QByteArray> original;
    for (const Song& s : songs) {
        files << picked.filePath(s.name);
        original.insert(s.name, fileFor(s));
        QVERIFY(writeFile(files.last(), original.value(s.name)));
    }
    files << picked.filePath(QStringLiteral("damaged.mid"));
    original.insert(QStringLiteral("damaged.mid"), "MThd but not really a song");
    QVERIFY(writeFile(files.last(), original.value(QStringLiteral("damaged.mid"))));
    original.insert(QStringLiteral("karaoke night.cdg"), QByteArray(2400, '\x09'));
    QVERIFY(writeFile(picked.filePath(QStringLiteral("karaoke night.cdg")), original.value("karaoke night.cdg")));
    QCOMPARE(files.size(), 30);

    const QString card = volumes.filePath(QStringLiteral("CARD"));
    QVERIFY(QDir().mkpath(card));

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* view = child<QTableView>(&w, "userLibraryTableView");
    auto* model = qobject_cast<UserSongsRelTableModel*>(view->model());
    QVERIFY(model);
    const auto rowOf = [&](const QString& name) {
        for (int r = 0; r < model->goodRowCount(); ++r)
            if (model->shortName(r) == name)
                return r;
        return -1;
    };

    // ---- import, summary "Si", backup, synchronisation ------------------------
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    BackupDialog::setFolderChooser([this](QWidget*, const QString&, const QString&) { return backups.path(); });
    QString summary;
    {
        Script script;
        script.then("ProceedDialog", [&](QWidget* d) {
                  summary = child<QLabel>(d, "msgLabel")->text();
                  screenshot(d, QStringLiteral("e2e-summary"));
                  child<QAbstractButton>(d, "yesPushButton")->click();
              })
            .then("BackupDialog", [](QWidget* d) {
                child<QAbstractButton>(d, "browsePushButton")->click();
                screenshot(d, QStringLiteral("e2e-backup"));
                child<QAbstractButton>(d, "doBackupPushButton")->click();
            })
            .box()
            // The first song that is not the maker's: "Si tutti" synchronises it and the rest.
            .then("NoCopyrightDialog", [](QWidget* d) {
                screenshot(d, QStringLiteral("e2e-copyright"));
                child<QAbstractButton>(d, "yesAllPushButton")->click();
            });
        child<QToolButton>(&w, "selectDirToolButton")->click();
        QVERIFY2(script.done(), qPrintable(script.report()));
        QCOMPARE(script.boxTexts, QStringList{QStringLiteral("Backup eseguito correttamente")});
    }
    // 30 files examined, 29 songs, 15 of them the maker's (every MFx song, and
    // the MIDI and MP3 songs carrying the notice).
    QStringList numbers;
    QRegularExpressionMatchIterator number = QRegularExpression(QStringLiteral("\\d+")).globalMatch(summary);
    while (number.hasNext())
        numbers << number.next().captured();
    QCOMPARE(numbers, (QStringList{"30", "29", "15"}));
    QCOMPARE(model->goodRowCount(), 29);
    QCOMPARE(rowOf(QStringLiteral("damaged.mid")), -1);
    screenshot(&w, QStringLiteral("e2e-mainwindow-synchronised"));

    // The backup: every picked file and the companion, as they were.
    const QStringList backupDirs = QDir(backups.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(backupDirs.size(), 1);
    QVERIFY(backupDirs.first().startsWith(QLatin1String("backup_tavrel_")));
    const QDir backup(backups.filePath(backupDirs.first()));
    QCOMPARE(backup.entryList(QDir::Files).size(), original.size());
    for (auto it = original.cbegin(); it != original.cend(); ++it)
        QVERIFY2(readFile(backup.filePath(it.key())) == it.value(), qPrintable(it.key()));

    // Catalogue songs now hold the catalogue's title and artist (a song
    // without one of its own gets the alternative name when there is one), in
    // the file and in the table; songs the catalogue does not know are untouched.
    const auto artistOf = [](const SongsDbRecord& r) { return r.altArtist.isEmpty() ? r.artist : r.altArtist; };
    for (int i = 0; i < catNames.size(); ++i) {
        const QString name = songs.at(i).name;
        const SongsDbRecord& r = records.value(catNames.at(i));
        const SongInfo info = readInfo(picked.filePath(name));
        // An MFx header keeps the first 32 bytes of a title.
        if (name.contains(QLatin1String(".mf")))
            QVERIFY2(!info.title.isEmpty() && r.title.startsWith(info.title), qPrintable(name + ": " + info.title));
        else
            QCOMPARE(info.title, r.title);
        QCOMPARE(info.artist, artistOf(r));
        const int row = rowOf(name);
        QCOMPARE(model->status(row), int(Database::StatusUpdated));
        QCOMPARE(model->index(row, 2).data().toString(), info.title);
    }
    QCOMPARE(readInfo(picked.filePath(QStringLiteral("renamed by me.mf4"))).artist, artistOf(records.value(longCat)));
    QCOMPARE(model->status(rowOf(QStringLiteral("renamed by me.mf4"))), int(Database::StatusUpdated));
    QCOMPARE(readInfo(picked.filePath(QStringLiteral("my copy.mid"))).artist, artistOf(byTitleRecord));
    QCOMPARE(model->status(rowOf(QStringLiteral("my copy.mid"))), int(Database::StatusUpdated));
    for (const Song& s : own) {
        QCOMPARE(model->status(rowOf(s.name)), int(Database::StatusNotUpdated));
        QVERIFY2(readFile(picked.filePath(s.name)) == original.value(s.name), qPrintable(s.name));
    }
    QVERIFY(!child<QToolButton>(&w, "updateDataToolButton")->isEnabled());
    QVERIFY(child<QToolButton>(&w, "transferFilesToolButton")->isEnabled());

    // ---- one song edited by hand, its artist applied to all --------------------
    const QString edited = songs.at(0).name;
    const int editedRow = rowOf(edited);
    const SongInfo beforeEdit = readInfo(picked.filePath(edited));
    QMap<QString, QString> titlesBefore;
    for (const Song& s : songs)
        titlesBefore.insert(s.name, readInfo(picked.filePath(s.name)).title);
    {
        Script script;
        script.then("DataEditDialog", [](QWidget* d) {
                  child<QLineEdit>(d, "titleLineEdit")->setText(QStringLiteral("Opening number"));
                  child<QLineEdit>(d, "authorLineEdit")->setText(QStringLiteral("A. Writer"));
                  child<QComboBox>(d, "artistComboBox")->setEditText(QStringLiteral("The House Band"));
                  screenshot(d, QStringLiteral("e2e-edit"));
                  child<QAbstractButton>(d, "checkBoxToAllArtist")->click();  // asks first
                  child<QAbstractButton>(d, "savePushButton")->click();
              })
            .box(QMessageBox::Yes);
        view->scrollTo(model->index(editedRow, 2));
        const QRect cell = view->visualRect(model->index(editedRow, 2));
        QVERIFY(cell.isValid());
        // A double click arrives after the first click's press and release.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QVERIFY2(script.done(), qPrintable(script.report()));
    }
    const SongInfo afterEdit = readInfo(picked.filePath(edited));
    QCOMPARE(afterEdit.title, QStringLiteral("Opening number"));
    QCOMPARE(afterEdit.author, QStringLiteral("A. Writer"));
    QCOMPARE(afterEdit.artist, QStringLiteral("The House Band"));
    QCOMPARE(afterEdit.length, beforeEdit.length);
    for (const Song& s : songs) {
        const SongInfo info = readInfo(picked.filePath(s.name));
        QVERIFY2(info.artist == QLatin1String("The House Band"), qPrintable(s.name + ": " + info.artist));
        if (s.name != edited)
            QVERIFY2(info.title == titlesBefore.value(s.name), qPrintable(s.name + ": " + info.title));
        QCOMPARE(model->status(rowOf(s.name)), int(Database::StatusManual));
    }
    QCOMPARE(readFile(picked.filePath(QStringLiteral("damaged.mid"))), original.value("damaged.mid"));

    // ---- transfer to the memory's top folder -----------------------------------
    w.setDirChooser([card](QWidget*, const QString&, const QString&) { return card; });
    {
        Script script;
        script.box();
        child<QToolButton>(&w, "transferFilesToolButton")->click();
        QVERIFY2(script.done(), qPrintable(script.report()));
        QCOMPARE(script.boxTexts, QStringList{QStringLiteral("Tutti i file sono stati copiati correttamente")});
    }
    const QDir songsOnCard(card + QStringLiteral("/songs"));
    QCOMPARE(songsOnCard.entryList(QDir::Files).size(), 31);
    for (const QString& f : files) {
        const QString name = QFileInfo(f).fileName();
        QVERIFY2(readFile(songsOnCard.filePath(name)) == readFile(f), qPrintable(name));
    }
    QCOMPARE(readFile(songsOnCard.filePath(QStringLiteral("karaoke night.cdg"))), original.value("karaoke night.cdg"));

    // What the player shows for each song: the title in upper case, the
    // artist every song now shares. Not compared: a song without a title
    // (shown by its file name), one with accented letters (their bytes), and
    // MFx songs, whose texts the index reads 16 bytes beyond the header
    // fields the song editor writes.
    QMap<QString, QPair<QString, QString>> expected;
    for (const Song& s : songs) {
        const QString title = readInfo(songsOnCard.filePath(s.name)).title;
        const bool mfx = s.name.contains(QLatin1String(".mf"));
        expected.insert(QStringLiteral("/songs/") + s.name,
                        mfx ? qMakePair(QString(), QString())
                            : qMakePair(isAscii(title) ? title.toUpper() : QString(), QStringLiteral("THE HOUSE BAND")));
    }
    expected.insert(QStringLiteral("/songs/damaged.mid"), qMakePair(QString(), QString()));
    QString fault = checkIndexFiles(card, expected);
    QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("after the transfer: ") + fault));

    // ---- Tools > rebuild, then update, of the memory's index --------------------
    static const char* const indexFiles[] = {"index.id3", "ordfile.id3", "title.id3", "atitle.id3",
                                             "artist.id3", "aartist.id3", "fsinfos.id3"};
    QMap<QString, QByteArray> rebuilt;
    IndexDialog::setFolderChooser([&](QWidget*, const QString&, const QString&) { return songsOnCard.path(); });
    {
        Script script;
        script.then("IndexDialog", [&](QWidget* d) {
                  child<QAbstractButton>(d, "pushButtonBrowse")->click();
                  child<QAbstractButton>(d, "radioButtonRebuild")->click();
                  // Without Shift the index goes to the root of the memory holding the folder.
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
                  for (const char* f : indexFiles)
                      rebuilt.insert(QLatin1String(f), readFile(card + QLatin1Char('/') + QLatin1String(f)));
                  child<QAbstractButton>(d, "radioButtonUpdate")->click();
                  QTest::mousePress(child<QPushButton>(d, "pushButtonStart"), Qt::LeftButton);
                  screenshot(d, QStringLiteral("e2e-optimize"));
                  child<QAbstractButton>(d, "pushButtonClose")->click();
              })
            .box()
            .box();
        child<QAction>(&w, "optimizeMemory")->trigger();
        QVERIFY2(script.done(), qPrintable(script.report()));
        QCOMPARE(script.boxTexts, (QStringList{QStringLiteral("Operazione completata con successo"), QStringLiteral("Operazione completata con successo")}));
    }
    fault = checkIndexFiles(card, expected);
    QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("after rebuild and update: ") + fault));
    // Nothing changed on the memory between the two runs: the update rewrote the same bytes.
    for (const char* f : indexFiles)
        QVERIFY2(readFile(card + QLatin1Char('/') + QLatin1String(f)) == rebuilt.value(QLatin1String(f)), f);

    // ---- Tools > songs list -----------------------------------------------------
    const QString listFile = listDir.filePath(QStringLiteral("SongsList.csv"));
    SongsListDialog::setFolderChooser([card](QWidget*, const QString&, const QString&) { return card; });
    SongsListDialog::setSaveFileChooser(
        [listFile](QWidget*, const QString&, const QString&, const QString&) { return listFile; });
    {
        Script script;
        script.then("SongsListDialog", [](QWidget* d) {
                  child<QAbstractButton>(d, "pushButtonBrowseSrc")->click();
                  child<QAbstractButton>(d, "pushButtonBrowseDest")->click();
                  child<QComboBox>(d, "comboBoxSort")->setCurrentIndex(0);
                  child<QAbstractButton>(d, "pushButtonStart")->click();
                  screenshot(d, QStringLiteral("e2e-songslist"));
                  child<QAbstractButton>(d, "pushButtonClose")->click();
              })
            .box();
        child<QAction>(&w, "actionSongsList")->trigger();
        QVERIFY2(script.done(), qPrintable(script.report()));
        QCOMPARE(script.boxTexts, QStringList{QStringLiteral("Operazione completata")});
    }
    const QByteArray list = readFile(listFile);
    QVERIFY(!list.contains('\r'));
    QVERIFY(list.endsWith(";\n"));
    const QStringList lines = QString::fromLocal8Bit(list).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 31);
    QCOMPARE(lines.first(), QStringLiteral("TITOLO;ARTISTA;FILE;"));
    QStringList listed;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).split(QLatin1Char(';'));
        QCOMPARE(f.size(), 4);
        const QPair<QString, QString> want = expected.value(f.at(2));
        if (!want.first.isEmpty())
            QCOMPARE(f.at(0), want.first);
        if (!want.second.isEmpty())
            QCOMPARE(f.at(1), want.second);
        listed << f.at(2);
    }
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()), QSet<QString>(expected.keyBegin(), expected.keyEnd()));
}

QTEST_MAIN(TestE2eMusician)
#include "tst_e2e_musician.moc"
