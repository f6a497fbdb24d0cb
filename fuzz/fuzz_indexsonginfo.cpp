// Index::setSongInfo: the song data reader of the player index on the bytes
// of a song file. Input: one byte choosing the file name, then the file.
//
// Checked: the entry gets a known format code, a markers flag of 0 or 1, and
// texts that fit the index records once written.
#include "fuzzinput.h"

#include "index/index.h"

namespace {
const char* const names[] = {"song.mid", "song.kar", "song.mf3", "song.mf4", "song.mf5", "song.mp3",
                             "Song.Mp3", "song"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    Fuzz::Input in(data, size);
    const QString name = QString::fromLatin1(names[in.byte() & 7]);
    const QString dir = Fuzz::scratchDir();
    SongInfoIndex entry;
    entry.absPath = dir + QLatin1Char('/') + name;
    entry.path = QLatin1Char('/') + name;
    if (!Fuzz::writeFile(entry.absPath, in.rest()))
        return 0;

    Index index;
    index.setSongInfo(entry);
    FUZZ_CHECK(entry.type <= SongInfoIndex::TypeMf5);
    FUZZ_CHECK(entry.hasMarkers <= 1);
    // At most 58 bytes of a file become a text; upper-casing may double it.
    for (const QString* t : {&entry.title, &entry.artist, &entry.genre})
        FUZZ_CHECK(t->size() <= 2 * 58);
    FUZZ_CHECK(index.songFilesRead() == 1);
    return 0;
}
