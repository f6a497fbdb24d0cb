// Writes the seed corpora of the fuzz targets: small valid files of every
// format, built byte by byte or with the program's own writers, each behind
// the choice bytes its target reads first.
//
//   fuzz_makeseeds <corpus folder>     (normally fuzz/corpus)
//
// Seeds are named "seed-..."; the regression inputs kept beside them are
// never touched.
#include "index/index.h"
#include "songfiles/lzhuff.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <initializer_list>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray a;
    for (int v : values)
        a.append(char(v));
    return a;
}

QByteArray be32(quint32 v) { return bytes({int(v >> 24), int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF}); }

QByteArray synchsafe(quint32 v)
{
    return bytes({int(v >> 21) & 0x7F, int(v >> 14) & 0x7F, int(v >> 7) & 0x7F, int(v) & 0x7F});
}

void putLe(QByteArray& a, int pos, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        a[pos + i] = char(v >> (8 * i));
}

QByteArray meta(int type, const QByteArray& payload) { return bytes({0x00, 0xFF, type, payload.size()}) + payload; }

QByteArray notes()
{
    return bytes({0x00, 0x90, 0x3C, 0x40, 0x60, 0x3C, 0x00, 0x00, 0x40, 0x50, 0x60, 0x80, 0x40, 0x00});
}

QByteArray smf(int format, const QList<QByteArray>& tracks)
{
    QByteArray img = "MThd" + be32(6) + bytes({0, format, 0, tracks.size(), 0x01, 0xE0});
    for (const QByteArray& t : tracks) {
        const QByteArray body = t + bytes({0x00, 0xFF, 0x2F, 0x00});
        img += "MTrk" + be32(quint32(body.size())) + body;
    }
    return img;
}

// A plain two-track song, then every detail written by RawMidiFile itself.
QByteArray taggedMidi(int format)
{
    const QByteArray tempo = meta(0x51, bytes({0x07, 0xA1, 0x20}));
    const QByteArray plain = format == 0 ? smf(0, {tempo + notes()}) : smf(1, {tempo, notes()});
    RawMidiFile midi;
    midi.loadData(plain);
    midi.setMarkersList({Marker{QStringLiteral("Intro"), 1}, Marker{QStringLiteral("Strofa"), 9}});
    midi.setLength(185);
    midi.setUserBpm(120);
    midi.setKey(QStringLiteral("Eb"));
    midi.setGenre(QStringLiteral("Pop"));
    midi.setAuthor(QStringLiteral("Lennon"));
    midi.setArtist(QString::fromUtf8("Caff\xc3\xa8 Blu"));
    midi.setTitle(QStringLiteral("Yesterday"));
    QByteArray img = midi.stream();
    // The maker's notice, where the writers never put one.
    const QByteArray notice = meta(0x02, "(C) Tavrel 2021");
    const int at = img.indexOf("MTrk") + 8;
    img.insert(at, notice);
    const quint32 len = quint32(img.mid(at - 4, 4).toHex().toUInt(nullptr, 16)) + quint32(notice.size());
    img.replace(at - 4, 4, be32(len));
    return img;
}

// A karaoke file of another program: "@T" title text, a two-byte length
// written as a variable-length quantity, and the artist line in a
// system-exclusive event.
QByteArray karaoke()
{
    QByteArray track = meta(0x01, "@TMy Song") + meta(0x01, "@LENG");
    track += bytes({0x00, 0xFF, 0x05, 0x81, 0x00}) + QByteArray(128, 'l');
    const QByteArray line = bytes({0x00, 0x20, 0x24, 0x00, 0x05}) + "(The Band)" + bytes({0xF7});
    track += bytes({0x00, 0xF0, line.size() + 1, 0x43}) + line;
    return smf(0, {track + notes()});
}

QByteArray pack(const QByteArray& plain)
{
    LzHuff codec;
    QByteArray packed;
    codec.compress(plain, packed);
    return packed;
}

QByteArray mfx(const QByteArray& magic, const QByteArray& midiImage)
{
    QByteArray header(magic == "_MF5" ? 1024 : 512, '\0');
    header.replace(0, 4, magic);
    putLe(header, 38, 97, 2);
    const QList<QPair<int, QByteArray>> fields = {{42, "YESTERDAY"}, {90, "TAVREL"}, {122, "Yesterday"},
        {154, "Studio"}, {186, "Lennon"}, {218, "-"}, {250, "Pop"}};
    for (const auto& f : fields)
        header.replace(f.first, f.second.size(), f.second);
    header[185] = char(1);
    QByteArray image = midiImage;
    if (magic == "_MF4")
        image.insert(image.indexOf("MTrk") + 8, QByteArray("\xFF\x00\xFF", 3));
    const QByteArray packed = pack(image);
    putLe(header, 4, quint32(header.size() + packed.size()), 4);
    putLe(header, 12, quint32(image.size()), 4);
    return header + packed;
}

