#include "songfiles/mp3header.h"

#include "songfiles/id3bytes.h"
#include "songfiles/id3v22converter.h"
#include "songfiles/textcodec.h"

#include <QDebug>

#include <algorithm>

using namespace Id3Bytes;

namespace {

const int HeaderSize = 10;          // tag header and frame header alike
const int MaxSynchsafe = 0x0FFFFFFF; // largest size four 7-bit groups can hold

// Header flags.
const uchar FlagUnsync = 0x80;
const uchar FlagExtended = 0x40;   // v2.3, v2.4
const uchar FlagCompressed = 0x40; // v2.2
const uchar FlagFooter = 0x10;

quint32 readBe32(const QByteArray& a, int pos)
{
    return (quint32(uchar(a[pos])) << 24) | (quint32(uchar(a[pos + 1])) << 16)
        | (quint32(uchar(a[pos + 2])) << 8) | quint32(uchar(a[pos + 3]));
}

bool isSynchsafe(quint32 v) { return (v & 0x80808080u) == 0; }

quint32 fromSynchsafe(quint32 v)
{
    return ((v >> 3) & 0x0FE00000u) | ((v >> 2) & 0x001FC000u) | ((v >> 1) & 0x00003F80u)
        | (v & 0x7Fu);
}

bool isFrameId(const char* p)
{
    return isFrameIdChar(p[0]) && isFrameIdChar(p[1]) && isFrameIdChar(p[2]) && isFrameIdChar(p[3]);
}

// Undoes unsynchronisation: every 0x00 that follows a 0xFF is dropped.
QByteArray removeUnsync(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (int i = 0; i < in.size(); ++i) {
        out.append(in[i]);
        if (uchar(in[i]) == 0xFF && i + 1 < in.size() && in[i + 1] == '\0')
            ++i;
    }
    return out;
}

// UTF-16 text up to its first (aligned) zero unit; a byte order mark wins over
// the default order.
QString decodeUtf16(const QByteArray& data, bool bigEndian)
{
    int i = 0;
    if (data.size() >= 2) {
        const uchar b0 = uchar(data[0]);
        const uchar b1 = uchar(data[1]);
        if (b0 == 0xFF && b1 == 0xFE) {
            bigEndian = false;
            i = 2;
        } else if (b0 == 0xFE && b1 == 0xFF) {
            bigEndian = true;
            i = 2;
        }
    }
    QString s;
    s.reserve(data.size() / 2);
    for (; i + 1 < data.size(); i += 2) {
        const ushort hi = uchar(data[bigEndian ? i : i + 1]);
        const ushort lo = uchar(data[bigEndian ? i + 1 : i]);
        const ushort unit = ushort((hi << 8) | lo);
        if (unit == 0)
            break;
        s.append(QChar(unit));
    }
    return s;
}

QByteArray cutAtZero(const QByteArray& data)
{
    const int z = data.indexOf('\0');
    return z < 0 ? data : data.left(z);
}

}

Mp3Header::Mp3Header()
    : framesStart(HeaderSize), tagSize(0), audioDataStart(0), fileTypeValue(SongInfo::TypeMp3)
{
}

int Mp3Header::getId3TagSize(const QByteArray& data) const
{
    if (data.size() < HeaderSize)
        return 0;
    const quint32 raw = readBe32(data, 6);
    return isSynchsafe(raw) ? int(fromSynchsafe(raw)) : 0;
}

