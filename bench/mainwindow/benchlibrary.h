// Shared by the benchmarks of the main window's workflows: generated song
// libraries, the program's settings in temporary folders, medians of
// interleaved rounds, peak memory, and answers to the window's dialogs.
#ifndef BENCH_MAINWINDOW_BENCHLIBRARY_H
#define BENCH_MAINWINDOW_BENCHLIBRARY_H

#include "tests/mainwindow/windowtest.h"

#include "app/settingskeys.h"
#include "app/stylesheet.h"
#include "database/database.h"
#include "resources/appresources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace Bench {

using namespace TestSongs;

inline void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// The program's settings and working folder in temporary folders (so the
// shipped catalogue is used), no import summary and no copyright questions,
// the resources and the style sheet the program paints with, and a log that
// goes nowhere.
class Setup
{
public:
    explicit Setup(QApplication& app)
    {
        if (!settingsDir.isValid() || !workDir.isValid())
            qFatal("no temporary folder");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QDir::setCurrent(workDir.path());
        QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application))
            .setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
        initAppResources();
        if (!applyStyleSheet(app, QStringLiteral(":/style/default.qss")))
            qFatal("no style sheet");
        qInstallMessageHandler(&quiet);
    }
    QTemporaryDir settingsDir, workDir;
};

// Song files: what each holds before a tail shared by many (the audio of the
// MP3 songs), written again before each round that changes them.
struct Library
{
    QStringList paths;
    QVector<QByteArray> heads;
    QVector<QByteArray> tails;
    int known = 0; // songs named after a catalogue song

    qint64 bytes() const
    {
        qint64 n = 0;
        for (int i = 0; i < paths.size(); ++i)
            n += heads[i].size() + tails[i].size();
        return n;
    }
    void write() const
    {
        for (int i = 0; i < paths.size(); ++i) {
            QFile f(paths[i]);
            if (!f.open(QIODevice::WriteOnly) || f.write(heads[i]) != heads[i].size()
                || f.write(tails[i]) != tails[i].size())
                qFatal("cannot write %s", qPrintable(paths[i]));
        }
        settle();
    }

    // Writes everything written so far to the disk, so that a timed run does
    // not pay for the writing of what came before it.
    static void settle() { ::sync(); }
};

// File names of the shipped catalogue's songs, in its order.
inline QStringList catalogueNames()
{
    QStringList all;
    Database db;
    if (!db.init())
        qFatal("the catalogue could not be opened");
    QSqlQuery q(QSqlDatabase::database(QStringLiteral("con_songsdb"), false));
    if (!q.exec(QStringLiteral("select filename from songs order by filename")))
        qFatal("the catalogue could not be read");
    while (q.next())
        all << q.value(0).toString();
    return all;
}

enum namesEnum {
    NamesUnique,   // "song00001.mid", all in one folder
    NamesCatalogue // nine songs in ten named after a catalogue song, the catalogue's names used again in
                   // further folders where it holds fewer songs; the tenth "own00009.mid" is unknown to it
};

