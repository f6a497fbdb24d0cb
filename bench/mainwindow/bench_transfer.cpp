// Transfer of a library of small songs to a player memory through the main
// window (the transfer button, the memory's folder "songs", a checked copy of
// every song, the progress dialog), against copying the same files with
// QFile::copy in a loop. The update of the memory's index that follows the
// copy is in neither.
//
//     bench_transfer [file count]          (default: 10000)
//
// Every song has a file name of its own; the memories are folders under a
// volumes folder of the run's own (ORVALO3_VOLUMES_DIR). The window's transfer
// is timed from the button until the index update's progress dialog shows;
// every run copies onto a new memory. Prints the medians of five interleaved
// rounds and their ratio.
#include "benchlibrary.h"

#include "mainwindow/mainwindow.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QToolButton>

using namespace Bench;

namespace {

const int kRounds = 5;

double transferSeconds(const Library& lib, const QString& memory, double* index)
{
    QDir().mkpath(memory);
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&lib](QWidget*, const QString&, const QString&, const QString&) { return lib.paths; });
    WindowTest::child<QToolButton>(&w, "selectDirToolButton")->click();
    w.setDirChooser([&memory](QWidget*, const QString&, const QString&) { return memory; });

    QElapsedTimer timer;
    double seconds = 0;
    WindowWatch watch;
    watch.shown = [&](QWidget* window) {
        if (qobject_cast<QProgressDialog*>(window) && window->windowTitle() != QLatin1String("Trasferimento")
            && seconds == 0)
            seconds = timer.nsecsElapsed() / 1e9;
        else if (qobject_cast<QMessageBox*>(window))
            *index = timer.nsecsElapsed() / 1e9 - seconds;
    };
    watch.open = [](QWidget* window) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            if (box->icon() != QMessageBox::Information)
                qFatal("the transfer failed: %s", qPrintable(box->text() + ' ' + box->informativeText()));
            box->button(QMessageBox::Ok)->click();
        }
    };
    timer.start();
    WindowTest::child<QToolButton>(&w, "transferFilesToolButton")->click();
    if (seconds == 0)
        qFatal("the index was not updated");
    if (QDir(memory + QStringLiteral("/songs")).entryList(QDir::Files).size() != lib.paths.size())
        qFatal("the memory does not hold every song");
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir volumes;
    qputenv("ORVALO3_VOLUMES_DIR", volumes.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    Setup setup(app);
    QTemporaryDir songsDir;
    const Library lib = makeLibrary(songsDir.path(), count, NamesUnique, 0);
    QVector<double> copy, transfer, index;
    int round = 0;
    const auto plain = [&] { return volumes.filePath(QStringLiteral("COPY%1/songs").arg(round)); };
    const auto memory = [&] { return volumes.filePath(QStringLiteral("CARD%1").arg(round)); };
    interleave(
        kRounds, [&] { copy << copySeconds(lib, plain()); }, [&] {
            double indexSeconds = 0;
            transfer << transferSeconds(lib, memory(), &indexSeconds);
            index << indexSeconds;
        },
        [&] {
            QDir(plain()).removeRecursively();
            QDir(memory()).removeRecursively();
            ++round;
        });
    const double c = median(copy), t = median(transfer);
    std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3), each of its own name\n", count,
                lib.bytes() / 1e6);
    std::printf("QFile::copy loop:   %7.3f s  %8.0f files/s\n", c, count / c);
    std::printf("transfer:           %7.3f s  %8.0f files/s\n", t, count / t);
    std::printf("transfer / copy:    %7.2f\n", t / c);
    std::printf("the index update after it (not in the figures above): %.3f s\n\n", median(index));
    printRounds("QFile::copy loop", copy);
    printRounds("transfer", transfer);
    std::printf("medians of %d interleaved rounds\n", kRounds);
    return 0;
}