bool Mp3Header::loadHeader(const QByteArray& data)
{
    tag.clear();
    fileTypeValue = SongInfo::TypeMp3;
    framesStart = HeaderSize;
    tagSize = 0;
    audioDataStart = 0;
    if (data.size() < HeaderSize)
        return false;

    if (!data.startsWith("ID3")) {
        // No tag: the whole file is audio; saving puts a new v2.3 tag in front.
        tag = QByteArray("ID3\x03\x00\x00\x00\x00\x00\x00", HeaderSize);
        readLayout();
        return true;
    }

    if (!isSynchsafe(readBe32(data, 6))) {
        tag = data.left(HeaderSize);
        audioDataStart = HeaderSize;
        readLayout();
        return true;
    }

    const int size = getId3TagSize(data);
    if (data.size() - HeaderSize < size)
        return false;
    tag = data.left(size + HeaderSize);
    tagSize = size;
    audioDataStart = size + HeaderSize;

    const uchar major = uchar(tag[3]);
    const uchar flags = uchar(tag[5]);
    if (major == 4 && (flags & FlagFooter) && data.size() - audioDataStart >= HeaderSize
        && data.mid(audioDataStart, 3) == "3DI") {
        // The footer only repeats the header; it is not written again, so the
        // new tag must not announce it.
        audioDataStart += HeaderSize;
        tag[5] = char(flags & ~FlagFooter);
    }
    if (major == 3 && (flags & FlagUnsync)) {
        // A v2.3 tag unsynchronises its whole body; frame sizes count the plain
        // bytes, so keep the plain body and let the tag say so.
        const QByteArray body = removeUnsync(tag.mid(HeaderSize));
        tag = tag.left(HeaderSize) + body;
        tag[5] = char(flags & ~FlagUnsync);
        tagSize = body.size();
        updateId3TagSize();
    }
    if (major == 2 && (flags & FlagCompressed)) {
        qDebug() << "[Mp3Header::loadHeader] compressed ID3v2.2 tag, kept as it is";
    } else if (major == 2) {
        const QByteArray plain = flags & FlagUnsync ? tag.left(HeaderSize) + removeUnsync(tag.mid(HeaderSize)) : tag;
        const QByteArray converted = Id3v22Converter::toV23(plain);
        if (converted.isEmpty()) {
            qDebug() << "[Mp3Header::loadHeader] damaged ID3v2.2 tag, kept as it is";
        } else {
            tag = converted;
            tagSize = tag.size() - HeaderSize;
        }
    }
    readLayout();
    return true;
}

// After an edit the extended header's checksum is stale: the header is
// written again without its CRC (and, in v2.4, the restrictions, which were
// set for the old frames), or dropped when its flags cannot be read. Returns
// how far the frames moved.
int Mp3Header::dropExtendedChecks()
{
    if (!(uchar(tag[5]) & FlagExtended) || framesStart <= HeaderSize)
        return 0;
    const QByteArray ext = tag.mid(HeaderSize, framesStart - HeaderSize);
    QByteArray rewritten;
    bool drop = false;
    if (majorVersion == 3) {
        // Size (without itself), two flag bytes, padding size, CRC.
        if (ext.size() < 6 || !(uchar(ext[4]) & 0x80))
            return 0;
        if (ext.size() == 14)
            rewritten = sizeBytes(6, false) + QByteArray(2, '\0') + ext.mid(6, 4);
        else
            drop = true;
    } else {
        // Size, number of flag bytes (1), flags, then each set flag's data.
        const uchar flags = uchar(ext[5]);
        if (ext[4] == 1 && !(flags & 0x30))
            return 0;
        int pos = 6;
        bool readable = ext[4] == 1;
        const uchar dataLength[] = {0, 5, 1}; // "is an update", CRC, restrictions
        for (int i = 0; i < 3; ++i) {
            if (!(flags & (0x40 >> i)))
                continue;
            readable = readable && pos < ext.size() && uchar(ext[pos]) == dataLength[i];
            pos += 1 + dataLength[i];
        }
        drop = !readable || pos != ext.size();
        if (!drop && (flags & 0x40))
            rewritten = sizeBytes(7, true) + QByteArray("\x01\x40\x00", 3);
        else if (!drop)
            rewritten = sizeBytes(6, true) + QByteArray("\x01\x00", 2);
    }
    if (drop)
        tag[5] = char(uchar(tag[5]) & ~FlagExtended);
    tag.replace(HeaderSize, ext.size(), rewritten);
    const int moved = rewritten.size() - ext.size();
    framesStart += moved;
    tagSize += moved;
    updateId3TagSize();
    return moved;
}

