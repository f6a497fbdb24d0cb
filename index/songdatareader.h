#ifndef SONGDATAREADER_H
#define SONGDATAREADER_H

#include <QByteArray>
#include <QString>

struct SongInfoIndex;

// Takes title, artist, genre, format code, tempo and markers flag straight
// from the first bytes of a song file (MP3 with ID3v2, MFx container, MIDI),
// with the index's own simplified rules. Safe on any bytes.
class SongDataReader
{
public:
    static const int HeadSize = 3072;  // bytes of a song file ever looked at
    static const int TextSize = 58;    // text field width of the index records

    // Fills the six song fields of `entry` from `head` (the first bytes of the
    // file named `fileName`); 1, or 0 with the presets kept when `head` has
    // fewer than 5 bytes.
    static int parse(const QByteArray &head, const QString &fileName, SongInfoIndex &entry);

private:
    static void readMp3(const QByteArray &buf, SongInfoIndex &entry);
    static void readMfx(const QByteArray &buf, const QString &fileName, SongInfoIndex &entry);
    static void readMidi(const QByteArray &buf, const QString &fileName, SongInfoIndex &entry);
    static void applyDefaults(const QString &fileName, SongInfoIndex &entry);
};

#endif // SONGDATAREADER_H
