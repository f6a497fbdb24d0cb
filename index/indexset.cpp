#include "index/indexset.h"

#include "index/songdatareader.h"

#include <QDebug>
#include <QFile>
#include <QVector>

#include <cstring>

const char *const IndexSet::fileNames[FileCount] = {"index.id3",  "ordfile.id3", "title.id3",  "atitle.id3",
                                                    "artist.id3", "aartist.id3", "fsinfos.id3"};

namespace {
const int PathRecordSize = 270;
const int SongRecordSize = 64;
const int PathFieldSize = 252;
const int LetterTableSize = 256;
const int NumFileSize = 12;
const quint32 NoSlot = 0xFFFFFFFFu;
const qint64 MaxFileSize = qint64(1) << 29;  // far beyond any memory's songs

quint32 bigEndian32(const char *p)
{
    const uchar *u = reinterpret_cast<const uchar *>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | u[3];
}

quint32 bigEndian16(const char *p)
{
    return quint32(uchar(p[0])) << 8 | uchar(p[1]);
}

quint32 littleEndian16(const char *p)
{
    return quint32(uchar(p[1])) << 8 | uchar(p[0]);
}

// A text field: up to the first zero byte, ISO 8859-1 as written.
QString latin1Field(const char *p, int width)
{
    return QString::fromLatin1(p, int(qstrnlen(p, uint(width))));
}

quint32 digits(const char *p, int count)
{
    bool ok = false;
    const uint v = QByteArray::fromRawData(p, count).toUInt(&ok);
    return ok ? v : 0;
}

bool isHeader(const char *rec)
{
    return rec[62] == 0 && uchar(rec[63]) == 0xFF;
}

// Whether two stored path keys may be in this order. A "?" stands for a
// character outside Latin-1 whose upper case the stored bytes no longer tell
// (it may even be a letter, as for "ı"), so from there on either order is
// right; before it the bytes are those the writer ordered by.
bool inPathOrder(const QByteArray &a, const QByteArray &b)
{
    const int n = qMin(a.size(), b.size());
    for (int k = 0; k < n; ++k) {
        if (a[k] == '?' || b[k] == '?')
            return true;
        if (a[k] != b[k])
            return uchar(a[k]) < uchar(b[k]);
    }
    return a.size() <= b.size();
}

// Whether a first-letter table fits the records it points into: `starts`
// holds each record's offset and the first byte of its text, in file order.
// A text starting with "?" began with a character outside Latin-1 (or "?"),
// which may have taken any slot not taken before it.
bool lettersAgree(const QByteArray &table, const QVector<QPair<quint32, uchar>> &starts)
{
    quint32 first[64];
    std::fill(first, first + 64, NoSlot);
    QVector<quint32> unknown;
    for (const auto &start : starts) {
        if (start.second == '?') {
            unknown.append(start.first);
            continue;
        }
        const ushort c = QChar(ushort(start.second)).toUpper().unicode();
        if (start.second != 0 && c >= 0x20 && c <= 0x5F && first[c - 0x20] == NoSlot)
            first[c - 0x20] = start.first;
    }
    for (int slot = 0; slot < 64; ++slot) {
        const quint32 v = bigEndian32(table.constData() + 4 * slot);
        if (v != first[slot] && !(v < first[slot] && std::binary_search(unknown.begin(), unknown.end(), v)))
            return false;
    }
    return true;
}
}

int IndexSet::fileOf(const QString &name)
{
    for (int k = 0; k < FileCount; ++k) {
        if (name == QLatin1String(fileNames[k]))
            return k;
    }
    return -1;
}

bool IndexSet::read(const QStringList &paths, QString &reason)
{
    for (int k = 0; k < FileCount; ++k) {
        QFile file(paths.value(k));
        if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize) {
            qDebug() << "[IndexSet::read] cannot read" << file.fileName() << file.errorString();
            reason = tr("%1 non può essere letto").arg(QLatin1String(fileNames[k]));
            return false;
        }
        files[k] = file.readAll();
        if (file.error() != QFileDevice::NoError || files[k].size() != file.size()) {
            qDebug() << "[IndexSet::read] cannot read" << file.fileName() << file.errorString();
            reason = tr("%1 non può essere letto").arg(QLatin1String(fileNames[k]));
            return false;
        }
    }
    return true;
}

