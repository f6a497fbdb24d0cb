// Writers of the player's index files. Byte layouts are fixed by the player:
// big-endian numbers in records and letter tables, little-endian in
// "ordfile.id3" and "fsinfos.id3", texts upper case ISO 8859-1.
#include "index/index.h"

#include "index/songdatareader.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
const int PathRecordSize = 270;
const int SongRecordSize = 64;
const int OrdBlockEntries = 512;

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

// Latin-1 bytes of `text`, at most `width` of them, into a zero-filled field.
void putText(char *field, const QString &text, int width)
{
    const QByteArray bytes = text.toLatin1();
    std::memcpy(field, bytes.constData(), size_t(qMin(bytes.size(), width)));
}

// Decimal digits of `value` with leading zeros, exactly `width` characters.
void putDigits(char *field, quint32 value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, width == 8 ? "%08u" : "%06u", unsigned(value));
    std::memcpy(field, text, size_t(width));
}

// One block written and handed to the system; false on any short write.
bool writeBlock(QFile &file, const char *data, qint64 size)
{
    return file.write(data, size) == size && file.flush();
}

bool finish(QFile &file)
{
    file.close();
    return file.error() == QFileDevice::NoError;
}

// The 64-byte song record of "title.id3" and "artist.id3".
void songRecord(char (&p)[SongRecordSize], const SongInfoIndex &song)
{
    std::memset(p, 0, sizeof p);
    putBigEndian32(p, song.id);
    putText(p + 4, song.title, SongDataReader::TextSize);
    p[62] = char(song.bpm);
    p[63] = char((song.type & 0x07) | (song.hasMarkers ? 0x08 : 0x00));
}
}

int Index::writeOrdIndex()
{
    qDebug() << "[Index::writeOrdIndex] write ord index";
    sortByPath(songs);
    QFile file(rootFile(ordFile));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    char block[OrdBlockEntries * 2];
    int used = 0;
    for (const SongInfoIndex &song : qAsConst(songs)) {
        putLittleEndian16(block + 2 * used, song.posidx);
        if (++used == OrdBlockEntries) {
            if (!writeBlock(file, block, sizeof block))
                return -1;
            used = 0;
        }
    }
    if (used > 0 && !writeBlock(file, block, 2 * used))
        return -1;
    return finish(file) ? 0 : -1;
}

int Index::writePathIndex()
{
    qDebug() << "[Index::writePathIndex] write path index";
    std::sort(songs.begin(), songs.end(), compareByPosidx);
    QFile file(rootFile(indexFile));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    for (const SongInfoIndex &song : qAsConst(songs)) {
        char p[PathRecordSize] = {};
        putBigEndian32(p, song.id);
        putText(p + 4, song.path, 251);  // the field always keeps a terminating zero
        putDigits(p + 256, song.date, 8);
        putDigits(p + 264, song.time, 6);
        if (!writeBlock(file, p, PathRecordSize))
            return -1;
    }
    return finish(file) ? 0 : -1;
}

int Index::writeTitleIndex(QString fileName)
{
    qDebug() << "[Index::writeTitleIndex] write title index";
    std::sort(songs.begin(), songs.end(), compareTitle);
    clearAlphaBuffer();
    QFile file(rootFile(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    int count = 0;
    for (const SongInfoIndex &song : qAsConst(songs)) {
        char rec[SongRecordSize];
        songRecord(rec, song);
        addToAlphaBuffer(song.title, static_cast<unsigned long>(count) * SongRecordSize);
        if (!writeBlock(file, rec, SongRecordSize))
            return -1;
        ++count;
    }
    return finish(file) ? count : -1;
}

// One group per artist: a header record (previous group's song count, this
// group's song count, name, 0x00 0xFF) followed by the artist's song records.
// The count of a group is patched into its header when the group closes.
int Index::writeArtistIndex(QString fileName)
{
    qDebug() << "[Index::writeArtistIndex] write artist index";
    std::sort(songs.begin(), songs.end(), compareArtist);
    clearAlphaBuffer();
    QFile file(rootFile(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return -1;

    char header[SongRecordSize] = {};
    char rec[SongRecordSize];
    QString previousArtist;
    bool groupOpen = false;
    quint32 songsInGroup = 0;
    qint64 headerPos = 0;
    int groups = 0;

    auto closeGroup = [&]() {
        putBigEndian16(header + 2, songsInGroup);
        return file.seek(headerPos) && writeBlock(file, header, SongRecordSize)
            && file.seek(file.size());
    };

    for (const SongInfoIndex &song : qAsConst(songs)) {
        if (QString::compare(song.artist, previousArtist, Qt::CaseInsensitive) != 0) {
            if (groupOpen && !closeGroup())
                return -1;
            std::memset(header, 0, sizeof header);
            putBigEndian16(header, songsInGroup);
            putText(header + 4, song.artist, SongDataReader::TextSize);
            header[62] = '\x00';
            header[63] = '\xFF';
            headerPos = file.pos();
            addToAlphaBuffer(song.artist, static_cast<unsigned long>(headerPos));
            if (!writeBlock(file, header, SongRecordSize))
                return -1;
            ++groups;
            groupOpen = true;
            songsInGroup = 0;
        }
        songRecord(rec, song);
        if (!writeBlock(file, rec, SongRecordSize))
            return -1;
        ++songsInGroup;
        previousArtist = song.artist;
    }
    if (groupOpen && !closeGroup())
        return -1;
    return finish(file) ? groups : -1;
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
    QFile file(rootFile(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    if (!writeBlock(file, reinterpret_cast<const char *>(alphaBuffer), sizeof alphaBuffer))
        return -1;
    return finish(file) ? 0 : -1;
}

int Index::writeNumFile()
{
    qDebug() << "[Index::writeNumFile] write numfile index";
    char block[12];
    putLittleEndian16(block, quint32(titleCount));
    putLittleEndian16(block + 2, quint32(artistCount));
    putLittleEndian16(block + 4, quint32(genreCount));
    putLittleEndian16(block + 6, quint32(title3Count));
    putLittleEndian16(block + 8, quint32(artist3Count));
    putLittleEndian16(block + 10, quint32(genre3Count));
    QFile file(rootFile(numFile));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    if (!writeBlock(file, block, sizeof block))
        return -1;
    return finish(file) ? 0 : -1;
}
