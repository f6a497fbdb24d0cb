#include "index/songinfoindex.h"

#include <QList>
#include <QVector>

#include <algorithm>
#include <cstring>

QString stringToUpper(const QString &s)
{
    return s.toUpper();
}

namespace {
// The bytes the player orders paths by: upper case, ISO 8859-1, "?" for any
// character outside Latin-1 (toLatin1 and the ISO 8859-1 codec agree on this).
QByteArray pathKey(const QString &path)
{
    return stringToUpper(path).toLatin1();
}

int compareTexts(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}
}

bool compareByPath(const SongInfoIndex &a, const SongInfoIndex &b)
{
    return qstrcmp(pathKey(a.path), pathKey(b.path)) < 0;
}

bool compareByPosidx(const SongInfoIndex &a, const SongInfoIndex &b)
{
    return a.posidx < b.posidx;
}

bool compareById(const SongInfoIndex &a, const SongInfoIndex &b)
{
    return a.id < b.id;
}

bool compareTitle(const SongInfoIndex &a, const SongInfoIndex &b)
{
    return compareTexts(a.title, b.title) < 0;
}

bool compareArtist(const SongInfoIndex &a, const SongInfoIndex &b)
{
    const int c = compareTexts(a.artist, b.artist);
    return c != 0 ? c < 0 : compareTitle(a, b);
}

bool compareGenre(const SongInfoIndex &a, const SongInfoIndex &b)
{
    const int c = compareTexts(a.genre, b.genre);
    return c != 0 ? c < 0 : compareTitle(a, b);
}

SongInfoIndexLess compareForSortMode(int mode)
{
    switch (mode) {
    case SortArtist:
        return compareArtist;
    case SortGenre:
        return compareGenre;
    default:
        return compareTitle;
    }
}

int insertByPath(QList<SongInfoIndex> &songs, const SongInfoIndex &entry)
{
    const QByteArray key = pathKey(entry.path);
    const auto at = std::upper_bound(songs.begin(), songs.end(), key,
                                     [](const QByteArray &k, const SongInfoIndex &song) {
                                         return qstrcmp(k, pathKey(song.path)) < 0;
                                     });
    int pos = int(at - songs.begin());
    if (!songs.isEmpty()) {
        const SongInfoIndex &neighbour = songs.at(pos > 0 ? pos - 1 : 0);
        if (compareTexts(neighbour.path, entry.path) == 0)
            return -1;
    }
    songs.insert(pos, entry);
    return pos;
}

void sortByPath(QList<SongInfoIndex> &songs)
{
    QVector<QPair<QByteArray, int>> keys;
    keys.reserve(songs.size());
    for (int k = 0; k < songs.size(); ++k)
        keys.append(qMakePair(pathKey(songs.at(k).path), k));
    std::sort(keys.begin(), keys.end(), [](const QPair<QByteArray, int> &a, const QPair<QByteArray, int> &b) {
        return qstrcmp(a.first, b.first) < 0;
    });
    QList<SongInfoIndex> sorted;
    sorted.reserve(songs.size());
    for (const auto &key : qAsConst(keys))
        sorted.append(songs.at(key.second));
    songs.swap(sorted);
}

int findById(const QList<SongInfoIndex> &songs, quint32 id)
{
    SongInfoIndex key;
    key.id = id;
    const auto it = std::lower_bound(songs.begin(), songs.end(), key, compareById);
    if (it == songs.end() || it->id != id)
        return -1;
    return int(it - songs.begin());
}
