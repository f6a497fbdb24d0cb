#include "index/index.h"

#include "index/songdatareader.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
const int PathRecordSize = 270;
const int SongRecordSize = 64;
const int PathFieldOffset = 4;
const int PathFieldSize = 252;
const int StampOffset = 256;
const int MaxRelativePath = 252;  // width of the path field, terminator included
const int PlayerSongLimit = 65535;

quint32 bigEndian32(const char *p)
{
    const uchar *u = reinterpret_cast<const uchar *>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | u[3];
}

// A text field of an index file: up to the first zero byte, ISO 8859-1 as written.
QString latin1Field(const char *p, int width)
{
    return QString::fromLatin1(p, int(qstrnlen(p, uint(width))));
}

quint32 digits(const QByteArray &stamp, int from, int count)
{
    bool ok = false;
    const uint v = stamp.mid(from, count).toUInt(&ok);
    return ok ? v : 0;
}
}

Index::Index(QObject *parent)
    : QObject(parent)
{
    std::memset(alphaBuffer, 0xFF, sizeof alphaBuffer);
}

void Index::setRoot(const QString &path)
{
    root = path;
    if (root.endsWith(QLatin1Char('/')) || root.endsWith(QLatin1Char('\\')))
        root.chop(1);
}

QString Index::rootFile(const QString &fileName) const
{
    return root + QLatin1Char('/') + fileName;
}

void Index::modificationStamp(const QFileInfo &file, quint32 &date, quint32 &time)
{
    const QDateTime stamp = file.lastModified();
    const QDate d = stamp.date();
    const QTime t = stamp.time();
    date = quint32(d.year() * 10000 + d.month() * 100 + d.day());
    time = quint32(t.hour() * 10000 + t.minute() * 100 + t.second());
}

bool Index::createIndex(QString root)
{
    setRoot(root);
    filesFound = titleCount = artistCount = 0;
    genreCount = title3Count = artist3Count = genre3Count = 0;
    maxId = -1;
    nextId = nextPosidx = 0;
    songs.clear();
    deleteIndex();
    createPathIndex();
    return checkIndexFile();
}

bool Index::updateIndex(QString root)
{
    setRoot(root);
    if (!checkIndexFile())
        return createIndex(root);
    maxId = nextId = nextPosidx = 0;
    filesFound = titleCount = artistCount = 0;
    genreCount = title3Count = artist3Count = genre3Count = 0;
    if (loadAllIndexFile() < 0)
        return false;
    nextId = maxId + 1;
    createPathIndex();
    return checkIndexFile();
}

bool Index::checkIndexFile()
{
    for (const QString &name : {ordFile, indexFile, titleFile, artistFile, aTitleFile, aArtistFile, numFile}) {
        if (!QFile::exists(rootFile(name)))
            return false;
    }
    return true;
}

void Index::deleteIndex()
{
    qDebug() << "[Index::deleteIndex] delete index";
    for (const QString &name : {indexFile, ordFile, titleFile, artistFile, genreFile, aTitleFile,
                                aArtistFile, aGenreFile, title3File, artist3File, genre3File,
                                aTitle3File, aArtist3File, aGenre3File, numFile, temp1File, temp2File})
        QFile::remove(rootFile(name));
}

