// Cost of a song save (MetaSong::saveToFile: the check that the file is still
// the one read, attributes and owner carried over, flush, rename; in place
// behind a copy for hard-linked songs) against the save as it was made
// before: the same bytes through QSaveFile, an MP3's audio copied from the
// old file, after the same import and merge.
//
//     bench_save [song count] [folder]
//
// The songs (MIDI 0, MF4 and 1 MB MP3 files, in turn) are made in a new
// folder under `folder` (default: the system's temporary folder). Each way
// runs three times, interleaved; the best time of each is printed.
#include "songfiles/lzhuff.h"
#include "songfiles/metasong.h"
#include "songfiles/mp3header.h"
#include "tests/songfiles/tst_metasong_helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

using namespace SongBytes;

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

const char* const kFormats[] = {"mid", "mf4", "mp3"};

struct Library
{
    QStringList paths;
    QList<QByteArray> originals;
    QList<QByteArray> saved;   // what the save writes, for the baseline
    QList<qint64> audioStart; // where an MP3's audio begins in the original, else -1
    QList<QByteArray> images;  // an MFx song's unpacked MIDI image, packed again by the baseline
};

SongInfo edited(int i)
{
    return song(QStringLiteral("t=Song number %1|a=Artist %2|au=Author|g=Pop|len=%3|bpm=%4|k=D|tav")
                    .arg(i).arg(i % 37).arg(120 + i % 200).arg(60 + i % 100));
}

void restore(const Library& lib)
{
    for (int i = 0; i < lib.paths.size(); ++i)
        if (!writeFile(lib.paths[i], lib.originals[i]))
            qFatal("cannot write %s", qPrintable(lib.paths[i]));
}

// Import, merge and save every song, writing through `save`; seconds taken.
template <typename Save>
double run(const Library& lib, Save save)
{
    restore(lib);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < lib.paths.size(); ++i) {
        MetaSong meta;
        if (!meta.importFile(lib.paths[i]))
            qFatal("cannot import %s", qPrintable(lib.paths[i]));
        meta.setSongInfo(edited(i), true);
        if (!save(meta, i))
            qFatal("save failed: %s", qPrintable(lib.paths[i]));
    }
    return timer.nsecsElapsed() / 1e9;
}

// The save before: an MFx song packed, the new content through QSaveFile, an
// MP3's audio read from the old file in pieces of 100,000 bytes.
bool oldSave(const Library& lib, int i)
{
    if (!lib.images[i].isEmpty()) {
        QByteArray packed;
        LzHuff().compress(lib.images[i], packed);
        if (packed.isEmpty())
            return false;
    }
    const qint64 start = lib.audioStart[i];
    QSaveFile out(lib.paths[i]);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (start < 0)
        return out.write(lib.saved[i]) == lib.saved[i].size() && out.commit();
    const qint64 audio = lib.originals[i].size() - start;
    const QByteArray tag = lib.saved[i].left(int(lib.saved[i].size() - audio));
    QFile old(lib.paths[i]);
    if (out.write(tag) != tag.size() || !old.open(QIODevice::ReadOnly) || !old.seek(start))
        return false;
    while (!old.atEnd())
        if (out.write(old.read(100000)) < 0)
            return false;
    return out.commit();
}

void report(const char* label, int count, double seconds)
{
    std::printf("%s: %.3f s  %.1f files/s\n", label, seconds, count / seconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    QTemporaryDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench_save-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/bench_save-XXXXXX"));
    if (count < 3 || !dir.isValid()) {
        std::fprintf(stderr, "usage: bench_save [song count >= 3] [folder]\n");
        return 2;
    }

    Library lib;
    for (int i = 0; i < count; ++i) {
        const QString format = QLatin1String(kFormats[i % 3]);
        lib.paths << dir.filePath(QStringLiteral("song%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(format));
        // About 25 KB of MIDI; 1 MB of MP3 audio.
        lib.originals << fileFor(format, song(QStringLiteral("t=Song number %1").arg(i)), format == "mp3" ? 100000 : 8000);
        lib.audioStart << (format == "mp3" ? Mp3Header().getId3TagSize(lib.originals.last()) + 10 : -1);
    }
    const auto save = [&](MetaSong& meta, int i) { return meta.saveToFile(lib.paths[i]); };
    // It cleared the immutable flag first too.
    const auto before = [&](MetaSong& meta, int i) {
        meta.removeReadOnlyFlag(lib.paths[i]);
        return oldSave(lib, i);
    };
    run(lib, save);
    for (const QString& path : lib.paths) {
        lib.saved << readFile(path);
        QByteArray image;
        if (lib.saved.last().startsWith("_MF"))
            LzHuff().expand(lib.saved.last().mid(512), image);
        lib.images << image;
    }

    double tBefore = 1e9, tSave = 1e9, tInPlace = 1e9;
    for (int r = 0; r < 3; ++r) {
        tBefore = std::min(tBefore, run(lib, before));
        tSave = std::min(tSave, run(lib, save));
    }
    // Every song given a second link: each is saved in place behind a copy.
    for (const QString& path : lib.paths)
        if (::link(QFile::encodeName(path).constData(), QFile::encodeName(path + ".link").constData()) != 0)
            qFatal("cannot link %s", qPrintable(path));
    for (int r = 0; r < 3; ++r)
        tInPlace = std::min(tInPlace, run(lib, save));

    std::printf("library: %d files (MIDI, MF4 and MP3 in turn) in %s\n", count, qPrintable(dir.path()));
    report("save before (QSaveFile)", count, tBefore);
    report("save", count, tSave);
    report("save in place, hard-linked", count, tInPlace);
    return 0;
}
