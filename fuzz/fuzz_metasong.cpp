// MetaSong: the bytes written to a song file, imported, read, merged with
// details chosen by the input (either mode) and saved over themselves.
// Input: 16 bytes of choices (file name, mode, details), then the file.
//
// Checked: a file that does not import is never touched and cannot be saved;
// a saved song imports again as the same format with the same details; a
// save that fails leaves the song byte for byte as it was and no other file.
#include "fuzzinput.h"

#include "songfiles/metasong.h"

#include <QDir>

namespace {

const char* const names[] = {"song.mid", "song.mp3", "SONG.MP3", "songmp3", "song.mf5", "song.kar",
                             "song.wav", "a.b.mp3"};

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    Fuzz::Input in(data, size);
    const quint8 mode = in.byte();
    const QString name = QString::fromLatin1(names[mode & 7]);
    const bool manual = mode & 0x08;
    const bool save = !(mode & 0x10);

    SongInfo info;
    info.title = Fuzz::text(in.byte());
    info.artist = Fuzz::text(in.byte());
    info.altArtist = Fuzz::text(in.byte());
    info.genre = Fuzz::text(in.byte());
    info.author = Fuzz::text(in.byte());
    info.length = Fuzz::number(in.byte());
    info.userBpm = Fuzz::number(in.byte());
    const quint8 key = in.byte();
    info.isTavrel = key & 0x80;
    const quint8 markers = in.byte();
    for (int i = 0; i < markers % 4; ++i)
        info.markers.append(Marker{Fuzz::text(quint8(markers + i)), Fuzz::number(quint8(markers >> 2) + i)});
    for (int i = 0; i < 6; ++i) // room for later choices without changing the layout
        in.byte();
    const QByteArray bytes = in.rest();

    const QString dir = Fuzz::scratchDir();
    const QString path = dir + QLatin1Char('/') + name;
    if (!Fuzz::writeFile(path, bytes))
        return 0;

    MetaSong song;
    const QStringList keys = song.getKeysList();
    info.key = key & 0x40 ? Fuzz::text(key) : keys.value(key % keys.size());

    SongInfo read;
    if (!song.importFile(path)) {
        song.getSongInfo(read);
        FUZZ_CHECK(read.format == QLatin1String("UNKNOWN"));
        song.setSongInfo(info, manual);
        FUZZ_CHECK(!song.saveToFile(path));
        FUZZ_CHECK(Fuzz::readFile(path) == bytes);
        FUZZ_CHECK(entries(dir) == QStringList{name});
        return 0;
    }
    FUZZ_CHECK(Fuzz::readFile(path) == bytes);
    song.getSongInfo(read);
    FUZZ_CHECK(read.format != QLatin1String("UNKNOWN"));
    song.setSongInfo(info, manual);
    SongInfo merged;
    song.getSongInfo(merged);
    if (!save)
        return 0;

    if (!song.saveToFile(path)) {
        FUZZ_CHECK(Fuzz::readFile(path) == bytes);
        FUZZ_CHECK(entries(dir) == QStringList{name});
        return 0;
    }
    FUZZ_CHECK(entries(dir) == QStringList{name});
    MetaSong again;
    FUZZ_CHECK(again.importFile(path));
    SongInfo back;
    again.getSongInfo(back);
    FUZZ_CHECK(back == merged);
    FUZZ_CHECK(back.format == merged.format);
    return 0;
}
