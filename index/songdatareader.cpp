#include "index/songdatareader.h"

#include "index/songinfoindex.h"

#include <cstring>

namespace {
const QString Unknown = QStringLiteral("<unknown>");

// The text of at most `count` bytes (cut to the record width) from `off`, up to
// the first zero byte, as UTF-8. Bytes past the end of `buf` read as zero.
QString textAt(const QByteArray &buf, qint64 off, qint64 count)
{
    if (count <= 0 || off < 0 || off >= buf.size())
        return QString();
    count = qMin<qint64>(qMin<qint64>(count, SongDataReader::TextSize), buf.size() - off);
    const char *p = buf.constData() + off;
    return QString::fromUtf8(p, int(qstrnlen(p, uint(count))));
}

quint32 bigEndian32(const uchar *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

// Offset of the first byte `value` in [from, end) of `d`, or -1.
qint64 findByte(const uchar *d, qint64 from, qint64 end, uchar value)
{
    if (from >= end)
        return -1;
    const void *hit = std::memchr(d + from, value, size_t(end - from));
    return hit ? static_cast<const uchar *>(hit) - d : -1;
}
}

int SongDataReader::parse(const QByteArray &head, const QString &fileName, SongInfoIndex &entry)
{
    entry.title = fileName;
    entry.artist = Unknown;
    entry.genre = Unknown;
    entry.type = 0;
    entry.bpm = 0;
    entry.hasMarkers = 0;
    if (head.size() < 5)
        return 0;

    const QString ext = fileName.mid(fileName.lastIndexOf(QLatin1Char('.')) + 1);
    if (ext.compare(QLatin1String("MP3"), Qt::CaseInsensitive) == 0)
        readMp3(head, entry);
    else if (head.startsWith("_MF3") || head.startsWith("_MF4") || head.startsWith("_MF5"))
        readMfx(head, fileName, entry);
    else if (head.startsWith("MThd"))
        readMidi(head, fileName, entry);
    else
        entry.bpm = 120;

    entry.title = stringToUpper(entry.title.trimmed());
    entry.artist = stringToUpper(entry.artist.trimmed());
    entry.genre = stringToUpper(entry.genre.trimmed());
    return 1;
}

void SongDataReader::applyDefaults(const QString &fileName, SongInfoIndex &entry)
{
    entry.title = entry.title.trimmed();
    entry.artist = entry.artist.trimmed();
    entry.genre = entry.genre.trimmed();
    if (entry.title.isEmpty())
        entry.title = fileName;
    if (entry.artist.isEmpty())
        entry.artist = Unknown;
    if (entry.genre.isEmpty())
        entry.genre = Unknown;
}

// Only the TIT2, TPE1 and TCON frames starting within the first 512 bytes are
// looked at; the frame size is taken as a plain big-endian number.
void SongDataReader::readMp3(const QByteArray &buf, SongInfoIndex &entry)
{
    entry.type = SongInfoIndex::TypeMp3;
    if (!buf.startsWith("ID3"))
        return;
    const uchar *d = reinterpret_cast<const uchar *>(buf.constData());
    const qint64 n = buf.size();
    static const char *const frameIds[3] = {"TIT2", "TPE1", "TCON"};
    QString *const fields[3] = {&entry.title, &entry.artist, &entry.genre};
    bool found[3] = {false, false, false};

    qint64 pos = 0;
    while (pos < n && !(found[0] && found[1] && found[2])) {
        const qint64 i = findByte(d, pos, qMin<qint64>(n, 512), 'T');
        if (i < 0)
            break;
        pos = i + 10;
        if (pos >= n)
            break;
        int which = -1;
        for (int f = 0; f < 3 && which < 0; ++f) {
            if (!found[f] && std::memcmp(d + i, frameIds[f], 4) == 0)
                which = f;
        }
        if (which < 0) {
            pos = i + 1;
            continue;
        }
        const quint32 size = bigEndian32(d + i + 4);
        pos += size;
        if (pos >= n)
            break;
        // After the 10-byte frame header and the text encoding byte.
        *fields[which] = textAt(buf, i + 11, qint64(size) - 1);
        found[which] = true;
    }
}

void SongDataReader::readMfx(const QByteArray &buf, const QString &fileName, SongInfoIndex &entry)
{
    entry.type = buf.startsWith("_MF3") ? SongInfoIndex::TypeMf3
               : buf.startsWith("_MF4") ? SongInfoIndex::TypeMf4
                                        : SongInfoIndex::TypeMf5;
    const int n = buf.size();
    entry.bpm = n > 38 ? quint8(buf.at(38)) : 0;
    entry.title = textAt(buf, 138, TextSize);
    entry.hasMarkers = (n > 201 && buf.at(201) == 1) ? 1 : 0;
    entry.artist = textAt(buf, 234, TextSize);
    entry.genre = textAt(buf, 266, TextSize);
    applyDefaults(fileName, entry);
}

// Meta-events of the first track: set tempo, marker, the maker's tag event
// (artist, genre), track name, copyright and the karaoke "@T" title text;
// then, when no artist was found, the system-exclusive second text line.
void SongDataReader::readMidi(const QByteArray &buf, const QString &fileName, SongInfoIndex &entry)
{
    entry.type = SongInfoIndex::TypeMidi;
    const uchar *d = reinterpret_cast<const uchar *>(buf.constData());
    const qint64 n = buf.size();
    bool titleFound = false, artistFound = false, genreFound = false, markersFound = false;

    qint64 pos = 22;  // after the header chunk and the first track chunk's header
    while (pos < n) {
        const qint64 i = findByte(d, pos, n, 0xFF);
        if (i < 0)
            break;
        pos = i + 1;
        if (pos >= n || d[i - 1] > 0x80)
            break;
        const uchar t = d[i + 1];
        const qint64 len = i + 2 < n ? d[i + 2] : 0;

        if (t == 0x51 && entry.bpm == 0) {
            if (!(i + 5 < n))
                break;
            const quint32 tempo = quint32(d[i + 3]) << 16 | quint32(d[i + 4]) << 8 | d[i + 5];
            if (tempo != 0)
                entry.bpm = quint8(60000000u / tempo);
            pos = i + len + 3;
        } else if (t == 0x06 && !markersFound) {
            if (!(i + 2 < n))
                break;
            entry.hasMarkers = 1;
            markersFound = true;
            pos = i + len + 3;
        } else if (t == 0x4B) {
            if (!(i + 3 < n && i + 2 + len < n))
                break;
            pos = i + len + 3;
            if (!artistFound && d[i + 3] == 2) {
                entry.artist = textAt(buf, i + 4, len - 1);
                artistFound = true;
            } else if (!genreFound && d[i + 3] == 1) {
                entry.genre = textAt(buf, i + 4, len - 1);
                genreFound = true;
            }
        } else if (!titleFound && (t == 0x03 || t == 0x02)) {
            if (!(i + 2 < n && i + 2 + len < n))
                break;
            if (t == 0x03) {
                entry.title = textAt(buf, i + 3, len);
                titleFound = true;
            }
            pos = i + len + 3;
        } else if (!titleFound && t == 0x01) {
            if (!(i + 4 < n && i + len + 2 < n))
                break;
            pos = i + len + 3;
            if (d[i + 3] == '@' && d[i + 4] == 'T') {
                entry.title = textAt(buf, i + 5, len > 58 ? 56 : len - 2);
                titleFound = true;
            }
        }
        if (titleFound && artistFound && genreFound && markersFound)
            break;
    }

    if (!artistFound) {
        static const uchar secondTxtLine[5] = {0x00, 0x20, 0x24, 0x00, 0x05};
        qint64 from = 22;
        for (;;) {
            const qint64 i = findByte(d, from, n, 0xF0);
            if (i < 0 || i + 6 >= n)
                break;
            if (std::memcmp(d + i + 2, secondTxtLine, 5) != 0) {
                from = i + 1;
                continue;
            }
            const qint64 L = d[i + 1];
            if (i + 1 + L >= n)
                break;
            qint64 count = L - 7;
            if (count > TextSize || L < 7)
                count = TextSize;
            if (count == 0)
                break;
            // Copied into a zero-filled area; the last byte copied is dropped.
            QByteArray area(TextSize + 1, '\0');
            const qint64 avail = qBound<qint64>(0, n - (i + 7), count);
            std::memcpy(area.data(), d + i + 7, size_t(avail));
            area[int(count - 1)] = '\0';
            const QString text = QString::fromUtf8(area.constData());
            if (text.startsWith(QLatin1Char('('))) {
                QString name = text.mid(1).trimmed();
                if (name.endsWith(QLatin1Char(')')))
                    name.chop(1);
                entry.artist = name;
            }
            break;
        }
    }
    applyDefaults(fileName, entry);
}