// Loads the songs of "index.id3" with the titles, flags and artists of
// "title.id3" and "artist.id3". Any damage (short record, song numbers out of
// order, an unknown song number, a path without terminator) fails the load.
int Index::loadAllIndexFile()
{
    songs.clear();
    nextPosidx = 0;

    QFile paths(rootFile(indexFile));
    if (!paths.open(QIODevice::ReadOnly)) {
        qDebug() << "[Index::loadAllIndexFile] cannot open" << paths.fileName();
        return -1;
    }
    quint32 lastId = 0;
    while (!paths.atEnd()) {
        const QByteArray rec = paths.read(PathRecordSize);
        if (rec.size() != PathRecordSize) {
            qDebug() << "[Index::loadAllIndexFile] short record in" << paths.fileName();
            return -1;
        }
        const char *p = rec.constData();
        SongInfoIndex entry;
        entry.id = bigEndian32(p);
        if (entry.id >= quint32(INT_MAX) || (!songs.isEmpty() && entry.id <= lastId)
            || qstrnlen(p + PathFieldOffset, PathFieldSize) == uint(PathFieldSize)) {
            qDebug() << "[Index::loadAllIndexFile] damaged record" << songs.size() << "in" << paths.fileName();
            return -1;
        }
        lastId = entry.id;
        entry.path = latin1Field(p + PathFieldOffset, PathFieldSize);
        entry.absPath = root + entry.path;
        const QByteArray stamp = rec.mid(StampOffset, 14);
        entry.date = digits(stamp, 0, 4) * 10000 + digits(stamp, 4, 2) * 100 + digits(stamp, 6, 2);
        entry.time = digits(stamp, 8, 2) * 10000 + digits(stamp, 10, 2) * 100 + digits(stamp, 12, 2);
        entry.posidx = quint32(nextPosidx++);
        songs.append(entry);
    }
    maxId = songs.isEmpty() ? 0 : int(lastId);

    QFile titles(rootFile(titleFile));
    if (!titles.open(QIODevice::ReadOnly)) {
        qDebug() << "[Index::loadAllIndexFile] cannot open" << titles.fileName();
        return -1;
    }
    while (!titles.atEnd()) {
        const QByteArray rec = titles.read(SongRecordSize);
        const int at = rec.size() == SongRecordSize ? findById(songs, bigEndian32(rec.constData())) : -1;
        if (at < 0) {
            qDebug() << "[Index::loadAllIndexFile] damaged record in" << titles.fileName();
            return -1;
        }
        SongInfoIndex &entry = songs[at];
        entry.title = stringToUpper(latin1Field(rec.constData() + 4, SongDataReader::TextSize)).trimmed();
        entry.bpm = quint8(rec.at(62));
        entry.type = quint8(rec.at(63)) & 0x07;
        entry.hasMarkers = (quint8(rec.at(63)) >> 3) & 0x01;
    }

    QFile artists(rootFile(artistFile));
    if (!artists.open(QIODevice::ReadOnly)) {
        qDebug() << "[Index::loadAllIndexFile] cannot open" << artists.fileName();
        return -1;
    }
    QString currentArtist;
    while (!artists.atEnd()) {
        const QByteArray rec = artists.read(SongRecordSize);
        if (rec.size() != SongRecordSize) {
            qDebug() << "[Index::loadAllIndexFile] short record in" << artists.fileName();
            return -1;
        }
        if (rec.at(62) == 0x00 && quint8(rec.at(63)) == 0xFF) {
            currentArtist = latin1Field(rec.constData() + 4, SongDataReader::TextSize);
            continue;
        }
        const int at = findById(songs, bigEndian32(rec.constData()));
        if (at < 0) {
            qDebug() << "[Index::loadAllIndexFile] unknown song number in" << artists.fileName();
            return -1;
        }
        songs[at].artist = stringToUpper(currentArtist).trimmed();
    }
    return 0;
}

void Index::createPathIndex()
{
    qDebug() << "[Index::createPathIndex] create path index";
    emit progressValueChanged(0);
    filesFound = 0;
    if (!songs.isEmpty())
        sortByPath(songs);
    scannedDirs.clear();
    scan_files(root);
    if (filesFound < 1)
        return;
    emit progressMaxSetup(filesFound);
    createTitleIndex();
    if (!modified)
        return;

    emit progressMaxSetup(100);
    emit progressValueChanged(0);
    removeDeletedItems();
    if (songs.size() > PlayerSongLimit) {
        emit errorFromIndex(tr("Attenzione: %1 song in memoria, il lettore ne gestisce al massimo %2")
                                .arg(songs.size())
                                .arg(PlayerSongLimit));
    }
    emit progressValueChanged(10);

    bool ok = writeOrdIndex() >= 0 && writePathIndex() >= 0;
    if (ok) {
        emit progressValueChanged(20);
        titleCount = writeTitleIndex(titleFile);
        ok = titleCount >= 0 && writeAlphaBuffer(aTitleFile) >= 0;
    }
    if (ok) {
        emit progressValueChanged(30);
        artistCount = writeArtistIndex(artistFile);
        ok = artistCount >= 0 && writeAlphaBuffer(aArtistFile) >= 0;
    }
    if (ok) {
        emit progressValueChanged(40);
        emit progressValueChanged(50);
        emit progressValueChanged(90);
        ok = writeNumFile() >= 0;
    }
    if (!ok) {
        deleteIndex();
        return;
    }
    emit progressValueChanged(100);
}