void Mp3Header::readLayout()
{
    framesStart = HeaderSize;
    majorVersion = uchar(tag[3]);
    synchsafeFrameSizes = majorVersion == 4;
    editable = majorVersion == 3 || majorVersion == 4;
    const int end = framesEnd();
    if (!editable) {
        qDebug() << "[Mp3Header::loadHeader] ID3v2 version" << majorVersion
                 << "not handled, the tag is kept as it is";
        framesStart = end;
        return;
    }
    if (uchar(tag[5]) & FlagExtended) {
        qint64 extEnd = -1;
        if (end - HeaderSize >= 4) {
            const quint32 raw = readBe32(tag, HeaderSize);
            if (majorVersion == 3)
                extEnd = HeaderSize + 4 + qint64(raw); // the size excludes itself
            else if (isSynchsafe(raw) && fromSynchsafe(raw) >= 6)
                extEnd = HeaderSize + qint64(fromSynchsafe(raw));
        }
        if (extEnd < 0 || extEnd > end) {
            qDebug() << "[Mp3Header::loadHeader] damaged extended header, the tag is kept as it is";
            editable = false;
            framesStart = end;
            return;
        }
        framesStart = int(extEnd);
    }
    if (majorVersion == 4) {
        // Some programs wrote v2.4 tags with plain frame sizes: use the form
        // under which the frames line up, unless a frame of 128 bytes or more
        // is already followed by a whole frame under synchsafe sizes (damage
        // further on must not make the frames written here read as plain).
        // Plain sizes line up only at the end or before padding that is all
        // zeros. When neither form accounts for the frames, the tag is only
        // read: a long frame written here could read back the other way.
        int stop = 0;
        walkFrames(true, QByteArray(), -1, &stop);
        if (stop != end && tag[stop] != '\0' && !synchsafeConfirmed()) {
            int plainStop = 0;
            walkFrames(false, QByteArray(), -1, &plainStop);
            const auto zero = [](char c) { return c == '\0'; };
            if (std::all_of(tag.constBegin() + plainStop, tag.constBegin() + end, zero)) {
                synchsafeFrameSizes = false;
            } else {
                qDebug() << "[Mp3Header::loadHeader] damaged ID3v2.4 frames, the tag is only read";
                editable = false;
            }
        }
    }
}

// The two readings of frame sizes agree on every frame below 128 bytes. At
// the first frame where they differ, synchsafe sizes are confirmed when the
// frame's synchsafe size leads to another whole frame.
bool Mp3Header::synchsafeConfirmed() const
{
    const int end = framesEnd();
    int pos = qMin(framesStart, end);
    while (end - pos >= HeaderSize && isFrameId(tag.constData() + pos)) {
        const int size = frameSize(pos, true);
        if (size < 0 || size > end - pos - HeaderSize)
            return false;
        const int next = pos + HeaderSize + size;
        if (size != frameSize(pos, false)) {
            if (end - next < HeaderSize || !isFrameId(tag.constData() + next))
                return false;
            const int nextSize = frameSize(next, true);
            return nextSize >= 0 && nextSize <= end - next - HeaderSize;
        }
        pos = next;
    }
    return false;
}

int Mp3Header::framesEnd() const
{
    return int(qBound(qint64(0), qint64(tagSize) + HeaderSize, qint64(tag.size())));
}

int Mp3Header::frameSize(int pos, bool synchsafe) const
{
    if (pos < 0 || pos > tag.size() - 8)
        return -1;
    const quint32 raw = readBe32(tag, pos + 4);
    if (synchsafe)
        return isSynchsafe(raw) ? int(fromSynchsafe(raw)) : -1;
    return raw > quint32(INT_MAX) ? -1 : int(raw);
}

