// Synchronisation of a library of 1,000 song files with the shipped catalogue
// through the main window (the synchronisation button, "Prosegui senza
// backup", a catalogue look-up, merge, save and re-read of every song, the
// table rows refreshed), against the same reads, look-ups and saves made
// directly, without the window.
//
//     bench_sync [file count]
//
// Nine songs in ten carry the file name of a catalogue song, the tenth is
// unknown to it. Every run starts from freshly written files. Prints seconds
// and files per second for both and their ratio.
#include "mainwindow/mainwindow.h"
#include "tests/songfiles/midiimage.h"

#include "app/settingskeys.h"
#include "app/stylesheet.h"
#include "database/database.h"
#include "database/songsdbrecord.h"
#include "database/usersongsreltablemodel.h"
#include "resources/appresources.h"
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

using namespace MidiImage;

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// A user's song before the synchronisation: a title and an artist of its own,
// the maker's notice or not, and noteCount notes.
QByteArray midiSong(const QString& title, const QString& artist, bool tavrel, int noteCount)
{
    QByteArray track = meta(0x03, title.toUtf8());
    if (tavrel)
        track += meta(0x02, "(C) Tavrel 2021");
    track += tag(2, artist.toUtf8());
    quint32 seed = 2021;
    for (int i = 0; i < noteCount; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int pitch = 36 + int(seed >> 16) % 48;
        track += bytes({int(seed >> 8) & 0x7F, 0x90, pitch, 0x50, 0x60, 0x80, pitch, 0x00});
    }
    return smf(0, {track});
}

void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// An MFx container ("_MF3", "_MF4", "_MF5") with the title and artist in its header.
QByteArray mfxSong(const QByteArray& magic, const QString& title, const QString& artist, int noteCount)
{
    QByteArray image = midiSong(QString(), QString(), false, noteCount);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
    QByteArray packed;
    LzHuff().compress(image, packed);
    QByteArray header(magic == "_MF5" ? 1024 : 512, '\0');
    header.replace(0, 4, magic);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    header.replace(90, 6, "TAVREL");
    header.replace(122, title.toUtf8().size(), title.toUtf8());
    header.replace(218, artist.toUtf8().size(), artist.toUtf8());
    return header + packed;
}

QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

// An ID3v2.3 tag with the title and artist, then about 1 MB of MPEG frames:
// an MP3 song is rewritten whole when its tag grows.
QByteArray mp3Song(const QString& title, const QString& artist, bool tavrel)
{
    QByteArray frames = id3Frame("TIT2", title.toUtf8()) + id3Frame("TPE1", artist.toUtf8());
    if (tavrel)
        frames += id3Frame("TCOP", "2021 Tavrel");
    const int n = frames.size();
    QByteArray song = "ID3" + bytes({3, 0, 0, (n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F}) + frames;
    for (int f = 0; f < 2600; ++f) {
        song += bytes({0xFF, 0xFB, 0x90, 0x64});
        song += QByteArray(413, char(f % 251));
    }
    return song;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

struct Library
{
    QStringList paths;
    QList<QByteArray> contents;
    int known = 0;  // songs named after a catalogue song
};

// File names of catalogue songs, spread over the whole catalogue.
QStringList catalogueNames(int wanted)
{
    QStringList all;
    {
        Database db;
        if (!db.init())
            qFatal("the catalogue could not be opened");
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("con_songsdb"), false));
        if (!q.exec(QStringLiteral("select filename from songs order by filename")))
            qFatal("the catalogue could not be read");
        while (q.next())
            all << q.value(0).toString();
    }
    if (all.size() < wanted)
        qFatal("the catalogue holds only %d songs", int(all.size()));
    QStringList names;
    const int step = all.size() / wanted;
    for (int i = 0; i < wanted; ++i)
        names << all.at(i * step);
    return names;
}

Library makeLibrary(const QString& dir, int count)
{
    static const char* const extensions[] = {"mid", "mid", "mid", "mid", "kar", "mf3", "mf4", "mf5", "mp3", "mp3"};
    const int known = count - count / 10;
    const QStringList names = catalogueNames(known);
    Library lib;
    for (int i = 0; i < count; ++i) {
        const QString ext = QLatin1String(extensions[i % 10]);
        const bool inCatalogue = i % 10 != 9;
        const QString base = inCatalogue ? names.at(lib.known++).toLower() : QStringLiteral("own%1").arg(i);
        const QString title = QStringLiteral("Song number %1").arg(i);
        const QString artist = QStringLiteral("Artist %1").arg(i % 37);
        QByteArray data;
        if (ext == QLatin1String("mp3"))
            data = mp3Song(title, artist, i % 3 != 0);
        else if (ext.startsWith(QLatin1String("mf")))
            data = mfxSong("_" + ext.toUpper().toLatin1(), title, artist, 3000);
        else
            data = midiSong(title, artist, i % 3 != 0, 3000);
        lib.paths << QStringLiteral("%1/%2.%3").arg(dir, base, ext);
        lib.contents << data;
    }
    return lib;
}

