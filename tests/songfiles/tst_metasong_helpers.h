// Song files of every format built byte by byte, and file helpers, shared by
// the song file tests.
#ifndef TESTS_SONGFILES_TST_METASONG_HELPERS_H
#define TESTS_SONGFILES_TST_METASONG_HELPERS_H

#include "../common/logcapture.h"
#include "midiimage.h"
#include "songfiles/lzhuff.h"
#include "songfiles/songinfo.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QVariantMap>

namespace SongBytes {

using namespace MidiImage;

inline void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// Details written as "t=Title|a=Artist|alt=Alt|au=Author|g=Genre|len=125|
// bpm=97|k=D|m=1:Intro,9:Verse|tav|flags=5|ln=LONGNAME"; a later item wins.
// A detail not named stays null: the file built from it has no such event.
inline SongInfo song(const QString& details)
{
    SongInfo s;
    for (const QString& item : details.split('|', Qt::SkipEmptyParts)) {
        const QString key = item.section('=', 0, 0);
        QString value = item.mid(key.size() + 1);
        if (value.isNull())
            value = QLatin1String("");
        QString* text = key == "t" ? &s.title : key == "a" ? &s.artist : key == "alt" ? &s.altArtist
            : key == "au" ? &s.author : key == "g" ? &s.genre : key == "k" ? &s.key
            : key == "ln" ? &s.mfxLongName : nullptr;
        if (text)
            *text = value;
        else if (key == "len" || key == "bpm")
            (key == "len" ? s.length : s.userBpm) = value.toInt();
        else if (key == "tav")
            s.isTavrel = true;
        else if (key == "flags")
            s.mfxFlags = qint8(value.toInt());
        else if (key == "m") {
            s.markers.clear();
            for (const QString& m : value.split(',', Qt::SkipEmptyParts))
                s.markers.append(Marker{m.section(':', 1), m.section(':', 0, 0).toInt()});
        } else
            qFatal("song(): unknown item");
    }
    return s;
}

// A MIDI file holding the details of s as events (a null text or a number 0:
// no event; isTavrel: the maker's copyright notice), then noteCount notes of
// varying pitch, velocity and timing, which pack badly.
inline QByteArray midiFile(const SongInfo& s, int format = 0, int noteCount = 2)
{
    QByteArray track;
    if (!s.title.isNull()) track += meta(0x03, s.title.toUtf8());
    if (s.isTavrel) track += meta(0x02, "(C) Tavrel 2021");
    const QString* texts[] = {&s.genre, &s.artist, &s.author};
    for (int type = 1; type <= 3; ++type)
        if (!texts[type - 1]->isNull()) track += tag(type, texts[type - 1]->toUtf8());
    if (s.length != 0) track += tag(4, QByteArray::number(s.length));
    if (s.userBpm != 0) track += tag(5, QByteArray::number(s.userBpm));
    for (const Marker& m : s.markers)
        track += tag(6, bytes({(m.bar >> 8) & 0xFF, m.bar & 0xFF}) + m.text.toUtf8());
    if (!s.key.isEmpty()) track += meta(0x59, bytes({s.key == "D" ? 2 : 0, 0})); // C or D
    track += bytes({0x00, 0x90, 0x3C, 0x40});
    quint32 seed = 12345;
    for (int i = 1; i < noteCount; ++i) {
        seed = seed * 1103515245u + 12345u;
        track += bytes({int(seed >> 9) & 0x7F, int(seed >> 16) & 0x7F, int(seed >> 24) & 0x7F});
    }
    return smf(format, format == 0 ? QList<QByteArray>{track} : QList<QByteArray>{track, notes()});
}

inline int headerLength(const QByteArray& magic) { return magic == "_MF5" ? 1024 : 512; }

// An MFx header with the details of s; every byte it does not name holds a
// pattern that a save must carry unchanged.
inline QByteArray mfxHeader(const QByteArray& magic, const SongInfo& s)
{
    QByteArray header(headerLength(magic), '\0');
    for (int i = 282; i < header.size(); ++i)
        header[i] = char(i * 7 + 3);
    header.replace(0, 4, magic);
    putLe(header, 38, quint32(s.userBpm), 2);
    const QList<QPair<int, QString>> fields = {{42, s.mfxLongName.left(12)}, {90, "TAVREL"},
        {122, s.title}, {154, "Studio"}, {186, s.author}, {218, s.artist}, {250, s.genre}};
    for (const auto& f : fields)
        header.replace(f.first, f.second.toUtf8().size(), f.second.toUtf8());
    header[185] = char(s.mfxFlags);
    return header;
}

inline QByteArray pack(const QByteArray& plain)
{
    QByteArray packed;
    LzHuff().compress(plain, packed);
    return packed;
}

// Header, then the packed MIDI image holding key, length and markers of s
// (with `extra` after the first track's length field in an "_MF4" payload).
inline QByteArray mfxFile(const QByteArray& magic, const SongInfo& s,
                          const QByteArray& extra = QByteArray("\xFF\x00\xFF", 3), int noteCount = 2)
{
    SongInfo inImage;
    inImage.key = s.key;
    inImage.length = s.length;
    inImage.markers = s.markers;
    QByteArray image = midiFile(inImage, 0, noteCount);
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, extra);
    QByteArray header = mfxHeader(magic, s);
    const QByteArray packed = pack(image);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    return header + packed;
}

