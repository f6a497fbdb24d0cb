#include "songfiles/rawmidifile.h"
#include "songfiles/textcodec.h"

#include <QDebug>

#include <algorithm>

namespace {

// The one-byte length of an event written here must stay a valid
// variable-length quantity.
constexpr int MaxLengthByte = 0x7F;

quint8 byteAt(const QByteArray& data, int pos)
{
    return static_cast<quint8>(data.at(pos));
}

quint32 readBe32(const QByteArray& data, int pos)
{
    return (quint32(byteAt(data, pos)) << 24) | (quint32(byteAt(data, pos + 1)) << 16)
        | (quint32(byteAt(data, pos + 2)) << 8) | quint32(byteAt(data, pos + 3));
}

void writeBe32(QByteArray& data, int pos, quint32 value)
{
    data[pos] = char(value >> 24);
    data[pos + 1] = char(value >> 16);
    data[pos + 2] = char(value >> 8);
    data[pos + 3] = char(value);
}

// Reads a variable-length quantity of at most four bytes starting at pos.
bool readVarLength(const QByteArray& data, int pos, quint32& value, int& used)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (qint64(pos) + i >= data.size())
            return false;
        const quint8 b = byteAt(data, pos + i);
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            used = i + 1;
            return true;
        }
    }
    return false;
}

// The first maxChars characters, never keeping half of a surrogate pair.
QString leftChars(const QString& text, int maxChars)
{
    int chars = std::min(text.size(), std::max(maxChars, 0));
    if (chars > 0 && chars < text.size() && text.at(chars - 1).isHighSurrogate())
        --chars;
    return text.left(chars);
}

} // namespace

RawMidiFile::RawMidiFile()
{
    populateKeyMaps();
}

bool RawMidiFile::loadData(const QByteArray& data)
{
    m_stream.clear();
    trackSize = 0;
    trackDataStart = -1;
    trackSizePos = -1;
    m_fileType = SongInfo::TypeUnknown;

    // A first "MTrk" before byte 10 would put the track's length field over
    // the format number, so every edit would change the format read back.
    const int t = data.indexOf("MTrk");
    if (!data.startsWith("MThd") || t < 10)
        return false;
    // The format number (bytes 8 and 9) and the track length field must be there.
    if (data.size() < 10 || qint64(t) + 8 > data.size())
        return false;
    const int format = (byteAt(data, 8) << 8) | byteAt(data, 9);
    if (format > 1)
        return false;

    m_stream = data;
    m_fileType = format == 0 ? SongInfo::TypeMidi0 : SongInfo::TypeMidi1;
    trackSize = readBe32(data, t + 4);
    trackSizePos = t + 4;
    trackDataStart = t + 8;
    return true;
}

bool RawMidiFile::metaEventAt(const QByteArray& data, int pos, MetaEvent& event)
{
    if (pos < 0 || qint64(pos) + 2 >= data.size() || byteAt(data, pos) != 0xFF)
        return false;
    quint32 length = 0;
    int used = 0;
    if (!readVarLength(data, pos + 2, length, used))
        return false;
    const qint64 dataStart = qint64(pos) + 2 + used;
    if (dataStart + length > data.size())
        return false;
    event.pos = pos;
    event.dataStart = int(dataStart);
    event.dataLength = int(length);
    return true;
}

qint64 RawMidiFile::firstTrackEnd() const
{
    return std::min<qint64>(qint64(trackDataStart) + trackSize, m_stream.size());
}

int RawMidiFile::indexOfTavrelMetaevent(const QByteArray& data, int from, tavrelMetaTypeEnum type) const
{
    static const QByteArray pattern("\xFF\x4B", 2);
    int p = data.indexOf(pattern, std::max(from, 0));
    while (p >= 0) {
        MetaEvent ev;
        if (metaEventAt(data, p, ev) && ev.dataLength >= 1 && byteAt(data, ev.dataStart) == type)
            return p;
        p = data.indexOf(pattern, p + 1);
    }
    return -1;
}

bool RawMidiFile::findTag(int from, tavrelMetaTypeEnum type, MetaEvent& event) const
{
    if (!isLoaded())
        return false;
    const int p = indexOfTavrelMetaevent(m_stream, from, type);
    return p >= 0 && metaEventAt(m_stream, p, event);
}

