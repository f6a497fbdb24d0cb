#ifndef SONGFILES_MFXHEADER_H
#define SONGFILES_MFXHEADER_H

#include "songfiles/songinfo.h"

#include <QByteArray>
#include <QString>

// The fixed-size header of an MFx song container ("_MF3", "_MF4", "_MF5"):
// keeps the header bytes of one file and reads and writes the song details in
// them. Only the touched fields change; every other byte is written back as
// it was read. The packed payload that follows the header is not handled here.
class MfxHeader
{
public:
    enum FlagsEnum {
        MarkersFlag = 1 // the song carries section markers
    };

    static constexpr int Mf3HeaderSize = 512; // also "_MF4"
    static constexpr int Mf5HeaderSize = 1024;

    MfxHeader() = default;

    // Header size of a container type, 0 for a type that is not MFx.
    static int headerSize(SongInfo::fileTypeEnum type);

    // Takes data as the header when it starts with a known magic and is long
    // enough for it. On failure the stored header is empty; the type becomes
    // TypeUnknown for an unknown magic and stays as it was for a short header.
    bool loadHeader(const QByteArray& data);

    const QByteArray& header() const { return m_header; }
    SongInfo::fileTypeEnum fileType() const { return m_fileType; }

    QString copyright() const;
    QString title() const;
    QString editor() const;
    QString author() const;
    QString artist() const;
    QString genre() const;
    QString longName() const;
    int flags() const; // sign-extended from 8 bits
    int tempo() const; // beats per minute

    bool hasTitle() const { return !title().isEmpty(); }
    bool hasArtist() const { return !artist().isEmpty(); }
    bool hasAuthor() const { return !author().isEmpty(); }
    bool hasGenre() const { return !genre().isEmpty(); }
    bool hasLongName() const { return !longName().isEmpty(); }
    bool hasValidTempo() const;

    // The setters change nothing while no header is loaded.
    void setTitle(const QString& title);
    void setAuthor(const QString& author);
    void setArtist(const QString& artist);
    void setGenre(const QString& genre);
    void setSize(unsigned int size);         // total file size: header + packed stream
    void setOrigSize(unsigned int origSize); // unpacked MIDI image size
    void setTempo(int tempo);                // keeps the low 16 bits
    void setFlag(FlagsEnum flag);            // sets the bit; flags are never cleared

private:
    QString text(int offset, int size) const;
    void setText(const char* origin, int offset, const QString& text);
    bool writable(const char* origin, int offset, int size) const;
    void putLE(int offset, quint32 value, int bytes);

    QByteArray m_header;
    SongInfo::fileTypeEnum m_fileType = SongInfo::TypeUnknown;
};

#endif
