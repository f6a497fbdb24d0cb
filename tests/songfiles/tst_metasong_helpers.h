// Song files of every format built byte by byte for the MetaSong tests, and
// a capture of the debug log.
#ifndef TESTS_SONGFILES_TST_METASONG_HELPERS_H
#define TESTS_SONGFILES_TST_METASONG_HELPERS_H

#include "songfiles/lzhuff.h"
#include "songfiles/songinfo.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QtGlobal>

#include <initializer_list>

namespace SongBytes {

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

inline quint32 le32At(const QByteArray& a, int pos)
{
    return quint32(quint8(a[pos])) | quint32(quint8(a[pos + 1])) << 8
        | quint32(quint8(a[pos + 2])) << 16 | quint32(quint8(a[pos + 3])) << 24;
}

inline void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// A few key names and their key signature bytes (sf, mi).
inline QByteArray keyBytes(const QString& key)
{
    if (key == "C") return bytes({0x00, 0x00});
    if (key == "A-") return bytes({0x00, 0x01});
    if (key == "D") return bytes({0x02, 0x00});
    if (key == "Eb") return bytes({0xFD, 0x00});
    qFatal("keyBytes: no bytes for this key in the test table");
    return QByteArray();
}

inline QByteArray meta(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, type, payload.size()}) + payload;
}

inline QByteArray tag(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, 0x4B, payload.size() + 1, type}) + payload;
}

// A Standard MIDI File holding the details of s as the maker's events. A null
// string (QString()) writes no event, an empty one writes an empty event;
// numbers of 0 write no event. isTavrel writes the maker's copyright notice.
// moreNotes adds notes of varying pitch, velocity and timing (which pack badly).
inline QByteArray midiFile(const SongInfo& s, int format = 0, int moreNotes = 0)
{
    QByteArray track;
    if (!s.title.isNull()) track += meta(0x03, s.title.toUtf8());
    if (s.isTavrel) track += meta(0x02, "(C) Tavrel 2021");
    if (!s.genre.isNull()) track += tag(1, s.genre.toUtf8());
    if (!s.artist.isNull()) track += tag(2, s.artist.toUtf8());
    if (!s.author.isNull()) track += tag(3, s.author.toUtf8());
    if (s.length != 0) track += tag(4, QByteArray::number(s.length));
    if (s.userBpm != 0) track += tag(5, QByteArray::number(s.userBpm));
    for (const Marker& m : s.markers)
        track += tag(6, bytes({(m.bar >> 8) & 0xFF, m.bar & 0xFF}) + m.text.toUtf8());
    if (!s.key.isEmpty()) track += meta(0x59, keyBytes(s.key));
    track += meta(0x51, bytes({0x07, 0xA1, 0x20}));
    // Notes with running status, then the end of the track.
    track += bytes({0x00, 0x90, 0x3C, 0x40, 0x60, 0x3C, 0x00, 0x00, 0x40, 0x40, 0x60, 0x40, 0x00});
    quint32 seed = 12345;
    for (int i = 0; i < moreNotes; ++i) {
        seed = seed * 1103515245u + 12345u;
        track += bytes({int(seed >> 9) & 0x7F, int(seed >> 16) & 0x7F, int(seed >> 24) & 0x7F});
    }
    track += bytes({0x00, 0xFF, 0x2F, 0x00});

    QByteArray img = "MThd" + be32(6) + bytes({0, format, 0, format == 0 ? 1 : 2, 0x01, 0xE0});
    img += "MTrk" + be32(quint32(track.size())) + track;
    if (format != 0) {
        const QByteArray second = bytes({0x00, 0x91, 0x45, 0x40, 0x60, 0x45, 0x00, 0x00, 0xFF, 0x2F, 0x00});
        img += "MTrk" + be32(quint32(second.size())) + second;
    }
    return img;
}

inline QByteArray pack(const QByteArray& plain)
{
    LzHuff codec;
    QByteArray packed;
    codec.compress(plain, packed);
    return packed;
}

inline int headerLength(const QByteArray& magic) { return magic == "_MF5" ? 1024 : 512; }

