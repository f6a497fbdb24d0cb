#include "songfiles/id3v22converter.h"

#include "songfiles/id3bytes.h"

#include <QDebug>

using namespace Id3Bytes;

namespace {

const int TagHeaderSize = 10;
const int FrameHeaderSize = 6; // id (3), size (3, big-endian)

// The v2.2 frames and their v2.3 counterparts, the iTunes sort and
// compilation frames included. CRM (encrypted meta frame) has none.
const char* const kFrameIds[][2] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
    {"EQU", "EQUA"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"LNK", "LINK"}, {"MCI", "MCDI"},
    {"MLL", "MLLT"}, {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"},
    {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"},
    {"TCO", "TCON"}, {"TCP", "TCMP"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"},
    {"TEN", "TENC"}, {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"},
    {"TLE", "TLEN"}, {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"},
    {"TOR", "TORY"}, {"TOT", "TOAL"}, {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"},
    {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"},
    {"TRK", "TRCK"}, {"TS2", "TSO2"}, {"TSA", "TSOA"}, {"TSC", "TSOC"}, {"TSI", "TSIZ"},
    {"TSP", "TSOP"}, {"TSS", "TSSE"}, {"TST", "TSOT"}, {"TT1", "TIT1"}, {"TT2", "TIT2"},
    {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"},
    {"ULT", "USLT"}, {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"},
    {"WCP", "WCOP"}, {"WPB", "WPUB"}, {"WXX", "WXXX"},
};

// A v2.2 picture names its image format in three letters where v2.3 has a
// MIME type: encoding, format, picture type, description, data.
bool convertPicture(QByteArray& content)
{
    if (content.size() < 5)
        return false;
    const QByteArray format = content.mid(1, 3).toUpper();
    QByteArray mime;
    if (format == "JPG")
        mime = "image/jpeg";
    else if (format == "-->")
        mime = "-->"; // the data is a link to the picture
    else
        mime = "image/" + format.trimmed().replace('\0', "").toLower();
    content.replace(1, 3, mime + '\0');
    return true;
}

// The v2.3 id of a v2.2 frame id, or an empty array when there is none.
QByteArray frameId(const QByteArray& id22)
{
    for (const auto& ids : kFrameIds)
        if (id22 == ids[0])
            return QByteArray(ids[1]);
    return QByteArray();
}

} // namespace

QByteArray Id3v22Converter::toV23(const QByteArray& tag)
{
    if (tag.size() < TagHeaderSize)
        return QByteArray();
    const int end = tag.size();
    QByteArray body;
    int pos = TagHeaderSize;
    while (end - pos >= FrameHeaderSize && tag[pos] != '\0') {
        const QByteArray id = tag.mid(pos, 3);
        if (!isFrameIdChar(id[0]) || !isFrameIdChar(id[1]) || !isFrameIdChar(id[2]))
            return QByteArray();
        const int size = (uchar(tag[pos + 3]) << 16) | (uchar(tag[pos + 4]) << 8) | uchar(tag[pos + 5]);
        if (size > end - pos - FrameHeaderSize)
            return QByteArray();
        QByteArray content = tag.mid(pos + FrameHeaderSize, size);
        pos += FrameHeaderSize + size;

        QByteArray id23 = frameId(id);
        bool kept = !id23.isEmpty();
        if (kept && id == "PIC") {
            kept = convertPicture(content);
        } else if (kept && id == "LNK") {
            // A link names the linked frame by its id, which grows too.
            const QByteArray linked = frameId(content.left(3));
            kept = !linked.isEmpty();
            if (kept)
                content.replace(0, 3, linked);
        }
        if (!kept) {
            qDebug() << "[Id3v22Converter::toV23] frame" << id << "has no ID3v2.3 counterpart, dropped";
            continue;
        }
        body += id23 + sizeBytes(quint32(content.size()), false) + QByteArray(2, '\0') + content;
    }
    // Padding (or nothing) from here on: kept as padding.
    body += QByteArray(end - pos, '\0');
    if (body.size() > 0x0FFFFFFF) // beyond what a tag's size field holds
        return QByteArray();
    return QByteArray("ID3\x03\x00\x00", 6) + sizeBytes(quint32(body.size()), true) + body;
}