// Walks the frame headers from framesStart, stopping at padding, at the end
// of the tag or at the first header that is not a valid frame. Returns the
// position of the first frame with the id, or matchPos when the walk passes
// it (a frame start or the end of the last frame); -1 otherwise. stopPos
// receives where the walk ended.
int Mp3Header::walkFrames(bool synchsafe, const QByteArray& id, int matchPos, int* stopPos) const
{
    const int end = framesEnd();
    int pos = qMin(framesStart, end);
    int found = -1;
    while (end - pos >= HeaderSize) {
        const char* p = tag.constData() + pos;
        if (p[0] == '\0' || !isFrameId(p))
            break;
        const int size = frameSize(pos, synchsafe);
        if (size < 0 || size > end - pos - HeaderSize)
            break;
        if (pos == matchPos || (!id.isEmpty() && id == QByteArray::fromRawData(p, 4))) {
            found = pos;
            break;
        }
        pos += HeaderSize + size;
    }
    if (found < 0 && pos == matchPos)
        found = pos;
    if (stopPos)
        *stopPos = pos;
    return found;
}

int Mp3Header::findFrame(const QString& id) const
{
    const QByteArray raw = id.toLatin1();
    if (raw.size() != 4 || !isFrameId(raw.constData()))
        return -1;
    return walkFrames(synchsafeFrameSizes, raw, -1, nullptr);
}

bool Mp3Header::isFrameBoundary(int pos) const
{
    return pos >= framesStart && walkFrames(synchsafeFrameSizes, QByteArray(), pos, nullptr) == pos;
}

void Mp3Header::updateId3TagSize()
{
    if (tag.size() < HeaderSize)
        return;
    tag.replace(6, 4, sizeBytes(quint32(qBound(0, int(tagSize), MaxSynchsafe)), true));
}

int Mp3Header::removeId3Frame(QString id)
{
    const int pos = editable ? findFrame(id) : -1;
    if (pos < 0)
        return 0;
    const int len = HeaderSize + frameSize(pos, synchsafeFrameSizes);
    const int start = pos + dropExtendedChecks();
    tag.remove(start, len);
    tagSize -= len;
    updateId3TagSize();
    return len;
}

int Mp3Header::getSingleFrameLength(int pos) const
{
    return frameSize(pos, synchsafeFrameSizes);
}

int Mp3Header::insertId3Frame(QByteArray& content, QString id, int pos)
{
    const QByteArray rawId = id.toLatin1();
    if (content.isEmpty() || pos < 0 || pos > tag.size() || !editable || rawId.size() != 4
        || !isFrameId(rawId.constData()))
        return 0;
    // Only between frames (or where padding begins): a frame placed inside
    // another frame or the extended header would damage the tag.
    if (!isFrameBoundary(pos))
        return 0;
    const qint64 payload = qint64(content.size()) + 1;
    if (qint64(tagSize) + HeaderSize + payload > MaxSynchsafe)
        return 0;
    pos += dropExtendedChecks();

    QByteArray frame;
    frame.reserve(int(HeaderSize + payload));
    frame.append(rawId);
    frame.append(sizeBytes(quint32(payload), synchsafeFrameSizes));
    frame.append('\0').append('\0'); // flags
    frame.append('\0');              // text encoding
    frame.append(content);
    tag.insert(pos, frame);
    tagSize += frame.size();
    updateId3TagSize();
    return frame.size();
}

QString Mp3Header::frameText(int pos) const
{
    const int size = frameSize(pos, synchsafeFrameSizes);
    if (size < 0 || size > tag.size() - pos - HeaderSize)
        return QString();
    int start = pos + HeaderSize;
    int len = size;
    const uchar format = uchar(tag[pos + 9]);
    bool unsync = false;
    if (majorVersion == 3) {
        if (format & 0xC0) // compressed or encrypted
            return QString();
        if (format & 0x20) { // group id byte
            ++start;
            --len;
        }
    } else {
        if (format & 0x0C) // compressed or encrypted
            return QString();
        const int extra = ((format & 0x40) ? 1 : 0) + ((format & 0x01) ? 4 : 0);
        start += extra;
        len -= extra;
        unsync = (format & 0x02) || (uchar(tag[5]) & FlagUnsync);
    }
    if (len < 1)
        return QString();
    QByteArray content = tag.mid(start, len);
    if (unsync)
        content = removeUnsync(content);
    const char encoding = content[0];
    const QByteArray data = content.mid(1);
    QString text;
    switch (encoding) {
    case 1:
        text = decodeUtf16(data, false);
        break;
    case 2:
        text = decodeUtf16(data, true);
        break;
    case 3:
        text = QString::fromUtf8(cutAtZero(data));
        break;
    default:
        text = TextCodec::decodeUtf8OrLatin1(cutAtZero(data));
        break;
    }
    return text.trimmed();
}

