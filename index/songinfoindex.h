#ifndef SONGINFOINDEX_H
#define SONGINFOINDEX_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One song on a player memory as the index sees it.
struct SongInfoIndex
{
    QString title;
    QString artist;
    QString genre;
    quint32 id = 0;         // record number in "index.id3"; DeletedId when the file vanished
    quint8 type = 0;        // index format code (TypeMidi ... TypeMf5)
    quint8 bpm = 0;
    quint8 hasMarkers = 0;  // 0 or 1
    QString absPath;
    QString path;           // below the memory root, beginning with "/"
    quint32 posidx = 0;     // record position in "index.id3"
    quint32 date = 0;       // YYYYMMDD
    quint32 time = 0;       // hhmmss

    static constexpr quint32 DeletedId = 0xFFFFFFFFu;
    enum typeEnum : quint8 { TypeMidi = 0, TypeMp3 = 1, TypeMf3 = 2, TypeMf4 = 3, TypeMf5 = 4 };
};

// Sort key of the songs list export; any other value sorts by title.
enum SORT_MODE { SortTitle = 0, SortArtist = 1, SortGenre = 2 };

QString stringToUpper(const QString &s);

bool compareTitle(const SongInfoIndex &a, const SongInfoIndex &b);
bool compareArtist(const SongInfoIndex &a, const SongInfoIndex &b);
bool compareGenre(const SongInfoIndex &a, const SongInfoIndex &b);

// The comparison that orders a songs list by `mode`.
typedef bool (*SongInfoIndexLess)(const SongInfoIndex &, const SongInfoIndex &);
SongInfoIndexLess compareForSortMode(int mode);

// The bytes the player orders paths by: upper case, ISO 8859-1, "?" for any
// character outside Latin-1; songs are ordered by these.
QByteArray pathKey(const QString &path);

// A text under which plain UTF-16 order is the order of QString::compare
// without regard to case (every code point case-folded on its own), so a
// sort can fold each text once instead of at every comparison.
QString foldKey(const QString &text);

#endif // SONGINFOINDEX_H
