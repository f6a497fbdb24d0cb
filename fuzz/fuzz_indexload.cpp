// Index::loadAllIndexFile through Index::updateIndex on a memory holding the
// seven index files cut from the input (separated by "#--#"), in the order
// "index.id3", "ordfile.id3", "title.id3", "atitle.id3", "artist.id3",
// "aartist.id3", "fsinfos.id3". An eighth piece, when there is one, becomes
// the song file "x.mid", so the update also writes a new index.
//
// Checked: without a song nothing is rewritten; an index the update wrote
// loads again and is then left as it is.
#include "fuzzinput.h"

#include "index/index.h"

#include <QDir>
#include <QMap>

namespace {

const char* const files[] = {"index.id3", "ordfile.id3", "title.id3", "atitle.id3", "artist.id3",
                             "aartist.id3", "fsinfos.id3"};

QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> all;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        all.insert(name, Fuzz::readFile(dir + QLatin1Char('/') + name));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    const QByteArray in(reinterpret_cast<const char*>(data), int(size));
    static const QByteArray separator("#--#");
    QList<QByteArray> pieces;
    int from = 0;
    while (pieces.size() < 8) {
        const int at = pieces.size() < 7 ? in.indexOf(separator, from) : -1;
        pieces.append(in.mid(from, at < 0 ? -1 : at - from));
        if (at < 0)
            break;
        from = at + separator.size();
    }
    const bool withSong = pieces.size() == 8;

    const QString dir = Fuzz::scratchDir();
    for (int i = 0; i < 7; ++i)
        Fuzz::writeFile(dir + QLatin1Char('/') + QLatin1String(files[i]), pieces.value(i));
    if (withSong)
        Fuzz::writeFile(dir + QStringLiteral("/x.mid"), pieces.at(7));
    const QMap<QString, QByteArray> before = snapshot(dir);

    Index index;
    const bool updated = index.updateIndex(dir);
    if (!withSong) {
        FUZZ_CHECK(snapshot(dir) == before);
        return 0;
    }
    if (!updated)
        return 0;

    // What the update left behind is a sound index: it loads, and a second
    // update has nothing to change.
    const QMap<QString, QByteArray> written = snapshot(dir);
    Index second;
    FUZZ_CHECK(second.updateIndex(dir));
    FUZZ_CHECK(snapshot(dir) == written);
    return 0;
}
