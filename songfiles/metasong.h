#ifndef SONGFILES_METASONG_H
#define SONGFILES_METASONG_H

#include "songfiles/mfxheader.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "songfiles/songinfo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

// The one way into a song file of any supported format: recognises and loads
// it, hands out its details as a SongInfo, merges new details into it and
// writes it back. A save never rewrites the song in place: the new content
// goes to a temporary file in the song's folder which then replaces the song
// in one rename, so a failed save leaves the song exactly as it was.
class MetaSong
{
public:
    MetaSong();

    bool importFile(QString path);
    void getSongInfo(SongInfo& info);
    // Short format name shown to the user: "MIDI", "MF3", "MF4", "MF5", "MP3",
    // or "UNKNOWN" for anything else.
    static QString getFormatString(SongInfo::fileTypeEnum type);
    void setSongInfo(const SongInfo& info, bool manual);
    bool saveToFile(QString path);
    void removeReadOnlyFlag(QString path);
    QStringList getKeysList();
    int dbgAddMarker(const QString& text, unsigned short bar);

private:
    bool importMfx(QFile& file, const QByteArray& magic);
    bool importMidi(QFile& file);
    bool importMp3(QFile& file, const QString& path, const QByteArray& magic);

    void mergeMidiImage(const SongInfo& info, bool manual);
    void mergeMidi(const SongInfo& info, bool manual);
    void mergeMfx(const SongInfo& info, bool manual);
    void mergeMp3(const SongInfo& info, bool manual);

    bool saveMidiOrMfx(const QString& path);
    bool saveMp3(const QString& path);

    Mp3Header mp3;
    MfxHeader mfx;
    RawMidiFile midi;
    SongInfo::fileTypeEnum fileType;
};

#endif
