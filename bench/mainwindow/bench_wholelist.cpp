// Whole-list update of one detail through the main window (a double click on
// the first song, a new author with "Applica a tutti" in the song editor, then
// every other song read, given the author, saved and read back, its row
// refreshed), against the same reads and saves made directly.
//
//     bench_wholelist [file count]          (default: 10000)
//
// Every run starts from freshly written files; the window's update is timed
// from its progress dialog's showing until it is done. Prints the medians of
// five interleaved rounds and their ratio.
#include "benchlibrary.h"

#include "database/usersongsreltablemodel.h"
#include "mainwindow/mainwindow.h"
#include "songfiles/metasong.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTableView>
#include <QToolButton>

using namespace Bench;

namespace {

const int kRounds = 5;
const char* const kAuthor = "Common Author";

// What the update does to every song but the first, straight through MetaSong.
double directSeconds(const Library& lib, int* saved)
{
    lib.write();
    *saved = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i < lib.paths.size(); ++i) {
        MetaSong song;
        if (!song.importFile(lib.paths[i]))
            qFatal("unreadable %s", qPrintable(lib.paths[i]));
        SongInfo info;
        song.getSongInfo(info);
        info.filename = lib.paths[i];
        info.author = QLatin1String(kAuthor);
        song.setSongInfo(info, true);
        *saved += song.saveToFile(lib.paths[i]);
        MetaSong reread;
        SongInfo after;
        if (reread.importFile(lib.paths[i]))
            reread.getSongInfo(after);
    }
    return timer.nsecsElapsed() / 1e9;
}

double windowSeconds(const Library& lib, int* saved)
{
    lib.write();
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&lib](QWidget*, const QString&, const QString&, const QString&) { return lib.paths; });
    WindowTest::child<QToolButton>(&w, "selectDirToolButton")->click();
    auto* view = WindowTest::child<QTableView>(&w, "userLibraryTableView");
    auto* model = qobject_cast<UserSongsRelTableModel*>(view->model());
    if (!model || model->goodRowCount() != lib.paths.size())
        qFatal("the import did not list every song");

    QElapsedTimer timer;
    bool started = false;
    WindowWatch watch;
    watch.shown = [&](QWidget* window) {
        if (qobject_cast<QProgressDialog*>(window) && !started) {
            timer.start();
            started = true;
        }
    };
    watch.open = [](QWidget* window) {
        if (window->inherits("DataEditDialog")) {
            WindowTest::child<QLineEdit>(window, "authorLineEdit")->setText(QLatin1String(kAuthor));
            press(window, "checkBoxToAllAuthor"); // asks, and is answered below
            press(window, "savePushButton");
        } else if (auto* box = qobject_cast<QMessageBox*>(window)) {
            box->button(box->standardButtons() & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok)->click();
        }
    };
    emit view->doubleClicked(model->index(0, 2));
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!started)
        qFatal("the whole list was not updated");

    *saved = 0;
    for (int row = 1; row < model->goodRowCount(); ++row)
        *saved += model->status(row) == Database::StatusManual;
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    if (count < 2) {
        std::fprintf(stderr, "usage: bench_wholelist [file count, at least 2]\n");
        return 1;
    }

    Setup setup(app);
    QTemporaryDir songsDir;
    const Library lib = makeLibrary(songsDir.path(), count, NamesUnique, 1000000);
    QVector<double> direct, window;
    int directSaved = 0, windowSaved = 0;
    interleave(kRounds, [&] { direct << directSeconds(lib, &directSaved); },
               [&] { window << windowSeconds(lib, &windowSaved); });
    if (directSaved != windowSaved)
        qFatal("the window saved %d songs, the direct run %d", windowSaved, directSaved);
    const double d = median(direct), u = median(window);
    std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3)\n", count, lib.bytes() / 1e6);
    std::printf("direct:             %7.3f s  %8.0f files/s\n", d, (count - 1) / d);
    std::printf("whole-list update:  %7.3f s  %8.0f files/s  (%d songs saved)\n", u, (count - 1) / u, windowSaved);
    std::printf("whole-list update / direct: %7.2f\n\n", u / d);
    printRounds("direct", direct);
    printRounds("whole-list update", window);
    std::printf("medians of %d interleaved rounds\n", kRounds);
    return 0;
}