QByteArray audio(int frames)
{
    QByteArray a;
    for (int f = 0; f < frames; ++f) {
        a += bytes({0xFF, 0xFB, 0x90, 0x64});
        for (int i = 4; i < 104; ++i)
            a.append(char((f * 31 + i) % 251));
    }
    return a;
}

QByteArray frame(const char* id, const QByteArray& content, bool synchsafeSize, int flags = 0)
{
    return QByteArray(id) + (synchsafeSize ? synchsafe(quint32(content.size())) : be32(quint32(content.size())))
        + bytes({0, flags}) + content;
}

QByteArray tag(int major, int flags, const QByteArray& body)
{
    return "ID3" + bytes({major, 0, flags}) + synchsafe(quint32(body.size())) + body;
}

// A v2.3 tag written by Mp3Header itself in front of plain audio.
QByteArray writtenMp3()
{
    Mp3Header mp3;
    mp3.loadHeader(audio(1));
    mp3.setTitle(QStringLiteral("Yesterday"));
    mp3.setArtist(QStringLiteral("Beatles"));
    mp3.setAuthor(QStringLiteral("Lennon"));
    mp3.setGenre(QStringLiteral("Pop"));
    mp3.setKey(QStringLiteral("D"));
    mp3.setLength(125);
    mp3.setUserBpm(97);
    mp3.setTamselEditParam();
    return mp3.stream() + audio(3);
}

QList<QPair<QString, QByteArray>> mp3Files()
{
    const QByteArray utf16 = bytes({1, 0xFF, 0xFE}) + QByteArray("Y\0e\0s\0", 6) + bytes({0, 0});
    const QByteArray v24 = frame("TIT2", "\x03Yesterday", true) + frame("TPE1", "\x03" "Beatles", true)
        + frame("TCON", bytes({0}) + "Pop", true, 0x40) + frame("TCOP", bytes({0}) + " 2021 Tavrel", true)
        + QByteArray(20, '\0');
    const QByteArray footer = "3DI" + bytes({4, 0, 0x10}) + synchsafe(quint32(v24.size()));
    const QByteArray unsynced = frame("TIT2", bytes({0, 'A', 0xFF, 0x00, 0xE0, 'B'}), false)
        + frame("TBPM", bytes({0}) + "97", false);
    const QByteArray extended = be32(6) + bytes({0, 0, 0, 0, 0, 0}) + frame("TIT2", bytes({0}) + "Ext", false);
    const QByteArray v23Frames = frame("TIT2", bytes({0}) + "Crc", false) + frame("TCOP", bytes({0}) + "Tavrel", false);
    // A v2.2 tag: three-letter ids, three-byte sizes; a comment, a picture
    // and the maker's copyright among its frames.
    auto frame22 = [](const char* id, const QByteArray& content) {
        return QByteArray(id) + be32(quint32(content.size())).mid(1) + content;
    };
    const QByteArray v22 = frame22("TT2", bytes({0}) + "Old") + frame22("TP1", bytes({0}) + "Band")
        + frame22("TCR", bytes({0}) + "(c) Tavrel") + frame22("COM", bytes({0}) + "eng" + bytes({0}) + "Note")
        + frame22("PIC", bytes({0}) + "JPG" + bytes({3}) + "cover" + bytes({0, 0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}))
        + QByteArray(8, '\0');
    return {
        {"written.mp3", writtenMp3()},
        {"v23-utf16.mp3", tag(3, 0, frame("TIT2", utf16, false) + frame("TLEN", bytes({0}) + "125000", false)) + audio(2)},
        {"v24-footer.mp3", tag(4, 0x10, v24) + footer + audio(2)},
        {"v23-unsync.mp3", tag(3, 0x80, unsynced) + audio(2)},
        {"v23-extended.mp3", tag(3, 0x40, extended) + audio(2)},
        {"v22.mp3", tag(2, 0, v22) + audio(1)},
        {"v23-crc.mp3", tag(3, 0x40, be32(10) + bytes({0x80, 0, 0, 0, 0, 8, 0x12, 0x34, 0x56, 0x78}) + v23Frames
                                         + QByteArray(8, '\0')) + audio(2)},
        {"v24-crc.mp3", tag(4, 0x40, synchsafe(15) + bytes({1, 0x70, 0, 5, 1, 2, 3, 4, 5, 1, 0x0C}) + v24) + audio(2)},
        {"audio-only.mp3", audio(2)},
    };
}

bool write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    std::printf("%s %s (%d bytes)\n", ok ? "wrote" : "FAILED", qPrintable(path), int(data.size()));
    return ok;
}