// An MFx header: title, artist, author, genre, tempo (userBpm), long name and
// flags from s; every other byte a pattern that a save must carry unchanged.
inline QByteArray mfxHeader(const QByteArray& magic, const SongInfo& s)
{
    const int h = headerLength(magic);
    QByteArray header(h, '\0');
    for (int i = 282; i < h; ++i)
        header[i] = char(i * 7 + 3);
    header.replace(0, 4, magic);
    header[8] = char(0x5A);
    putLe(header, 38, quint32(s.userBpm), 2);
    auto text = [&header](int pos, int size, const QString& value) {
        const QByteArray b = value.toUtf8().left(size);
        header.replace(pos, b.size(), b);
    };
    text(42, 13, s.mfxLongName);
    text(90, 20, "TAVREL");
    text(122, 32, s.title);
    text(154, 31, "Studio");
    header[185] = char(s.mfxFlags);
    text(186, 32, s.author);
    text(218, 32, s.artist);
    text(250, 32, s.genre);
    return header;
}

// A whole MFx file: header, then the MIDI image packed (with the three bytes
// after the first track's length field of an "_MF4" payload).
inline QByteArray mfxFile(const QByteArray& magic, const SongInfo& s,
                          const QByteArray& extra = QByteArray("\xFF\x00\xFF", 3), int moreNotes = 0)
{
    SongInfo inImage;
    inImage.key = s.key;
    inImage.length = s.length;
    inImage.markers = s.markers;
    QByteArray image = midiFile(inImage, 0, moreNotes);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, extra);
    QByteArray header = mfxHeader(magic, s);
    const QByteArray packed = pack(image);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    return header + packed;
}

inline QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

inline QByteArray synchsafe(quint32 v)
{
    return bytes({int(v >> 21) & 0x7F, int(v >> 14) & 0x7F, int(v >> 7) & 0x7F, int(v) & 0x7F});
}

// MPEG-1 layer III frames (128 kbit/s, 44.1 kHz, 417 bytes each) whose data
// bytes differ from frame to frame, so misplaced audio shows.
inline QByteArray mpegAudio(int frames)
{
    QByteArray audio;
    for (int f = 0; f < frames; ++f) {
        QByteArray frame = bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            frame.append(char((f * 31 + i) % 251));
        audio += frame;
    }
    return audio;
}

// An ID3v2.3 tag with a text frame for each detail of s that is not null (0
// for numbers), `padding` zero bytes, `before` (raw frames) in front.
inline QByteArray id3Tag(const SongInfo& s, int padding = 0, const QByteArray& before = QByteArray())
{
    QByteArray frames = before;
    if (!s.title.isNull()) frames += id3Frame("TIT2", s.title.toUtf8());
    if (!s.artist.isNull()) frames += id3Frame("TPE1", s.artist.toUtf8());
    if (!s.genre.isNull()) frames += id3Frame("TCON", s.genre.toUtf8());
    if (!s.author.isNull()) frames += id3Frame("TCOM", s.author.toUtf8());
    if (!s.key.isNull()) frames += id3Frame("TKEY", s.key.toUtf8());
    if (s.length != 0) frames += id3Frame("TLEN", QByteArray::number(qint64(s.length) * 1000));
    if (s.userBpm != 0) frames += id3Frame("TBPM", QByteArray::number(s.userBpm));
    if (s.isTavrel) frames += id3Frame("TCOP", "2021 Tavrel");
    frames += QByteArray(padding, '\0');
    return "ID3" + bytes({3, 0, 0}) + synchsafe(quint32(frames.size())) + frames;
}

inline QByteArray mp3File(const SongInfo& s, int audioFrames = 6)
{
    return id3Tag(s) + mpegAudio(audioFrames);
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// The Debian python3 (which has mido and mutagen) before any other on the PATH.
inline QString python3()
{
    if (QFile::exists("/usr/bin/python3"))
        return "/usr/bin/python3";
    return QStandardPaths::findExecutable("python3");
}

} // namespace SongBytes

// Records every log message while alive.
class LogCapture
{
public:
    LogCapture()
    {
        lines().clear();
        previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(previous); }

    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg) { lines().append(msg); }
    QtMessageHandler previous;
};

#endif