inline QByteArray synchsafe(quint32 v)
{
    return bytes({int(v >> 21) & 0x7F, int(v >> 14) & 0x7F, int(v >> 7) & 0x7F, int(v) & 0x7F});
}

// A text frame of an ID3v2.3 tag, encoding byte 0.
inline QByteArray id3Frame(const char* id, const QByteArray& text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

// MPEG-1 layer III frames (417 bytes) whose data differ from frame to frame.
inline QByteArray mpegAudio(int frames)
{
    QByteArray audio;
    for (int f = 0; f < frames; ++f) {
        audio += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 417; ++i)
            audio.append(char((f * 31 + i) % 251));
    }
    return audio;
}

// A string literal with its zero bytes.
template <int N>
QByteArray lit(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

// A frame of an ID3v2.2 tag: three-letter id, three-byte size.
inline QByteArray v22(const char* id, const QByteArray& payload)
{
    return QByteArray(id) + be32(quint32(payload.size())).mid(1) + payload;
}

// An ID3v2.3 tag: the raw frames `before`, then a text frame per detail of s
// that is not null (or 0), then TCOP naming the maker when isTavrel.
inline QByteArray id3Tag(const SongInfo& s, const QByteArray& before = QByteArray())
{
    QByteArray frames = before;
    const QList<QPair<const char*, QString>> texts = {{"TIT2", s.title}, {"TPE1", s.artist},
        {"TCON", s.genre}, {"TCOM", s.author}, {"TKEY", s.key}};
    for (const auto& t : texts)
        if (!t.second.isNull()) frames += id3Frame(t.first, t.second.toUtf8());
    if (s.length != 0) frames += id3Frame("TLEN", QByteArray::number(qint64(s.length) * 1000));
    if (s.userBpm != 0) frames += id3Frame("TBPM", QByteArray::number(s.userBpm));
    if (s.isTavrel) frames += id3Frame("TCOP", "2021 Tavrel");
    return "ID3" + bytes({3, 0, 0}) + synchsafe(quint32(frames.size())) + frames;
}

inline QByteArray fileFor(const QString& format, const SongInfo& s, int noteCount = 2)
{
    if (format == "mid")
        return midiFile(s, 0, noteCount);
    if (format == "mp3")
        return id3Tag(s) + mpegAudio(qMax(6, noteCount / 40));
    return mfxFile("_" + format.toUpper().toLatin1(), s, QByteArray("\xFF\x00\xFF", 3), noteCount);
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
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Runs python3 (Debian's first: a user-level one may lack python3-mido and
// python3-mutagen) and returns its exit code, or -1 when none ran.
inline int runPython(const QStringList& args, QByteArray* out = nullptr)
{
    for (const char* exe : {"/usr/bin/python3", "python3"}) {
        QProcess p;
        p.start(exe, args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
            continue;
        if (out)
            *out = p.readAllStandardOutput() + p.readAllStandardError();
        return p.exitCode();
    }
    return -1;
}

// Makes or reads a tagged file with third-party taggers (python3-mutagen,
// id3v2); exit code 77: a tool is missing.
inline int id3tool(const QStringList& args, QVariantMap* dump = nullptr)
{
    QByteArray out;
    const int code = runPython(QStringList{ORVALO3_SOURCE_DIR "/tests/songfiles/data/mp3/id3tool.py"} + args, &out);
    if (dump)
        *dump = QJsonDocument::fromJson(out).object().toVariantMap();
    return code == -1 ? 77 : code;
}

} // namespace SongBytes

#endif
