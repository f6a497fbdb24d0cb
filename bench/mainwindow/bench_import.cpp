// Import of a library of 1,000 song files through the main window (the
// import button, the reading of every file, one table row per song, the
// progress dialog), against the mere reading of the same files.
//
//     bench_import [file count]
//
// Prints files per second for both and their ratio. The log goes nowhere in
// the first pair of figures and to a file, as with logging enabled, in the last.
#include "mainwindow/mainwindow.h"
#include "tests/mainwindow/windowtest.h"

#include "app/settingskeys.h"
#include "app/stylesheet.h"
#include "resources/appresources.h"
#include "songfiles/metasong.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>

using namespace ImportSongs;

namespace {

QFile* logFile = nullptr;

void messageSink(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (logFile) {
        logFile->write(message.toUtf8());
        logFile->write("\n");
    }
}

QStringList makeLibrary(const QString& dir, int count)
{
    static const char* const extensions[] = {"mid", "mid", "mid", "mid", "kar", "mf3", "mf4", "mf5", "mp3", "mp3"};
    // An MP3 file is read up to its first 1,000,000 bytes; give it audio beyond that.
    QByteArray audio;
    for (int f = 0; f < 2600; ++f) {
        audio += bytes({0xFF, 0xFB, 0x90, 0x64});
        audio += QByteArray(413, char(f % 251));
    }
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString ext = QLatin1String(extensions[i % 10]);
        Details d{QStringLiteral("Song number %1").arg(i), QStringLiteral("Artist %1").arg(i % 37),
                  QStringLiteral("POP"), QStringLiteral("Author %1").arg(i % 53), 120 + i % 200, 60 + i % 100,
                  i % 3 != 0};
        QByteArray data;
        if (ext == QLatin1String("mp3"))
            data = mp3Song(d) + audio;
        else if (ext.startsWith(QLatin1String("mf")))
            data = mfxSong("_" + ext.toUpper().toLatin1(), d, 3000);
        else
            data = midiSong(d, 3000);
        const QString path = QStringLiteral("%1/song%2.%3").arg(dir).arg(i, 4, 10, QLatin1Char('0')).arg(ext);
        if (!writeFile(path, data))
            qFatal("cannot write %s", qPrintable(path));
        paths << path;
    }
    return paths;
}

double importSeconds(const QStringList& paths)
{
    MainWindow w;
    w.show();
    QApplication::processEvents();
    w.setFileChooser([&paths](QWidget*, const QString&, const QString&, const QString&) { return paths; });
    QElapsedTimer timer;
    timer.start();
    w.findChild<QToolButton*>(QStringLiteral("selectDirToolButton"))->click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int rows = w.findChild<QTableView*>(QStringLiteral("userLibraryTableView"))->model()->rowCount();
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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;

    QTemporaryDir settingsDir, workDir, songsDir;
    if (!settingsDir.isValid() || !workDir.isValid() || !songsDir.isValid())
        qFatal("no temporary folder");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QDir::setCurrent(workDir.path());
    QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
        .setValue(QLatin1String(SettingsKeys::copyrightAsk), false); // no summary to answer
    initAppResources();
    // The program paints with its style sheet, which costs more than the plain style.
    if (!applyStyleSheet(app, QStringLiteral(":/style/default.qss")))
        qFatal("no style sheet");
    qInstallMessageHandler(&messageSink);

    const QStringList paths = makeLibrary(songsDir.path(), count);
    qint64 total = 0;
    for (const QString& p : paths)
        total += QFileInfo(p).size();

    // Best of three of each, the files warm in the cache for both.
    double import = 1e9, read = 1e9;
    for (int run = 0; run < 3; ++run) {
        read = qMin(read, readSeconds(paths));
        import = qMin(import, importSeconds(paths));
    }
    QFile log(workDir.filePath(QStringLiteral("log.txt")));
    if (!log.open(QIODevice::WriteOnly))
        qFatal("no log file");
    logFile = &log;
    const double importLogged = importSeconds(paths);
    logFile = nullptr;

    std::printf("library: %d files, %.1f MB (MIDI, karaoke, MF3, MF4, MF5, MP3)\n", count, total / 1e6);
    std::printf("read only:          %7.3f s  %8.0f files/s\n", read, count / read);
    std::printf("import:             %7.3f s  %8.0f files/s\n", import, count / import);
    std::printf("import / read:      %7.2f\n", import / read);
    std::printf("import, log file:   %7.3f s  %8.0f files/s  (%.1f MB of log)\n", importLogged,
                count / importLogged, log.size() / 1e6);
    return 0;
}