bool RawMidiFile::findMeta(char metaType, MetaEvent& event) const
{
    if (!isLoaded())
        return false;
    const char pattern[2] = {char(0xFF), metaType};
    const QByteArray pat(pattern, 2);
    for (int p = m_stream.indexOf(pat, trackDataStart); p >= 0; p = m_stream.indexOf(pat, p + 1)) {
        if (metaEventAt(m_stream, p, event))
            return true;
    }
    return false;
}

int RawMidiFile::extractMetaevent(QString& text, tavrelMetaTypeEnum type) const
{
    text.clear();
    MetaEvent ev;
    if (!findTag(trackDataStart, type, ev))
        return -1;
    text = decodeText(m_stream.mid(ev.dataStart + 1, ev.dataLength - 1));
    return ev.pos;
}

int RawMidiFile::extractMetaevent(QString& text, char metaType) const
{
    text.clear();
    MetaEvent ev;
    if (!findMeta(metaType, ev))
        return -1;
    text = decodeText(m_stream.mid(ev.dataStart, ev.dataLength));
    return ev.pos;
}

int RawMidiFile::extractMarkersList(QList<Marker>& list) const
{
    list.clear();
    int first = -1;
    MetaEvent ev;
    int from = trackDataStart;
    while (findTag(from, MetaMarker, ev)) {
        // Type byte and two bar bytes come before the label.
        if (ev.dataLength < 3) {
            from = ev.pos + 1;
            continue;
        }
        Marker m;
        m.bar = (byteAt(m_stream, ev.dataStart + 1) << 8) | byteAt(m_stream, ev.dataStart + 2);
        m.text = decodeText(m_stream.mid(ev.dataStart + 3, ev.dataLength - 3));
        list.append(m);
        if (first < 0)
            first = ev.pos;
        from = ev.end();
    }
    return first;
}

int RawMidiFile::removeHeadMetaevent(tavrelMetaTypeEnum type, bool onlyFirst)
{
    return removeEvents(MetaTypeTag, type, onlyFirst);
}

int RawMidiFile::removeHeadMetaevent(char metaType, bool onlyFirst)
{
    return removeEvents(metaType, -1, onlyFirst);
}

// Removes events 0x00 0xFF metaType (of tag type tagType when it is >= 0) that
// lie wholly inside the first track. Each pass either removes at least four
// bytes or moves one byte forward, so the loop always ends.
int RawMidiFile::removeEvents(char metaType, int tagType, bool onlyFirst)
{
    if (!isLoaded())
        return 0;
    const char pattern[3] = {0x00, char(0xFF), metaType};
    const QByteArray pat(pattern, 3);
    int removed = 0;
    int from = trackDataStart;
    for (;;) {
        const int hit = m_stream.indexOf(pat, from);
        if (hit < 0 || hit >= firstTrackEnd())
            break;
        MetaEvent ev;
        const bool whole = metaEventAt(m_stream, hit + 1, ev) && ev.end() <= firstTrackEnd();
        const bool wanted = whole
            && (tagType < 0 || (ev.dataLength >= 1 && byteAt(m_stream, ev.dataStart) == tagType));
        if (!wanted) {
            from = hit + 1;
            continue;
        }
        const int size = ev.end() - hit;
        m_stream.remove(hit, size);
        trackSize -= quint32(size);
        writeBe32(m_stream, trackSizePos, trackSize);
        removed += size;
        if (onlyFirst)
            break;
        from = hit;
    }
    return removed;
}

int RawMidiFile::insertEvent(const QByteArray& event, int pos)
{
    // Only inside the first track, whose length field counts the new bytes.
    if (!isLoaded() || pos < trackDataStart || pos > m_stream.size()
        || qint64(pos) > qint64(trackDataStart) + trackSize)
        return 0;
    m_stream.insert(pos, event);
    trackSize += quint32(event.size());
    writeBe32(m_stream, trackSizePos, trackSize);
    return event.size();
}

int RawMidiFile::insertMetaevent(const QByteArray& payload, tavrelMetaTypeEnum type, int pos)
{
    if (payload.size() + 1 > MaxLengthByte) {
        qDebug() << "[RawMidiFile::insertMetaevent] payload too long:" << payload.size();
        return 0;
    }
    QByteArray ev("\x00\xFF\x4B", 3);
    ev.append(char(payload.size() + 1));
    ev.append(char(type));
    ev.append(payload);
    return insertEvent(ev, pos);
}

