// Writers of the player's index files. Byte layouts are fixed by the player:
// big-endian numbers in records and letter tables, little-endian in
// "ordfile.id3" and "fsinfos.id3", texts upper case ISO 8859-1. Each file is
// built whole in memory; IndexCommit puts the set on the memory.
#include "index/index.h"

#include "index/songdatareader.h"

#include <QDebug>
#include <QVector>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {
const int PathRecordSize = 270;
const int SongRecordSize = 64;

void putBigEndian32(char *p, quint32 v)
{
    p[0] = char(v >> 24);
    p[1] = char(v >> 16);
    p[2] = char(v >> 8);
    p[3] = char(v);
}

void putBigEndian16(char *p, quint32 v)
{
    p[0] = char(v >> 8);
    p[1] = char(v);
}

void putLittleEndian16(char *p, quint32 v)
{
    p[0] = char(v);
    p[1] = char(v >> 8);
}

// Latin-1 bytes of `text` (as toLatin1: "?" for what Latin-1 lacks), at most
// `width` of them, into a zero-filled field.
void putText(char *field, const QString &text, int width)
{
    const ushort *c = text.utf16();
    const int n = qMin(text.size(), width);
    for (int k = 0; k < n; ++k)
        field[k] = c[k] < 0x100 ? char(c[k]) : '?';
}

// Decimal digits of `value` with leading zeros, exactly `width` characters
// (as "%08u" and "%06u" print the date and the time, which always fit).
void putDigits(char *field, quint32 value, int width)
{
    for (int k = width - 1; k >= 0; --k) {
        field[k] = char('0' + value % 10);
        value /= 10;
    }
}

// The 64-byte song record of "title.id3" and "artist.id3", into zeroed bytes.
void putSongRecord(char *p, const SongInfoIndex &song)
{
    putBigEndian32(p, song.id);
    putText(p + 4, song.title, SongDataReader::TextSize);
    p[62] = char(song.bpm);
    p[63] = char((song.type & 0x07) | (song.hasMarkers ? 0x08 : 0x00));
}

// Positions of `songs` in the order of their keys (each key made once).
template <typename Key>
QVector<int> orderBy(const QVector<Key> &keys)
{
    QVector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&keys](int a, int b) { return keys.at(a) < keys.at(b); });
    return order;
}
}

int Index::writeOrdIndex()
{
    qDebug() << "[Index::writeOrdIndex] write ord index";
    QByteArray &out = pending.files[IndexSet::OrdFile];
    out = QByteArray(2 * songs.size(), '\0');
    char *p = out.data();
    for (const SongInfoIndex &song : qAsConst(songs)) {
        putLittleEndian16(p, song.posidx);
        p += 2;
    }
    return 0;
}

int Index::writePathIndex()
{
    qDebug() << "[Index::writePathIndex] write path index";
    QVector<quint32> keys;
    keys.reserve(songs.size());
    for (const SongInfoIndex &song : qAsConst(songs))
        keys.append(song.posidx);
    const QVector<int> order = orderBy(keys);
    QByteArray &out = pending.files[IndexSet::PathFile];
    out = QByteArray(songs.size() * PathRecordSize, '\0');
    char *p = out.data();
    for (int k : qAsConst(order)) {
        const SongInfoIndex &song = songs.at(k);
        putBigEndian32(p, song.id);
        putText(p + 4, song.path, 251);  // the field always keeps a terminating zero
        putDigits(p + 256, song.date, 8);
        putDigits(p + 264, song.time, 6);
        p += PathRecordSize;
    }
    return 0;
}

// Song records in title order (compareTitle: without regard to case).
int Index::writeTitleIndex(QString fileName)
{
    qDebug() << "[Index::writeTitleIndex] write title index";
    const int file = IndexSet::fileOf(fileName);
    if (file < 0)
        return -1;
    QVector<QString> keys;
    keys.reserve(songs.size());
    for (const SongInfoIndex &song : qAsConst(songs))
        keys.append(foldKey(song.title));
    const QVector<int> order = orderBy(keys);
    clearAlphaBuffer();
    QByteArray &out = pending.files[file];
    out.clear();
    out.reserve(songs.size() * SongRecordSize);
    char rec[SongRecordSize];
    int count = 0;
    for (int k : order) {
        const SongInfoIndex &song = songs.at(k);
        addToAlphaBuffer(song.title, static_cast<unsigned long>(count) * SongRecordSize);
        std::memset(rec, 0, sizeof rec);
        putSongRecord(rec, song);
        out.append(rec, SongRecordSize);
        ++count;
    }
    return count;
}

