#ifndef SONGFILES_RAWMIDIFILE_H
#define SONGFILES_RAWMIDIFILE_H

#include "songfiles/songinfo.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// A Standard MIDI File held as one byte image. The song details live in
// meta-events that are found by byte-pattern searches and edited by inserting
// or removing whole events at the start of the first track; the first track's
// length field is kept in step with every edit.
//
// Every access is bounds-checked: a damaged event (length past the end of the
// image, length too short for its layout, unreadable length) reads as absent
// and is never removed. Lengths written by other software as multi-byte
// variable-length quantities are read and skipped; every event written here
// has a single length byte below 0x80.
class RawMidiFile
{
public:
    // Tag type byte of the program's own 0x4B meta-events.
    enum tavrelMetaTypeEnum {
        MetaGenre = 1,
        MetaArtist = 2,
        MetaAuthor = 3,
        MetaLength = 4,   // seconds, decimal ASCII digits
        MetaUserBpm = 5,  // beats per minute, decimal ASCII digits
        MetaMarker = 6    // bar (2 bytes, big-endian) then the label
    };

    // Standard meta-event types used here.
    static constexpr char MetaTypeCopyright = 0x02;
    static constexpr char MetaTypeTitle = 0x03;
    static constexpr char MetaTypeKeySignature = 0x59;
    static constexpr char MetaTypeTag = 0x4B;

    // Longest text kept on writing, in characters (before the byte limit).
    static constexpr int MaxTextChars = 125;

    RawMidiFile();

    bool loadData(const QByteArray& data);
    const QByteArray& stream() const { return m_stream; }
    SongInfo::fileTypeEnum fileType() const { return m_fileType; }

    // Searches: position of the event's 0xFF byte, negative when there is none.
    int indexOfTavrelMetaevent(const QByteArray& data, int from, tavrelMetaTypeEnum type) const;
    int extractMetaevent(QString& text, tavrelMetaTypeEnum type) const;
    int extractMetaevent(QString& text, char metaType) const;
    int extractMarkersList(QList<Marker>& list) const;
    int extractKey(QString& name) const;

    // Editing of the first track. Results are byte counts.
    int removeHeadMetaevent(tavrelMetaTypeEnum type, bool onlyFirst);
    int removeHeadMetaevent(char metaType, bool onlyFirst);
    int insertMetaevent(const QByteArray& payload, tavrelMetaTypeEnum type, int pos);
    int insertMetaevent(const QByteArray& payload, char metaType, int pos);
    int insertMarker(const QString& text, quint16 bar);
    int dbgInsertMarker(const QString& text, quint16 bar);

    // Getters: absence reads as an empty text or 0.
    QString title() const;
    QString key() const;
    QString genre() const { return tagText(MetaGenre); }
    QString artist() const { return tagText(MetaArtist); }
    QString author() const { return tagText(MetaAuthor); }
    int length() const { return tagNumber(MetaLength); }
    int userBpm() const { return tagNumber(MetaUserBpm); }
    QList<Marker> markersList() const;
    bool isTavrel() const;

    // Presence tests: an event exists, whatever its content.
    bool hasTitle() const;
    bool hasKey() const;
    bool hasMarkers() const;
    bool hasGenre() const { return hasTag(MetaGenre); }
    bool hasArtist() const { return hasTag(MetaArtist); }
    bool hasAuthor() const { return hasTag(MetaAuthor); }
    bool hasLength() const { return hasTag(MetaLength); }
    bool hasUserBpm() const { return hasTag(MetaUserBpm); }

    // Setters: remove every event of their kind from the first track, then
    // insert one new event as the first event of the first track.
    void setTitle(const QString& title);
    void setKey(const QString& name);
    void setGenre(const QString& genre) { setTagText(MetaGenre, genre); }
    void setArtist(const QString& artist) { setTagText(MetaArtist, artist); }
    void setAuthor(const QString& author) { setTagText(MetaAuthor, author); }
    void setLength(int seconds) { setTagNumber(MetaLength, seconds); }
    void setUserBpm(int bpm) { setTagNumber(MetaUserBpm, bpm); }
    void setMarkersList(const QList<Marker>& markers);

    // Key names (midikeys.cpp).
    void populateKeyMaps();
    QStringList getKeysList();

    // Text helpers shared by the song file formats.
    // Bytes cut at the first zero byte, decoded as UTF-8 when valid, otherwise
    // as Latin-1, and trimmed.
    static QString decodeText(const QByteArray& bytes);
    // The first maxChars characters as UTF-8, with whole characters dropped
    // from the end until the encoding fits in maxBytes.
    static QByteArray encodeText(const QString& text, int maxChars, int maxBytes);

private:
    // A meta-event located in an image: 0xFF at pos, type at pos + 1, a
    // variable-length length, then dataLength bytes from dataStart.
    struct MetaEvent
    {
        int pos = -1;
        int dataStart = -1;
        int dataLength = 0;
        int end() const { return dataStart + dataLength; }
    };
    static bool metaEventAt(const QByteArray& data, int pos, MetaEvent& event);
    bool findTag(int from, tavrelMetaTypeEnum type, MetaEvent& event) const;
    bool findMeta(char metaType, MetaEvent& event) const;
    bool isLoaded() const { return trackDataStart >= 0; }
    qint64 firstTrackEnd() const;
    int removeEvents(char metaType, int tagType, bool onlyFirst);
    int insertEvent(const QByteArray& event, int pos);

    QString tagText(tavrelMetaTypeEnum type) const;
    int tagNumber(tavrelMetaTypeEnum type) const;
    bool hasTag(tavrelMetaTypeEnum type) const;
    void setTagText(tavrelMetaTypeEnum type, const QString& text);
    void setTagNumber(tavrelMetaTypeEnum type, int value);

    QByteArray m_stream;
    quint32 trackSize = 0;
    qint32 trackDataStart = -1;
    qint32 trackSizePos = -1;
    SongInfo::fileTypeEnum m_fileType = SongInfo::TypeUnknown;
    QMap<QString, unsigned short> keyNameToValue;
    QMap<unsigned short, QString> keyValueToName;
};

#endif