// The seven index files of a memory holding the given songs, written by
// Index itself and joined with the separator the index target cuts at.
QByteArray indexImage(const QList<QPair<QString, QByteArray>>& songs)
{
    QTemporaryDir memory;
    for (const auto& s : songs) {
        QDir().mkpath(QFileInfo(memory.filePath(s.first)).path());
        QFile f(memory.filePath(s.first));
        if (f.open(QIODevice::WriteOnly))
            f.write(s.second);
    }
    Index index;
    index.createIndex(memory.path());
    QByteArray joined;
    for (const char* name : {"index.id3", "ordfile.id3", "title.id3", "atitle.id3", "artist.id3",
                             "aartist.id3", "fsinfos.id3"}) {
        if (!joined.isEmpty())
            joined += "#--#";
        QFile f(memory.filePath(QLatin1String(name)));
        if (f.open(QIODevice::ReadOnly))
            joined += f.readAll();
    }
    return joined;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    auto seed = [&](const char* target, const QString& name, const QByteArray& data) {
        corpus.mkpath(QLatin1String(target));
        ok = write(corpus.filePath(QLatin1String(target) + QStringLiteral("/seed-") + name), data) && ok;
    };

    const QByteArray midi0 = taggedMidi(0), midi1 = taggedMidi(1), kar = karaoke();
    const QByteArray bare = smf(0, {notes()});
    const QList<QPair<QString, QByteArray>> midis = {{"tagged0.mid", midi0}, {"tagged1.mid", midi1},
                                                      {"karaoke.kar", kar}, {"bare.mid", bare}};
    const QList<QPair<QString, QByteArray>> mfxs = {{"song.mf3", mfx("_MF3", midi0)},
                                                     {"song.mf4", mfx("_MF4", midi1)},
                                                     {"song.mf5", mfx("_MF5", bare)}};
    const QList<QPair<QString, QByteArray>> mp3s = mp3Files();

    // Edit scripts: a count, then (what, which) pairs touching every setter.
    const QByteArray noEdits = bytes({0});
    QByteArray allEdits = bytes({12});
    for (int i = 0; i < 12; ++i)
        allEdits += bytes({i, i * 21 + 3});

    for (const auto& m : midis) {
        seed("rawmidifile", m.first, noEdits + m.second);
        seed("rawmidifile", "edits-" + m.first, allEdits + m.second);
    }
    for (const auto& m : mfxs)
        seed("mfxheader", m.first, allEdits + m.second.left(m.first.endsWith("5") ? 1024 : 512));
    for (const auto& m : mp3s)
        seed("mp3header", m.first, (m.first == "written.mp3" ? noEdits : allEdits) + m.second);

    seed("lzhuff", "packed-midi", pack(midi1));
    seed("lzhuff", "packed-runs", pack(QByteArray(300, 'a') + QByteArray(200, '\0') + "abcabcabcabc"));
    seed("lzhuff", "plain-midi", midi0);

    // MetaSong: file name (0 song.mid, 1 song.mp3), mode, details, room.
    const QByteArray automatic = bytes({0, 3, 3, 0, 3, 3, 11, 3, 0x82, 2}) + QByteArray(6, '\0');
    const QByteArray manual = bytes({8, 4, 12, 1, 8, 9, 1, 5, 0x05, 7}) + QByteArray(6, '\0');
    const QList<QPair<QString, QByteArray>> songs = midis + mfxs;
    for (const auto& s : songs) {
        seed("metasong", "auto-" + s.first, automatic + s.second);
        seed("metasong", "manual-" + s.first, manual + s.second);
    }
    for (const auto& s : mp3s) {
        QByteArray a = automatic, m = manual;
        a[0] = 1;
        m[0] = 9;
        seed("metasong", "auto-" + s.first, a + s.second);
        seed("metasong", "manual-" + s.first, m + s.second);
    }

    // Index reader: file name (0 song.mid, 3 song.mf4, 5 song.mp3), then the file.
    for (const auto& s : midis)
        seed("indexsonginfo", s.first, bytes({0}) + s.second.left(3072));
    for (const auto& s : mfxs)
        seed("indexsonginfo", s.first, bytes({3}) + s.second.left(3072));
    for (const auto& s : mp3s)
        seed("indexsonginfo", s.first, bytes({5}) + s.second.left(3072));

    const QList<QPair<QString, QByteArray>> memory = {{"songs/a.mid", midi0}, {"songs/b/k.kar", kar},
                                                       {"songs/c.mf4", mfxs.at(1).second},
                                                       {"songs/d.mp3", mp3s.at(0).second}};
    const QByteArray index = indexImage(memory);
    seed("indexload", "four-songs", index);
    seed("indexload", "four-songs-and-new", index + "#--#" + midi1);
    seed("indexload", "empty-and-new", indexImage({}) + "#--#" + bare);
    // A last song numbered near 2^31: refused as damage, not numbered past it.
    seed("indexload", "number-near-2-31-and-new", QByteArray(index).replace(3 * 270, 4, "\x7F\xFF\xFF\xFE") + "#--#" + midi1);
    return ok ? 0 : 1;
}