void rewrite(const Library& lib)
{
    for (int i = 0; i < lib.paths.size(); ++i)
        if (!writeFile(lib.paths.at(i), lib.contents.at(i)))
            qFatal("cannot write %s", qPrintable(lib.paths.at(i)));
}

QString withoutExtension(const QString& name)
{
    static const QRegularExpression extension(QStringLiteral("\\.{1,1}\\w{3,3}$"));
    return name.toUpper().remove(extension);
}

// Per song what the synchronisation does, straight through MetaSong and Database.
double directSeconds(const Library& lib, int* updated)
{
    rewrite(lib);
    Database db;
    if (!db.init())
        qFatal("the catalogue could not be opened");
    *updated = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : lib.paths) {
        MetaSong song;
        if (!song.importFile(path))
            qFatal("unreadable %s", qPrintable(path));
        SongInfo info;
        song.getSongInfo(info);
        const QString nameKey = withoutExtension(QFileInfo(path).fileName());
        const QString longKey = withoutExtension(info.mfxLongName);
        SongsDbRecord r;
        if (!db.getRecordByFilename(nameKey, r) && (longKey.isEmpty() || !db.getRecordByFilename(longKey, r))
            && !db.getRecordByTitle(info.title.toUpper(), r))
            continue;
        SongInfo merged = info;
        merged.title = r.title;
        merged.artist = r.artist;
        merged.altArtist = r.altArtist;
        merged.genre = r.genre;
        merged.author = r.author;
        merged.length = r.length;
        merged.userBpm = r.bpm;
        merged.key = r.key;
        merged.markers = r.markers;
        song.setSongInfo(merged, false);
        *updated += song.saveToFile(path);
        MetaSong reread;
        SongInfo after;
        if (reread.importFile(path))
            reread.getSongInfo(after);
    }
    return timer.nsecsElapsed() / 1e9;
}

// The synchronisation button of a window holding the imported library; the
// backup offer is answered "Prosegui senza backup".
double windowSeconds(const Library& lib, int* updated)
{
    rewrite(lib);
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&lib](QWidget*, const QString&, const QString&, const QString&) { return lib.paths; });
    w.findChild<QToolButton*>(QStringLiteral("selectDirToolButton"))->click();
    auto* model = qobject_cast<UserSongsRelTableModel*>(
        w.findChild<QTableView*>(QStringLiteral("userLibraryTableView"))->model());
    if (!model || model->goodRowCount() != lib.paths.size())
        qFatal("the import did not list every song");

    // "Prosegui senza backup", then the report at the end, which stops the clock.
    QTimer answer;
    answer.setInterval(1);
    QElapsedTimer timer;
    double seconds = 0;
    bool offered = false;
    QObject::connect(&answer, &QTimer::timeout, [&]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits("BackupDialog")) {
            offered = true;
            modal->findChild<QAbstractButton*>(QStringLiteral("exitPushButton"))->click();
        } else if (auto* report = qobject_cast<QMessageBox*>(modal)) {
            seconds = timer.nsecsElapsed() / 1e9;
            answer.stop();
            report->button(QMessageBox::Ok)->click();
        }
    });
    answer.start();
    timer.start();
    w.findChild<QToolButton*>(QStringLiteral("updateDataToolButton"))->click();
    if (!offered || answer.isActive())
        qFatal("no backup offer or no report came");

    *updated = 0;
    for (int row = 0; row < model->goodRowCount(); ++row)
        *updated += model->status(row) == Database::StatusUpdated;
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    if (count < 10) {
        std::fprintf(stderr, "usage: bench_sync [file count, at least 10]\n");
        return 1;
    }

    QTemporaryDir settingsDir, workDir, songsDir;
    if (!settingsDir.isValid() || !workDir.isValid() || !songsDir.isValid())
        qFatal("no temporary folder");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QDir::setCurrent(workDir.path());  // no "songsdb_debug" here: the shipped catalogue is used
    // No import summary, and songs that are not the maker's are synchronised without a question.
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
        .setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
    initAppResources();
    if (!applyStyleSheet(app, QStringLiteral(":/style/default.qss")))
        qFatal("no style sheet");
    qInstallMessageHandler(&quiet);

    const Library lib = makeLibrary(songsDir.path(), count);
    qint64 total = 0;
    for (const QByteArray& c : lib.contents)
        total += c.size();

    // Best of three of each.
    double direct = 1e9, window = 1e9;
    int directUpdated = 0, windowUpdated = 0;
    for (int run = 0; run < 3; ++run) {
        direct = qMin(direct, directSeconds(lib, &directUpdated));
        window = qMin(window, windowSeconds(lib, &windowUpdated));
    }
    if (directUpdated != windowUpdated)
        qFatal("the window synchronised %d songs, the direct run %d", windowUpdated, directUpdated);

    std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3), %d in the catalogue\n", count,
                total / 1e6, lib.known);
    std::printf("direct:             %7.3f s  %8.0f files/s\n", direct, count / direct);
    std::printf("synchronisation:    %7.3f s  %8.0f files/s  (%d songs synchronised)\n", window, count / window,
                windowUpdated);
    std::printf("synchronisation / direct: %7.2f\n", window / direct);
    return 0;
}
