#ifndef SONGFILES_METASONG_H
#define SONGFILES_METASONG_H

#include "songfiles/mfxheader.h"
#include "songfiles/mp3header.h"
#include "songfiles/rawmidifile.h"
#include "songfiles/songinfo.h"
#include "songfiles/songfilestate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;
class SongReplacement;

// The one way into a song file of any supported format: recognises and loads
// it, hands out its details as a SongInfo, merges new details into it and
// writes it back. A save goes through SongReplacement, so a failed save
// leaves the song exactly as it was; a song that another program changed,
// replaced or deleted since it was read is not saved over.
class MetaSong
{
public:
    enum errorEnum {
        ErrorNone = 0,
        ErrorChangedOnDisk,     // changed, replaced or deleted since it was read
        ErrorReadOnly,          // the song or its memory is write-protected
        ErrorFolderNotWritable, // nothing can be written in the song's folder
        ErrorTooLarge,          // the new content is too large for the format
        ErrorWriteFailed,       // writing, flushing or replacing failed
        ErrorUnsupportedTag     // an MP3 tag this program cannot update
    };
    // Why the last save failed; text is a short reason for the user, without
    // the file's path.
    struct SaveError
    {
        errorEnum code = ErrorNone;
        QString text;
    };

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

    // Reset by every import, set by every failed save, reset by a good one.
    const SaveError& lastError() const { return saveError; }
    // A hidden copy of the song left by an interrupted save, found by the
    // last import (it may be the only good copy), or an empty string.
    QString leftoverCopy() const { return leftover; }

private:
    bool importMfx(const QByteArray& data, const QByteArray& magic);
    bool importMidi(const QByteArray& data);
    bool importMp3(QFile& file, const QString& path, const QByteArray& magic, QByteArray& data);

    void mergeMidiImage(const SongInfo& info, bool manual);
    void mergeMidi(const SongInfo& info, bool manual);
    void mergeMfx(const SongInfo& info, bool manual);
    void mergeMp3(const SongInfo& info, bool manual);

    bool buildMidiOrMfx(QByteArray& content);
    bool write(const QString& path, const QByteArray& content);
    bool failSave(errorEnum code, const QString& text);
    bool failSave(const SongReplacement& out);

    Mp3Header mp3;
    MfxHeader mfx;
    RawMidiFile midi;
    SongInfo::fileTypeEnum fileType;

    SongFileState readState; // the file as the import read it
    SaveError saveError;
    QString leftover;
};

#endif