int RawMidiFile::insertMetaevent(const QByteArray& payload, char metaType, int pos)
{
    if (payload.size() > MaxLengthByte) {
        qDebug() << "[RawMidiFile::insertMetaevent] payload too long:" << payload.size();
        return 0;
    }
    QByteArray ev("\x00\xFF", 2);
    ev.append(metaType);
    ev.append(char(payload.size()));
    ev.append(payload);
    return insertEvent(ev, pos);
}

int RawMidiFile::insertMarker(const QString& text, quint16 bar)
{
    QByteArray payload;
    payload.append(char(bar >> 8));
    payload.append(char(bar & 0xFF));
    // Type byte and bar come out of the 127 bytes of the length.
    payload.append(encodeText(text, text.size(), MaxLengthByte - 3));
    return insertMetaevent(payload, MetaMarker, trackDataStart);
}

int RawMidiFile::dbgInsertMarker(const QString& text, quint16 bar)
{
    return insertMarker(text, bar);
}

QString RawMidiFile::title() const
{
    QString text;
    extractMetaevent(text, MetaTypeTitle);
    return text;
}

bool RawMidiFile::hasTitle() const
{
    QString text;
    return extractMetaevent(text, MetaTypeTitle) >= 0;
}

QList<Marker> RawMidiFile::markersList() const
{
    QList<Marker> list;
    extractMarkersList(list);
    return list;
}

bool RawMidiFile::hasMarkers() const
{
    QList<Marker> list;
    return extractMarkersList(list) >= 0;
}

bool RawMidiFile::isTavrel() const
{
    QString notice;
    if (extractMetaevent(notice, MetaTypeCopyright) < 0)
        return false;
    notice = notice.toUpper();
    return notice.contains(QLatin1String("TAVREL")) || notice.contains(QLatin1String("VELMORAX"));
}

QString RawMidiFile::tagText(tavrelMetaTypeEnum type) const
{
    QString text;
    extractMetaevent(text, type);
    return text;
}

int RawMidiFile::tagNumber(tavrelMetaTypeEnum type) const
{
    bool ok = false;
    const int value = tagText(type).toInt(&ok, 10);
    return ok && value >= 0 ? value : 0;
}

bool RawMidiFile::hasTag(tavrelMetaTypeEnum type) const
{
    QString text;
    return extractMetaevent(text, type) >= 0;
}

void RawMidiFile::setTitle(const QString& title)
{
    removeHeadMetaevent(MetaTypeTitle, false);
    insertMetaevent(encodeText(title, MaxTextChars, MaxLengthByte), MetaTypeTitle, trackDataStart);
}

void RawMidiFile::setTagText(tavrelMetaTypeEnum type, const QString& text)
{
    removeHeadMetaevent(type, false);
    insertMetaevent(encodeText(text, MaxTextChars, MaxLengthByte - 1), type, trackDataStart);
}

void RawMidiFile::setTagNumber(tavrelMetaTypeEnum type, int value)
{
    removeHeadMetaevent(type, false);
    insertMetaevent(QByteArray::number(value), type, trackDataStart);
}

void RawMidiFile::setMarkersList(const QList<Marker>& markers)
{
    removeHeadMetaevent(MetaMarker, false);
    // Each insertion lands at the track start: walk backwards to keep list order.
    for (int i = markers.size() - 1; i >= 0; --i) {
        const Marker& m = markers.at(i);
        insertMarker(leftChars(m.text, MaxTextChars), quint16(m.bar));
    }
}

QString RawMidiFile::decodeText(const QByteArray& bytes)
{
    const int zero = bytes.indexOf('\0');
    const QByteArray text = zero >= 0 ? bytes.left(zero) : bytes;
    return TextCodec::decodeUtf8OrLatin1(text).trimmed();
}

QByteArray RawMidiFile::encodeText(const QString& text, int maxChars, int maxBytes)
{
    QString kept = leftChars(text, maxChars);
    QByteArray bytes = kept.toUtf8();
    while (bytes.size() > maxBytes && !kept.isEmpty()) {
        kept = leftChars(kept, kept.size() - 1);
        bytes = kept.toUtf8();
    }
    return bytes;
}
