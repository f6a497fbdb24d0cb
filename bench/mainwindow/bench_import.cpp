// Import of song libraries through the main window (the import button, the
// reading of every file, one table row per song, the progress dialog),
// against the mere reading of the same files.
//
//     bench_import [file count...]          (default: 1000 10000)
//
// For each library: the medians of five interleaved rounds of reading,
// importing, and importing with the log written to a file; then the peak
// memory of a process that only imports the library, beside that of one that
// only reads it (this program run again with "--peak import|read <folder>").
#include "benchlibrary.h"

#include "mainwindow/mainwindow.h"
#include "songfiles/metasong.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QToolButton>

using namespace Bench;

namespace {

const int kRounds = 5;
QFile* logFile = nullptr;

void messageSink(QtMsgType, const QMessageLogContext&, const QString& message)
{
    logFile->write(message.toUtf8());
    logFile->write("\n");
}

double importSeconds(const QStringList& paths)
{
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&paths](QWidget*, const QString&, const QString&, const QString&) { return paths; });
    QElapsedTimer timer;
    timer.start();
    WindowTest::child<QToolButton>(&w, "selectDirToolButton")->click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int rows = WindowTest::child<QTableView>(&w, "userLibraryTableView")->model()->rowCount();
    if (rows != paths.size())
        qFatal("imported %d rows of %d files", rows, int(paths.size()));
    return seconds;
}

double readSeconds(const QStringList& paths)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : paths) {
        MetaSong song;
        SongInfo info;
        if (!song.importFile(path))
            qFatal("unreadable %s", qPrintable(path));
        song.getSongInfo(info);
    }
    return timer.nsecsElapsed() / 1e9;
}

// This program again, importing or reading the songs of a folder: its peak memory.
double peakOf(const char* mode, const QString& folder)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak"), QLatin1String(mode), folder});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the %s process failed: %s", mode, child.readAllStandardError().constData());
    bool ok = false;
    const double mb = child.readAllStandardOutput().trimmed().toDouble(&ok);
    if (!ok)
        qFatal("the %s process gave no figure", mode);
    return mb;
}

int peakRun(QApplication& app, const QString& mode, const QString& folder)
{
    Setup setup(app);
    QStringList paths;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    if (mode == QLatin1String("import"))
        importSeconds(paths);
    else
        readSeconds(paths);
    std::printf("%.1f\n", peakMemoryMb());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--peak"))
        return peakRun(app, args.value(1), args.value(2));

    QList<int> counts;
    for (const QString& a : args)
        counts << a.toInt();
    if (counts.isEmpty())
        counts = {1000, 10000};

    Setup setup(app);
    double firstRatio = 0;
    for (int count : counts) {
        QTemporaryDir songsDir;
        const Library lib = makeLibrary(songsDir.path(), count, NamesUnique, 1000000);

        QVector<double> read, import, logged;
        qint64 logBytes = 0;
        const auto importLogged = [&] {
            QFile log(setup.workDir.filePath(QStringLiteral("log.txt")));
            if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
                qFatal("no log file");
            logFile = &log;
            qInstallMessageHandler(&messageSink);
            logged << importSeconds(lib.paths);
            qInstallMessageHandler(&quiet);
            logBytes = log.size();
        };
        interleave(kRounds, [&] { read << readSeconds(lib.paths); }, [&] {
            import << importSeconds(lib.paths);
            importLogged();
        });
        const double r = median(read), i = median(import), l = median(logged);
        const double peakImport = peakOf("import", songsDir.path());
        const double peakRead = peakOf("read", songsDir.path());

        std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3)\n", count, lib.bytes() / 1e6);
        std::printf("read only:            %7.3f s  %8.0f files/s\n", r, count / r);
        std::printf("import:               %7.3f s  %8.0f files/s\n", i, count / i);
        std::printf("import / read:        %7.2f\n", i / r);
        std::printf("import, log file:     %7.3f s  %8.0f files/s  (%.1f MB of log)\n", l, count / l, logBytes / 1e6);
        std::printf("peak memory, import:  %7.1f MB\n", peakImport);
        std::printf("peak memory, read:    %7.1f MB\n", peakRead);
        printRounds("read only", read);
        printRounds("import", import);
        printRounds("import, log file", logged);
        if (firstRatio == 0)
            firstRatio = i / r;
        else
            std::printf("import / read, over the first library's: %.2f\n", (i / r) / firstRatio);
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("medians of %d interleaved rounds\n", kRounds);
    return 0;
}