// One group per artist (compareArtist order): a header record (previous
// group's song count, this group's song count, name, 0x00 0xFF) followed by
// the artist's song records. Songs without an artist sort first and, as no
// artist differs from "none", get no header.
int Index::writeArtistIndex(QString fileName)
{
    qDebug() << "[Index::writeArtistIndex] write artist index";
    const int file = IndexSet::fileOf(fileName);
    if (file < 0)
        return -1;
    QVector<QPair<QString, QString>> keys;
    keys.reserve(songs.size());
    for (const SongInfoIndex &song : qAsConst(songs))
        keys.append(qMakePair(foldKey(song.artist), foldKey(song.title)));
    const QVector<int> order = orderBy(keys);
    clearAlphaBuffer();

    QByteArray &out = pending.files[file];
    out.clear();
    out.reserve(songs.size() * 2 * SongRecordSize);
    char rec[SongRecordSize];
    QString previousArtist;  // folded
    int headerPos = -1;
    quint32 songsInGroup = 0;
    int groups = 0;
    for (int k : qAsConst(order)) {
        const SongInfoIndex &song = songs.at(k);
        if (keys.at(k).first != previousArtist) {
            if (headerPos >= 0)
                putBigEndian16(out.data() + headerPos + 2, songsInGroup);
            std::memset(rec, 0, sizeof rec);
            putBigEndian16(rec, songsInGroup);
            putText(rec + 4, song.artist, SongDataReader::TextSize);
            rec[62] = '\x00';
            rec[63] = '\xFF';
            headerPos = out.size();
            addToAlphaBuffer(song.artist, static_cast<unsigned long>(headerPos));
            out.append(rec, SongRecordSize);
            ++groups;
            songsInGroup = 0;
            previousArtist = keys.at(k).first;
        }
        std::memset(rec, 0, sizeof rec);
        putSongRecord(rec, song);
        out.append(rec, SongRecordSize);
        ++songsInGroup;
    }
    if (headerPos >= 0)
        putBigEndian16(out.data() + headerPos + 2, songsInGroup);
    return groups;
}

void Index::clearAlphaBuffer()
{
    std::memset(alphaBuffer, 0xFF, sizeof alphaBuffer);
}

void Index::addToAlphaBuffer(QString text, unsigned long pos)
{
    if (text.isEmpty())
        return;
    const ushort c = text.at(0).toUpper().unicode();
    if (c < 0x20 || c > 0x5F)
        return;
    unsigned char *slot = alphaBuffer + 4 * (c - 0x20);
    if (slot[0] == 0xFF && slot[1] == 0xFF && slot[2] == 0xFF && slot[3] == 0xFF)
        putBigEndian32(reinterpret_cast<char *>(slot), quint32(pos));
}

int Index::writeAlphaBuffer(QString fileName)
{
    qDebug() << "[Index::writeAlphaBuffer] write alpha index";
    const int file = IndexSet::fileOf(fileName);
    if (file < 0)
        return -1;
    pending.files[file] = QByteArray(reinterpret_cast<const char *>(alphaBuffer), sizeof alphaBuffer);
    return 0;
}

int Index::writeNumFile()
{
    qDebug() << "[Index::writeNumFile] write numfile index";
    QByteArray &out = pending.files[IndexSet::NumFile];
    out = QByteArray(12, '\0');
    putLittleEndian16(out.data(), quint32(titleCount));
    putLittleEndian16(out.data() + 2, quint32(artistCount));
    putLittleEndian16(out.data() + 4, quint32(genreCount));
    putLittleEndian16(out.data() + 6, quint32(title3Count));
    putLittleEndian16(out.data() + 8, quint32(artist3Count));
    putLittleEndian16(out.data() + 10, quint32(genre3Count));
    return 0;
}