bool IndexSet::decode(const QString &root, QList<SongInfoIndex> &songs, QString &reason) const
{
    songs.clear();
    const auto refuse = [&reason](int file, const QString &why, const char *log) {
        qDebug() << "[IndexSet::decode] damaged" << fileNames[file] << log;
        reason = why;
        return false;
    };
    const QString pathName = QLatin1String(fileNames[PathFile]);
    const QString ordName = QLatin1String(fileNames[OrdFile]);
    const QString titleName = QLatin1String(fileNames[TitleFile]);
    const QString artistName = QLatin1String(fileNames[ArtistFile]);
    const QString numName = QLatin1String(fileNames[NumFile]);

    // "index.id3": record k is song number k.
    const QByteArray &paths = files[PathFile];
    if (paths.size() % PathRecordSize != 0)
        return refuse(PathFile, tr("%1 ha un record incompleto").arg(pathName), "short record");
    const int n = paths.size() / PathRecordSize;
    QList<SongInfoIndex> list;
    list.reserve(n);
    QVector<QByteArray> keys(n);
    for (int k = 0; k < n; ++k) {
        const char *p = paths.constData() + qint64(k) * PathRecordSize;
        const uint length = qstrnlen(p + 4, PathFieldSize);
        if (bigEndian32(p) != quint32(k) || length == uint(PathFieldSize) || p[4] != '/')
            return refuse(PathFile, tr("%1 ha un record non valido (n. %2)").arg(pathName).arg(k),
                          "record number, path terminator or leading \"/\"");
        SongInfoIndex entry;
        entry.id = entry.posidx = quint32(k);
        entry.path = QString::fromLatin1(p + 4, int(length));
        entry.absPath = root + entry.path;
        entry.date = digits(p + 256, 4) * 10000 + digits(p + 260, 2) * 100 + digits(p + 262, 2);
        entry.time = digits(p + 264, 2) * 10000 + digits(p + 266, 2) * 100 + digits(p + 268, 2);
        keys[k] = pathKey(entry.path);
        list.append(entry);
    }

    // "ordfile.id3": every record number once (its low 16 bits), in path order.
    const QByteArray &ord = files[OrdFile];
    if (ord.size() != 2 * n)
        return refuse(OrdFile, tr("%1 non elenca ogni song una volta sola").arg(ordName), "size");
    QVector<int> seen(qMin(n, 65536), 0);
    for (int k = 0; k < n; ++k)
        ++seen[k & 0xFFFF];
    for (int at = 0; at < n; ++at) {
        const quint32 v = littleEndian16(ord.constData() + 2 * at);
        if (int(v) >= seen.size() || --seen[int(v)] < 0)
            return refuse(OrdFile, tr("%1 non elenca ogni song una volta sola").arg(ordName), "not a permutation");
        // Above 65,536 songs the cut numbers no longer tell which record is meant.
        if (n <= 65536 && at > 0 && !inPathOrder(keys[littleEndian16(ord.constData() + 2 * at - 2)], keys[v]))
            return refuse(OrdFile, tr("%1 non è nell'ordine dei percorsi").arg(ordName), "order");
    }

    // "title.id3": every song once, with its texts and flags.
    const QByteArray &titles = files[TitleFile];
    if (titles.size() % SongRecordSize != 0)
        return refuse(TitleFile, tr("%1 ha un record incompleto").arg(titleName), "short record");
    QVector<int> titleRecord(n, -1);
    QVector<QPair<quint32, uchar>> titleStarts;
    titleStarts.reserve(titles.size() / SongRecordSize);
    for (int r = 0; r < titles.size() / SongRecordSize; ++r) {
        const char *p = titles.constData() + qint64(r) * SongRecordSize;
        const quint32 id = bigEndian32(p);
        if (id >= quint32(n))
            return refuse(TitleFile, tr("%1 nomina la song %2, che non esiste").arg(titleName).arg(id),
                          "unknown number");
        if (titleRecord[int(id)] >= 0)
            return refuse(TitleFile, tr("%1 elenca la song %2 più di una volta").arg(titleName).arg(id), "twice");
        if (uchar(p[63]) & 0xF0)
            return refuse(TitleFile, tr("%1 ha un record non valido (n. %2)").arg(titleName).arg(r), "flags");
        titleRecord[int(id)] = r;
        titleStarts.append(qMakePair(quint32(r) * SongRecordSize, uchar(p[4])));
        SongInfoIndex &entry = list[int(id)];
        entry.title = stringToUpper(latin1Field(p + 4, SongDataReader::TextSize)).trimmed();
        entry.bpm = quint8(p[62]);
        entry.type = quint8(p[63]) & 0x07;
        entry.hasMarkers = (quint8(p[63]) >> 3) & 0x01;
    }
    if (titles.size() / SongRecordSize != n)
        return refuse(TitleFile, tr("%1 non elenca ogni song una volta sola").arg(titleName), "missing songs");

    // "artist.id3": groups under headers, each song once and as in "title.id3".
    const QByteArray &artists = files[ArtistFile];
    if (artists.size() % SongRecordSize != 0)
        return refuse(ArtistFile, tr("%1 ha un record incompleto").arg(artistName), "short record");
    QVector<bool> inArtists(n, false);
    QVector<QPair<quint32, uchar>> artistStarts;
    int songsListed = 0;
    int groups = 0;
    int inGroup = 0;          // songs since the last header (or since the start)
    quint32 groupCount = 0;   // song count the last header gives
    QString artist;
    const auto countsAgree = [&]() { return groups == 0 || (inGroup > 0 && quint32(inGroup & 0xFFFF) == groupCount); };
    for (int r = 0; r < artists.size() / SongRecordSize; ++r) {
        const char *p = artists.constData() + qint64(r) * SongRecordSize;
        if (isHeader(p)) {
            // The first header's count of the group before it is that of the
            // leading songs without an artist, which have no header.
            const quint32 previous = bigEndian16(p);
            if (!countsAgree() || (previous != quint32(inGroup & 0xFFFF) && !(groups == 0 && previous == 0)))
                return refuse(ArtistFile, tr("%1 ha conteggi errati").arg(artistName), "group counts");
            groupCount = bigEndian16(p + 2);
            inGroup = 0;
            ++groups;
            artist = stringToUpper(latin1Field(p + 4, SongDataReader::TextSize)).trimmed();
            artistStarts.append(qMakePair(quint32(r) * SongRecordSize, uchar(p[4])));
            continue;
        }
        const quint32 id = bigEndian32(p);
        if (id >= quint32(n))
            return refuse(ArtistFile, tr("%1 nomina la song %2, che non esiste").arg(artistName).arg(id),
                          "unknown number");
        if (inArtists[int(id)])
            return refuse(ArtistFile, tr("%1 elenca la song %2 più di una volta").arg(artistName).arg(id), "twice");
        if (std::memcmp(p, titles.constData() + qint64(titleRecord[int(id)]) * SongRecordSize, SongRecordSize) != 0)
            return refuse(ArtistFile, tr("%1 non concorda con %2 (song %3)").arg(artistName, titleName).arg(id),
                          "record differs from title.id3");
        inArtists[int(id)] = true;
        ++songsListed;
        ++inGroup;
        list[int(id)].artist = artist;
    }
    if (!countsAgree())
        return refuse(ArtistFile, tr("%1 ha conteggi errati").arg(artistName), "last group count");
    if (songsListed != n)
        return refuse(ArtistFile, tr("%1 non elenca ogni song una volta sola").arg(artistName), "missing songs");

    // The first-letter tables and the totals.
    if (files[TitleLettersFile].size() != LetterTableSize || !lettersAgree(files[TitleLettersFile], titleStarts))
        return refuse(TitleLettersFile,
                      tr("%1 ha una tabella delle iniziali errata").arg(QLatin1String(fileNames[TitleLettersFile])),
                      "letter table");
    if (files[ArtistLettersFile].size() != LetterTableSize || !lettersAgree(files[ArtistLettersFile], artistStarts))
        return refuse(ArtistLettersFile,
                      tr("%1 ha una tabella delle iniziali errata").arg(QLatin1String(fileNames[ArtistLettersFile])),
                      "letter table");
    const QByteArray &num = files[NumFile];
    if (num.size() != NumFileSize || littleEndian16(num.constData()) != quint32(n & 0xFFFF)
        || littleEndian16(num.constData() + 2) != quint32(groups & 0xFFFF))
        return refuse(NumFile, tr("%1 ha conteggi errati").arg(numName), "totals");

    songs.swap(list);
    return true;
}
