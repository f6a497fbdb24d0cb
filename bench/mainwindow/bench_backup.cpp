// Backup of a library of small songs through the main window (the backup
// offered before a synchronisation: a new dated folder, a checked copy of
// every song under a name of its own, the manifest, the progress dialog),
// against copying the same files with QFile::copy in a loop.
//
//     bench_backup [file count]          (default: 10000)
//
// Every song has a file name of its own. The window's backup is timed from
// its progress dialog's showing until its report shows; every run copies into
// a new folder. Prints the medians of five interleaved rounds and their ratio.
#include "benchlibrary.h"

#include "mainwindow/backupdialog.h"
#include "mainwindow/mainwindow.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QToolButton>

using namespace Bench;

namespace {

const int kRounds = 5;

double backupSeconds(const Library& lib, const QString& parent)
{
    QDir().mkpath(parent);
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&lib](QWidget*, const QString&, const QString&, const QString&) { return lib.paths; });
    WindowTest::child<QToolButton>(&w, "selectDirToolButton")->click();
    BackupDialog::setFolderChooser([&parent](QWidget*, const QString&, const QString&) { return parent; });

    QElapsedTimer timer;
    double seconds = 0;
    WindowWatch watch;
    watch.shown = [&](QWidget* window) {
        if (qobject_cast<QProgressDialog*>(window))
            timer.start();
        else if (qobject_cast<QMessageBox*>(window))
            seconds = timer.nsecsElapsed() / 1e9;
    };
    watch.open = [](QWidget* window) {
        if (window->inherits("BackupDialog")) {
            press(window, "browsePushButton");
            press(window, "doBackupPushButton");
        } else if (auto* box = qobject_cast<QMessageBox*>(window)) {
            if (box->text() != QLatin1String("Backup eseguito correttamente"))
                qFatal("the backup failed: %s", qPrintable(box->informativeText()));
            box->button(QMessageBox::Ok)->click();
        }
    };
    if (!w.suggestBackup())
        qFatal("the backup did not run");
    BackupDialog::setFolderChooser(nullptr);
    const QStringList made = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (made.size() != 1 || QDir(parent + QLatin1Char('/') + made.first()).count() != uint(lib.paths.size() + 3))
        qFatal("the backup folder does not hold every song");
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    Setup setup(app);
    QTemporaryDir songsDir, copiesDir;
    const Library lib = makeLibrary(songsDir.path(), count, NamesUnique, 0);
    QVector<double> copy, backup;
    int round = 0;
    const auto plain = [&] { return copiesDir.filePath(QStringLiteral("copy%1").arg(round)); };
    const auto backups = [&] { return copiesDir.filePath(QStringLiteral("backup%1").arg(round)); };
    interleave(
        kRounds, [&] { copy << copySeconds(lib, plain()); }, [&] { backup << backupSeconds(lib, backups()); },
        [&] {
            QDir(plain()).removeRecursively();
            QDir(backups()).removeRecursively();
            ++round;
        });
    const double c = median(copy), b = median(backup);
    std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3), each of its own name\n", count,
                lib.bytes() / 1e6);
    std::printf("QFile::copy loop:   %7.3f s  %8.0f files/s\n", c, count / c);
    std::printf("backup:             %7.3f s  %8.0f files/s\n", b, count / b);
    std::printf("backup / copy:      %7.2f\n\n", b / c);
    printRounds("QFile::copy loop", copy);
    printRounds("backup", backup);
    std::printf("medians of %d interleaved rounds\n", kRounds);
    return 0;
}
