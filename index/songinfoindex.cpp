#include "index/songinfoindex.h"

QString stringToUpper(const QString &s)
{
    return s.toUpper();
}

// toLatin1 and the ISO 8859-1 codec agree: "?" for anything outside Latin-1.
QByteArray pathKey(const QString &path)
{
    return stringToUpper(path).toLatin1();
}

QString foldKey(const QString &text)
{
    QString folded(text.size(), Qt::Uninitialized);
    const ushort *from = text.utf16();
    ushort *to = reinterpret_cast<ushort *>(folded.data());
    const int n = text.size();
    for (int k = 0; k < n; ++k) {
        const ushort c = from[k];
        if (c < 0x80) {  // ASCII: the usual case
            to[k] = c >= 'A' && c <= 'Z' ? ushort(c + 0x20) : c;
        } else if (QChar::isHighSurrogate(c) && k + 1 < n && QChar::isLowSurrogate(from[k + 1])) {
            const uint f = QChar::toCaseFolded(QChar::surrogateToUcs4(c, from[k + 1]));
            to[k] = QChar::highSurrogate(f);
            to[++k] = QChar::lowSurrogate(f);
        } else {
            to[k] = QChar::toCaseFolded(c);
        }
    }
    return folded;
}

namespace {
int compareTexts(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}
}

bool compareTitle(const SongInfoIndex &a, const SongInfoIndex &b)
{
    return compareTexts(a.title, b.title) < 0;
}

bool compareArtist(const SongInfoIndex &a, const SongInfoIndex &b)
{
    const int c = compareTexts(a.artist, b.artist);
    return c != 0 ? c < 0 : compareTitle(a, b);
}

bool compareGenre(const SongInfoIndex &a, const SongInfoIndex &b)
{
    const int c = compareTexts(a.genre, b.genre);
    return c != 0 ? c < 0 : compareTitle(a, b);
}

SongInfoIndexLess compareForSortMode(int mode)
{
    switch (mode) {
    case SortArtist:
        return compareArtist;
    case SortGenre:
        return compareGenre;
    default:
        return compareTitle;
    }
}
