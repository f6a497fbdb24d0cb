// Byte-image builders for Standard MIDI Files, shared by the song file tests.
#ifndef TESTS_SONGFILES_MIDIIMAGE_H
#define TESTS_SONGFILES_MIDIIMAGE_H

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <initializer_list>

namespace MidiImage {

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

inline QByteArray chunk(const QByteArray& data) { return "MTrk" + be32(quint32(data.size())) + data; }

inline QByteArray endOfTrack() { return bytes({0x00, 0xFF, 0x2F, 0x00}); }

// A note on and its note off, running status.
inline QByteArray notes() { return bytes({0x00, 0x90, 0x3C, 0x40, 0x60, 0x3C, 0x00}); }

// Standard meta-event with delta 0 and a one-byte length.
inline QByteArray meta(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, type, payload.size()}) + payload;
}

// The program's tag event: delta 0, 0xFF 0x4B, length, tag type, payload.
inline QByteArray tag(int type, const QByteArray& payload)
{
    return bytes({0x00, 0xFF, 0x4B, payload.size() + 1, type}) + payload;
}

// A Standard MIDI File: each track's events followed by an end-of-track event.
inline QByteArray smf(int format, const QList<QByteArray>& tracks)
{
    QByteArray img = "MThd" + be32(6) + bytes({0, format, 0, tracks.size(), 0x01, 0xE0});
    for (const QByteArray& t : tracks)
        img += chunk(t + endOfTrack());
    return img;
}

inline quint32 firstTrackLengthField(const QByteArray& img)
{
    return qFromBigEndian<quint32>(img.constData() + img.indexOf("MTrk") + 4);
}

} // namespace MidiImage

#endif