// `count` songs in `dir`: four MIDI songs in ten, one karaoke song, one each of
// MF3, MF4 and MF5, two MP3 songs with `mp3Audio` bytes of audio frames after
// their tag; MIDI images of 3,000 notes; two songs in three are the maker's.
inline Library makeLibrary(const QString& dir, int count, namesEnum names, int mp3Audio)
{
    static const char* const extensions[] = {"mid", "mid", "mid", "mid", "kar", "mf3", "mf4", "mf5", "mp3", "mp3"};
    QByteArray audio;
    for (int f = 0; audio.size() < mp3Audio; ++f) {
        audio += bytes({0xFF, 0xFB, 0x90, 0x64});
        audio += QByteArray(413, char(f % 251));
    }
    const QStringList catalogue = names == NamesCatalogue ? catalogueNames() : QStringList();
    Library lib;
    for (int i = 0; i < count; ++i) {
        const QString ext = QLatin1String(extensions[i % 10]);
        QString name = QStringLiteral("song%1").arg(i, 5, 10, QLatin1Char('0'));
        QString folder = dir;
        if (names == NamesCatalogue && i % 10 != 9) {
            name = catalogue.at(lib.known % catalogue.size()).toLower();
            folder = QStringLiteral("%1/set%2").arg(dir).arg(lib.known / catalogue.size());
            ++lib.known;
        } else if (names == NamesCatalogue) {
            name = QStringLiteral("own%1").arg(i, 5, 10, QLatin1Char('0'));
        }
        QDir().mkpath(folder);
        const Details d{QStringLiteral("Song number %1").arg(i), QStringLiteral("Artist %1").arg(i % 37),
                        QStringLiteral("POP"), QStringLiteral("Author %1").arg(i % 53), 120 + i % 200,
                        60 + i % 100, i % 3 != 0, QByteArray()};
        lib.paths << QStringLiteral("%1/%2.%3").arg(folder, name, ext);
        if (ext == QLatin1String("mp3")) {
            lib.heads << mp3Song(d);
            lib.tails << audio;
        } else {
            lib.heads << (ext.startsWith(QLatin1String("mf")) ? mfxSong("_" + ext.toUpper().toLatin1(), d, 3000)
                                                               : midiSong(d, 3000));
            lib.tails << QByteArray();
        }
    }
    lib.write();
    return lib;
}

// Runs `baseline` and `workflow` in turn for `rounds` rounds, the baseline
// first in even rounds and second in odd ones, each after what came before
// it is on the disk; `between` runs after each round.
inline void interleave(int rounds, const std::function<void()>& baseline, const std::function<void()>& workflow,
                       const std::function<void()>& between = {})
{
    for (int round = 0; round < rounds; ++round) {
        for (const auto* run : round % 2 == 0 ? QVector<const std::function<void()>*>{&baseline, &workflow}
                                              : QVector<const std::function<void()>*>{&workflow, &baseline}) {
            Library::settle();
            (*run)();
        }
        if (between)
            between();
    }
}

// The figures of every round, for a look at how much they vary.
inline void printRounds(const char* label, const QVector<double>& values)
{
    std::printf("  rounds, %s:", label);
    for (double v : values)
        std::printf(" %.3f", v);
    std::printf("\n");
}

inline double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The most memory this process has held, in MB. On Linux from VmHWM: the
// peak getrusage() gives a started program counts what the program that
// started it held when it did.
inline double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1e3; // kB
        }
    }
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
#ifdef __APPLE__
    return usage.ru_maxrss / 1e6; // bytes
#else
    return usage.ru_maxrss / 1e3; // kilobytes
#endif
}

// Calls `shown` as each window of the program (a dialog, a message box, a
// progress dialog) appears, and `open` once the window's own event loop runs,
// where it can be answered. Nothing polls: the work runs undisturbed.
class WindowWatch : public QObject
{
public:
    std::function<void(QWidget*)> shown;
    std::function<void(QWidget*)> open;

    WindowWatch() { qApp->installEventFilter(this); }
    ~WindowWatch() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Show || !object->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(object);
        if (!window->isWindow())
            return false;
        if (shown)
            shown(window);
        if (open) {
            QPointer<QWidget> later(window);
            QTimer::singleShot(0, this, [this, later] {
                if (later && later->isVisible())
                    open(later);
            });
        }
        return false;
    }
};

inline void press(QWidget* window, const char* button)
{
    WindowTest::child<QAbstractButton>(window, button)->click();
}

// The baseline of the backup and the transfer: QFile::copy of every song of
// `lib` into `folder`, in a loop; its seconds.
inline double copySeconds(const Library& lib, const QString& folder)
{
    QDir().mkpath(folder);
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : lib.paths) {
        if (!QFile::copy(path, folder + QLatin1Char('/') + path.section(QLatin1Char('/'), -1)))
            qFatal("cannot copy %s", qPrintable(path));
    }
    return timer.nsecsElapsed() / 1e9;
}

inline void printRatio(const char* label, double figure, double baseline)
{
    std::printf("%-26s%7.2f\n", label, figure / baseline);
}

} // namespace Bench

#endif
