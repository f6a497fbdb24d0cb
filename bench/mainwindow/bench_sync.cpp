// Synchronisation of song libraries with the shipped catalogue through the
// main window (the synchronisation button, "Prosegui senza backup", a
// catalogue look-up, merge, save and re-read of every song, the table rows
// refreshed), against the same reads, look-ups and saves made directly,
// without the window.
//
//     bench_sync [file count...]          (default: 2000 10000)
//
// Nine songs in ten carry the file name of a catalogue song (the catalogue's
// names used again in further folders where it has fewer songs), the tenth
// is unknown to it. Every run starts from freshly written files; the window's
// run is timed from the button until its report shows. Prints the medians of
// five interleaved rounds and their ratio.
#include "benchlibrary.h"

#include "database/songsdbrecord.h"
#include "database/usersongsreltablemodel.h"
#include "mainwindow/mainwindow.h"
#include "songfiles/metasong.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QToolButton>

using namespace Bench;

namespace {

const int kRounds = 5;

QString withoutExtension(const QString& name)
{
    static const QRegularExpression extension(QStringLiteral("\\.{1,1}\\w{3,3}$"));
    return name.toUpper().remove(extension);
}

// Per song what the synchronisation does, straight through MetaSong and Database.
double directSeconds(const Library& lib, int* updated)
{
    lib.write();
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

// The synchronisation button of a window holding the imported library.
double windowSeconds(const Library& lib, int* updated)
{
    lib.write();
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&lib](QWidget*, const QString&, const QString&, const QString&) { return lib.paths; });
    WindowTest::child<QToolButton>(&w, "selectDirToolButton")->click();
    auto* model = qobject_cast<UserSongsRelTableModel*>(
        WindowTest::child<QTableView>(&w, "userLibraryTableView")->model());
    if (!model || model->goodRowCount() != lib.paths.size())
        qFatal("the import did not list every song");

    QElapsedTimer timer;
    double seconds = 0;
    bool reported = false;
    WindowWatch watch;
    watch.shown = [&](QWidget* window) {
        if (qobject_cast<QMessageBox*>(window) && !reported) {
            seconds = timer.nsecsElapsed() / 1e9;
            reported = true;
        }
    };
    watch.open = [](QWidget* window) {
        if (window->inherits("BackupDialog"))
            press(window, "exitPushButton");
        else if (auto* box = qobject_cast<QMessageBox*>(window))
            box->button(QMessageBox::Ok)->click();
    };
    timer.start();
    WindowTest::child<QToolButton>(&w, "updateDataToolButton")->click();
    if (!reported)
        qFatal("no report came");

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
    QList<int> counts;
    for (const QString& a : app.arguments().mid(1))
        counts << a.toInt();
    if (counts.isEmpty())
        counts = {2000, 10000};
    for (int count : counts) {
        if (count < 10) {
            std::fprintf(stderr, "usage: bench_sync [file count, at least 10...]\n");
            return 1;
        }
    }

    Setup setup(app);
    for (int count : counts) {
        QTemporaryDir songsDir;
        const Library lib = makeLibrary(songsDir.path(), count, NamesCatalogue, 1000000);
        QVector<double> direct, window;
        int directUpdated = 0, windowUpdated = 0;
        interleave(kRounds, [&] { direct << directSeconds(lib, &directUpdated); },
                   [&] { window << windowSeconds(lib, &windowUpdated); });
        if (directUpdated != windowUpdated)
            qFatal("the window synchronised %d songs, the direct run %d", windowUpdated, directUpdated);
        const double d = median(direct), s = median(window);
        std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3), %d in the catalogue\n", count,
                    lib.bytes() / 1e6, lib.known);
        std::printf("direct:             %7.3f s  %8.0f files/s\n", d, count / d);
        std::printf("synchronisation:    %7.3f s  %8.0f files/s  (%d songs synchronised)\n", s, count / s,
                    windowUpdated);
        std::printf("synchronisation / direct: %7.2f\n", s / d);
        printRounds("direct", direct);
        printRounds("synchronisation", window);
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("medians of %d interleaved rounds\n", kRounds);
    return 0;
}