// Drops the songs whose files vanished and numbers the rest 0, 1, 2, ... in
// their old record order. Every survivor gets its position as song number,
// so numbers and record positions agree even after an update of an index
// whose numbers did not start from 0.
void Index::removeDeletedItems()
{
    std::sort(songs.begin(), songs.end(), compareByPosidx);
    QList<SongInfoIndex> kept;
    kept.reserve(songs.size());
    for (const SongInfoIndex &entry : qAsConst(songs)) {
        if (entry.id == SongInfoIndex::DeletedId)
            continue;
        kept.append(entry);
        kept.last().posidx = kept.last().id = quint32(kept.size() - 1);
    }
    songs.swap(kept);
}

void Index::scan_files(QString dir)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    if (canonical.isEmpty() || scannedDirs.contains(canonical))
        return;
    scannedDirs.insert(canonical);

    const QFileInfoList entries = QDir(dir).entryInfoList();
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name == QLatin1String(".") || name == QLatin1String("..") || entry.isHidden())
            continue;
        if (entry.isDir()) {
            if (name.compare(sfxFolder, Qt::CaseInsensitive) != 0
                && name.compare(bridgeFolder, Qt::CaseInsensitive) != 0)
                scan_files(entry.absoluteFilePath());
            continue;
        }
        emit currentPathChanged(entry.filePath());
        if (checkFileExt(entry.suffix())) {
            addFileToIndex(entry);
            ++filesFound;
            emit fileFoundChanged(filesFound);
        }
    }
}

bool Index::checkFileExt(QString suffix)
{
    for (const char *ext : {"MID", "KAR", "MF3", "MF4", "MF5", "MP3"}) {
        if (suffix.compare(QLatin1String(ext), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool Index::addFileToIndex(QFileInfo file)
{
    const QString abs = file.absoluteFilePath();
    const QString rel = abs.right(abs.length() - root.length());
    if (rel.length() >= MaxRelativePath) {
        emit errorFromIndex(tr("File non importato, path troppo lungo: ") + abs);
        return false;
    }
    SongInfoIndex entry;
    entry.id = quint32(nextId);
    entry.posidx = quint32(nextPosidx);
    entry.absPath = abs;
    entry.path = rel;
    // The time stamp is taken only for a song not listed yet (an update finds
    // most songs listed, and each stamp costs a local time conversion).
    const int at = insertByPath(songs, entry);
    if (at >= 0) {
        modificationStamp(file, songs[at].date, songs[at].time);
        ++nextPosidx;
        ++nextId;
        modified = true;
    }
    return true;
}

void Index::createTitleIndex()
{
    qDebug() << "[Index::createTitleIndex] create title index";
    int i = 1;
    for (SongInfoIndex &entry : songs) {
        emit currentPathChanged(entry.absPath);
        const QFileInfo file(entry.absPath);
        if (!file.exists()) {
            entry.id = SongInfoIndex::DeletedId;
            modified = true;
        } else if (maxId == -1 || entry.id > quint32(maxId)) {
            setSongInfo(entry);
            modified = true;
        } else {
            quint32 date = 0, time = 0;
            modificationStamp(file, date, time);
            if (date != entry.date || time != entry.time) {
                setSongInfo(entry);
                entry.date = date;
                entry.time = time;
                modified = true;
            }
        }
        emit progressValueChanged(i++);
    }
    emit currentPathChanged(QString());
}

int Index::setSongInfo(SongInfoIndex &entry)
{
    qDebug() << "[Index::setSongInfo]" << entry.absPath.toLatin1();
    const QString fileName = entry.absPath.mid(entry.absPath.lastIndexOf(QLatin1Char('/')) + 1);
    QByteArray head;
    QFile file(entry.absPath);
    ++filesRead;
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))  // one read of the head, no read-ahead
        head = file.read(SongDataReader::HeadSize);
    return SongDataReader::parse(head, fileName, entry);
}