int Mp3Header::extractId3Frame(QString& text, QString id) const
{
    text.clear();
    const int pos = findFrame(id);
    if (pos >= 0)
        text = frameText(pos);
    return pos;
}

bool Mp3Header::hasFrame(const char* id) const { return findFrame(QString::fromLatin1(id)) >= 0; }

QString Mp3Header::textOf(const char* id) const
{
    QString text;
    extractId3Frame(text, QString::fromLatin1(id));
    return text;
}

int Mp3Header::numberOf(const char* id) const
{
    bool ok = false;
    const int v = textOf(id).toInt(&ok, 10);
    return ok && v >= 0 ? v : 0;
}

void Mp3Header::replaceText(const char* id, const QByteArray& content)
{
    const QString frameId = QString::fromLatin1(id);
    removeId3Frame(frameId);
    if (content.isEmpty())
        return;
    QByteArray c = content;
    insertId3Frame(c, frameId, framesStart);
}

QString Mp3Header::title() const { return textOf("TIT2"); }
QString Mp3Header::key() const { return textOf("TKEY"); }
QString Mp3Header::genre() const { return textOf("TCON"); }
QString Mp3Header::artist() const { return textOf("TPE1"); }
QString Mp3Header::author() const { return textOf("TCOM"); }
int Mp3Header::length() const { return numberOf("TLEN") / 1000; }
int Mp3Header::userBpm() const { return numberOf("TBPM"); }
bool Mp3Header::isTavrel() const
{
    return hasFrame("TCOP") && textOf("TCOP").toUpper().contains(QLatin1String("TAVREL"));
}

bool Mp3Header::hasTitle() const { return hasFrame("TIT2"); }
bool Mp3Header::hasKey() const { return hasFrame("TKEY"); }
bool Mp3Header::hasGenre() const { return hasFrame("TCON"); }
bool Mp3Header::hasArtist() const { return hasFrame("TPE1"); }
bool Mp3Header::hasAuthor() const { return hasFrame("TCOM"); }
bool Mp3Header::hasLength() const { return hasFrame("TLEN"); }
bool Mp3Header::hasUserBpm() const { return hasFrame("TBPM"); }
bool Mp3Header::hasTamselEditParam() const { return hasFrame("XEDT"); }

void Mp3Header::setTitle(const QString& text) { replaceText("TIT2", text.toUtf8()); }
void Mp3Header::setKey(const QString& text) { replaceText("TKEY", text.toUtf8()); }
void Mp3Header::setGenre(const QString& text) { replaceText("TCON", text.toUtf8()); }
void Mp3Header::setArtist(const QString& text) { replaceText("TPE1", text.toUtf8()); }
void Mp3Header::setAuthor(const QString& text) { replaceText("TCOM", text.toUtf8()); }

void Mp3Header::setLength(int seconds)
{
    replaceText("TLEN", seconds < 1 ? QByteArray() : QByteArray::number(qint64(seconds) * 1000));
}

void Mp3Header::setUserBpm(int bpm)
{
    replaceText("TBPM", bpm < 1 ? QByteArray() : QByteArray::number(bpm));
}

void Mp3Header::setTamselEditParam()
{
    QByteArray content(3, '\0');
    insertId3Frame(content, QStringLiteral("XEDT"), framesStart);
}
