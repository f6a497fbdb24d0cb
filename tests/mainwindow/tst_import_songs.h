// Song files of every format the import reads, built byte by byte, for the
// import tests and the import benchmark.
#ifndef TESTS_MAINWINDOW_TST_IMPORT_SONGS_H
#define TESTS_MAINWINDOW_TST_IMPORT_SONGS_H

#include "songfiles/lzhuff.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>

namespace ImportSongs {

struct Details
{
    QString title;
    QString artist;
    QString genre;
    QString author;
    int length = 0; // seconds; 0 writes no length
    int bpm = 0;    // 0 writes no tempo
    bool tavrel = false;
};

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray a;
    for (int v : values)
        a.append(char(v));
    return a;
}

inline QByteArray be32(quint32 v)
{
    return bytes({int(v >> 24) & 0xFF, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
}

inline void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

inline QByteArray meta(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, type, payload.size()}) + payload;
}

// The maker's tag event: 0xFF 0x4B, length, tag type (1 genre, 2 artist,
// 3 author, 4 length, 5 tempo), text.
inline QByteArray tag(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, 0x4B, payload.size() + 1, type}) + payload;
}

// A format 0 MIDI file; with `noteCount` notes of varying pitch and timing.
inline QByteArray midiSong(const Details& d, int noteCount = 8)
{
    QByteArray track;
    if (!d.title.isEmpty()) track += meta(0x03, d.title.toUtf8());
    if (d.tavrel) track += meta(0x02, "(C) Tavrel 2021");
    if (!d.genre.isEmpty()) track += tag(1, d.genre.toUtf8());
    if (!d.artist.isEmpty()) track += tag(2, d.artist.toUtf8());
    if (!d.author.isEmpty()) track += tag(3, d.author.toUtf8());
    if (d.length) track += tag(4, QByteArray::number(d.length));
    if (d.bpm) track += tag(5, QByteArray::number(d.bpm));
    quint32 seed = 2021;
    for (int i = 0; i < noteCount; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int pitch = 36 + int(seed >> 16) % 48;
        track += bytes({int(seed >> 8) & 0x7F, 0x90, pitch, 0x50, 0x60, 0x80, pitch, 0x00});
    }
    track += bytes({0x00, 0xFF, 0x2F, 0x00});
    return "MThd" + be32(6) + bytes({0, 0, 0, 1, 0x01, 0xE0}) + "MTrk" + be32(quint32(track.size())) + track;
}

// An MFx container ("_MF3", "_MF4" or "_MF5"): header with the details, then
// the packed MIDI image (with the three extra bytes of an "_MF4" payload).
inline QByteArray mfxSong(const QByteArray& magic, const Details& d, int noteCount = 8)
{
    Details inImage;
    inImage.length = d.length;
    QByteArray image = midiSong(inImage, noteCount);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
    QByteArray packed;
    LzHuff().compress(image, packed);

    QByteArray header(magic == "_MF5" ? 1024 : 512, '\0');
    header.replace(0, 4, magic);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    putLe(header, 38, quint32(d.bpm), 2);
    const QList<QPair<int, QString>> fields = {{90, QStringLiteral("TAVREL")}, {122, d.title},
        {186, d.author}, {218, d.artist}, {250, d.genre}};
    for (const auto& f : fields)
        header.replace(f.first, f.second.toUtf8().size(), f.second.toUtf8());
    return header + packed;
}

inline QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

// An ID3v2.3 tag with a text frame per detail (TCOP naming the maker when
// tavrel), then a few MPEG audio frames.
inline QByteArray mp3Song(const Details& d)
{
    QByteArray frames;
    const QList<QPair<const char*, QString>> texts = {{"TIT2", d.title}, {"TPE1", d.artist},
        {"TCON", d.genre}, {"TCOM", d.author}};
    for (const auto& t : texts)
        if (!t.second.isEmpty()) frames += id3Frame(t.first, t.second.toUtf8());
    if (d.length) frames += id3Frame("TLEN", QByteArray::number(qint64(d.length) * 1000));
    if (d.bpm) frames += id3Frame("TBPM", QByteArray::number(d.bpm));
    if (d.tavrel) frames += id3Frame("TCOP", "2021 Tavrel");
    const quint32 n = quint32(frames.size());
    QByteArray song = "ID3" + bytes({3, 0, 0, int(n >> 21) & 0x7F, int(n >> 14) & 0x7F,
                                     int(n >> 7) & 0x7F, int(n) & 0x7F}) + frames;
    for (int f = 0; f < 6; ++f) {
        song += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            song.append(char((f * 31 + i) % 251));
    }
    return song;
}

// The song in the format its file name's extension names.
inline QByteArray songFor(const QString& fileName, const Details& d)
{
    const QString ext = fileName.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("mp3"))
        return mp3Song(d);
    if (ext.startsWith(QLatin1String("mf")))
        return mfxSong("_" + ext.toUpper().toLatin1(), d);
    return midiSong(d);
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

} // namespace ImportSongs

#endif
