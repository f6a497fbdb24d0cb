#include "songfiles/mfxheader.h"
#include "songfiles/textcodec.h"

#include <QDebug>

namespace {

// Field offsets from the start of the file; numbers are little-endian.
constexpr int SizeOffset = 4;       // 4 bytes
constexpr int OrigSizeOffset = 12;  // 4 bytes
constexpr int TempoOffset = 38;     // 2 bytes
constexpr int LongNameOffset = 42;  // 13 bytes
constexpr int CopyrightOffset = 90; // 20 bytes
constexpr int TitleOffset = 122;    // 32 bytes
constexpr int EditorOffset = 154;   // 31 bytes
constexpr int FlagsOffset = 185;    // 1 byte
constexpr int AuthorOffset = 186;   // 32 bytes
constexpr int ArtistOffset = 218;   // 32 bytes
constexpr int GenreOffset = 250;    // 32 bytes

constexpr int LongNameSize = 13;
constexpr int CopyrightSize = 20;
constexpr int EditorSize = 31;
constexpr int TextSize = 32; // title, author, artist, genre

} // namespace

int MfxHeader::headerSize(SongInfo::fileTypeEnum type)
{
    switch (type) {
    case SongInfo::TypeMf3:
    case SongInfo::TypeMf4:
        return Mf3HeaderSize;
    case SongInfo::TypeMf5:
        return Mf5HeaderSize;
    default:
        return 0;
    }
}

bool MfxHeader::loadHeader(const QByteArray& data)
{
    m_header.clear();

    const QByteArray magic = data.left(4);
    SongInfo::fileTypeEnum type;
    if (magic == "_MF3") {
        type = SongInfo::TypeMf3;
    } else if (magic == "_MF4") {
        type = SongInfo::TypeMf4;
    } else if (magic == "_MF5") {
        type = SongInfo::TypeMf5;
    } else {
        m_fileType = SongInfo::TypeUnknown;
        qDebug() << "[MfxHeader::loadHeader] unknown magic" << magic.toHex();
        return false;
    }
    if (data.size() < headerSize(type)) {
        qDebug() << "[MfxHeader::loadHeader] header too short:" << data.size() << "bytes";
        return false;
    }
    m_fileType = type;
    m_header = data;
    return true;
}

// Bytes up to the first zero, without surrounding white space: UTF-8 when they
// are valid UTF-8 (what this program writes), otherwise Latin-1.
QString MfxHeader::text(int offset, int size) const
{
    if (m_header.size() < offset + size)
        return QString();
    const char* field = m_header.constData() + offset;
    int len = 0;
    while (len < size && field[len] != '\0')
        ++len;
    return TextCodec::decodeUtf8OrLatin1(QByteArray(field, len)).trimmed();
}

QString MfxHeader::copyright() const { return text(CopyrightOffset, CopyrightSize); }
QString MfxHeader::title() const { return text(TitleOffset, TextSize); }
QString MfxHeader::editor() const { return text(EditorOffset, EditorSize); }
QString MfxHeader::author() const { return text(AuthorOffset, TextSize); }
QString MfxHeader::artist() const { return text(ArtistOffset, TextSize); }
QString MfxHeader::genre() const { return text(GenreOffset, TextSize); }
QString MfxHeader::longName() const { return text(LongNameOffset, LongNameSize); }

int MfxHeader::flags() const
{
    if (m_header.size() <= FlagsOffset)
        return 0;
    return qint8(m_header.at(FlagsOffset));
}

int MfxHeader::tempo() const
{
    if (m_header.size() < TempoOffset + 2)
        return 0;
    return quint8(m_header.at(TempoOffset)) | (quint8(m_header.at(TempoOffset + 1)) << 8);
}

bool MfxHeader::hasValidTempo() const
{
    const int t = tempo();
    return t > 0 && t < 500;
}

bool MfxHeader::writable(const char* origin, int offset, int size) const
{
    if (m_header.size() >= offset + size)
        return true;
    qDebug().noquote() << QStringLiteral("[MfxHeader::%1]").arg(QLatin1String(origin)) << "no header loaded";
    return false;
}

void MfxHeader::putLE(int offset, quint32 value, int bytes)
{
    char* p = m_header.data() + offset;
    for (int i = 0; i < bytes; ++i)
        p[i] = char((value >> (8 * i)) & 0xff);
}

// The text's first 32 characters as UTF-8, padded with zero bytes to exactly
// 32 bytes. When the encoded form is longer it is cut at the last whole
// character that fits, so no partial UTF-8 sequence is ever written.
void MfxHeader::setText(const char* origin, int offset, const QString& value)
{
    if (!writable(origin, offset, TextSize))
        return;
    int chars = qMin(value.size(), TextSize);
    if (chars == TextSize && value.at(chars - 1).isHighSurrogate())
        --chars; // do not split a surrogate pair
    QByteArray bytes = value.left(chars).toUtf8();
    if (bytes.size() > TextSize) {
        int cut = TextSize;
        while (cut > 0 && (quint8(bytes.at(cut)) & 0xc0) == 0x80)
            --cut; // back to the lead byte of the character that does not fit
        bytes.truncate(cut);
    }
    bytes.append(QByteArray(TextSize - bytes.size(), '\0'));
    m_header.replace(offset, TextSize, bytes);
}

void MfxHeader::setTitle(const QString& title) { setText("setTitle", TitleOffset, title); }
void MfxHeader::setAuthor(const QString& author) { setText("setAuthor", AuthorOffset, author); }
void MfxHeader::setArtist(const QString& artist) { setText("setArtist", ArtistOffset, artist); }
void MfxHeader::setGenre(const QString& genre) { setText("setGenre", GenreOffset, genre); }

void MfxHeader::setSize(unsigned int size)
{
    if (writable("setSize", SizeOffset, 4))
        putLE(SizeOffset, size, 4);
}

void MfxHeader::setOrigSize(unsigned int origSize)
{
    if (writable("setOrigSize", OrigSizeOffset, 4))
        putLE(OrigSizeOffset, origSize, 4);
}

void MfxHeader::setTempo(int tempo)
{
    if (writable("setTempo", TempoOffset, 2))
        putLE(TempoOffset, quint32(tempo) & 0xffff, 2);
}

void MfxHeader::setFlag(FlagsEnum flag)
{
    if (writable("setFlag", FlagsOffset, 1))
        m_header[FlagsOffset] = char(quint8(m_header.at(FlagsOffset)) | quint8(flag));
}
