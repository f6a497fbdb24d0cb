#include "index/index.h"

#include "index/indexcommit.h"
#include "index/songdatareader.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <numeric>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
const int MaxRelativePath = 252;  // width of the path field, terminator included
const int PlayerSongLimit = 65535;

// YYYYMMDD and hhmmss of a modification time (seconds since the epoch) in
// local time, as the records of "index.id3" hold it.
void stampOf(qint64 seconds, quint32 &date, quint32 &time)
{
    const time_t t = time_t(seconds);
    struct tm local;
#ifdef Q_OS_WIN
    const bool ok = localtime_s(&local, &t) == 0;
#else
    const bool ok = localtime_r(&t, &local) != nullptr;
#endif
    if (!ok) {
        date = time = 0;
        return;
    }
    date = quint32((local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday);
    time = quint32(local.tm_hour * 10000 + local.tm_min * 100 + local.tm_sec);
}

// The stamp of the file at `path`. The toolkit's file times come in local
// time through mktime, which reads the time zone file again at every call.
void stampOf(const QString &path, quint32 &date, quint32 &time)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        stampOf(qint64(status.st_mtime), date, time);
        return;
    }
#endif
    const qint64 ms = QFileInfo(path).lastModified().toMSecsSinceEpoch();
    stampOf(ms >= 0 ? ms / 1000 : (ms - 999) / 1000, date, time);
}

bool outsideLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return true;
    }
    return false;
}
}

Index::Index(QObject *parent)
    : QObject(parent)
{
    std::memset(alphaBuffer, 0xFF, sizeof alphaBuffer);
}

// Every path below the root is derived from it, so it is taken in one plain
// absolute form: "<root>/.", "//" or a relative root would garble them.
void Index::setRoot(const QString &path)
{
    QString plain = path;
    if (plain.endsWith(QLatin1Char('\\')))
        plain.chop(1);
    root = plain.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(plain).absoluteFilePath());
    base = root == QLatin1String("/") ? QString() : root;
}

QString Index::rootFile(const QString &fileName) const
{
    return base + QLatin1Char('/') + fileName;
}

QStringList Index::indexFilePaths(bool temporary) const
{
    QStringList paths;
    for (const char *name : IndexSet::fileNames) {
        const QString file = QLatin1String(name);
        paths << rootFile(temporary ? IndexCommit::temporaryName(file) : file);
    }
    return paths;
}

void Index::startRun(const QString &path)
{
    setRoot(path);
    error = ErrorNone;
    errorDetail.clear();
    wrote = false;
    filesFound = titleCount = artistCount = 0;
    genreCount = title3Count = artist3Count = genre3Count = 0;
    nextPosidx = 0;
    modified = false;
    songs.clear();
    states.clear();
    found.clear();
}

bool Index::fail(errorEnum code, const QString &detail)
{
    static const char *const names[] = {"none", "no memory", "no index", "no songs", "damaged index",
                                        "memory full", "cannot write"};
    // The detail of a damaged or missing index is a text for the user; IndexSet logged its cause.
    if (code == ErrorDamaged || code == ErrorNoIndex)
        qDebug() << "[Index::fail] run failed:" << names[code];
    else
        qDebug() << "[Index::fail] run failed:" << names[code] << detail;
    error = code;
    errorDetail = detail;
    return false;
}

QString Index::lastErrorText() const
{
    switch (error) {
    case ErrorNone:
        break;
    case ErrorNoMemory:
        return tr("La cartella %1 non esiste").arg(errorDetail);
    case ErrorNoIndex:
        return tr("La memoria non ha un indice completo: %1").arg(errorDetail);
    case ErrorNoSongs:
        return tr("La memoria non contiene song da indicizzare: l'indice non è stato modificato.");
    case ErrorDamaged:
        return tr("L'indice della memoria è danneggiato: %1.\nPer ripararlo scegliere \"Ho problemi con gli archivi, "
                  "ricostruisci database\".")
            .arg(errorDetail);
    case ErrorMemoryFull:
        return tr("La memoria è piena: il nuovo indice non ha spazio accanto a quello esistente, che è stato "
                  "mantenuto.");
    case ErrorCannotWrite:
        return tr("La memoria non può essere scritta: impossibile scrivere %1.").arg(errorDetail);
    }
    return QString();
}

bool Index::createIndex(QString root)
{
    return run(root, true);
}

bool Index::updateIndex(QString root)
{
    return run(root, false);
}

bool Index::run(const QString &path, bool rebuild)
{
    startRun(path);
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return fail(ErrorNoMemory, root.isEmpty() ? path : root);
    if (!recoverCommit())
        return false;
    if (!rebuild) {
        IndexReport report;
        examineIndex(report);
        if (report.damaged)
            return fail(ErrorDamaged, report.reason);
        if (!report.complete) {
            qDebug() << "[Index::updateIndex] no complete index, rebuilding";
            rebuild = true;
        }
    }
    rebuilding = rebuild;
    createPathIndex();
    return error == ErrorNone;
}

bool Index::checkMemory(QString root, IndexReport &report)
{
    report = IndexReport();
    startRun(root);
    if (this->root.isEmpty() || !QFileInfo(this->root).isDir())
        return fail(ErrorNoMemory, this->root.isEmpty() ? root : this->root);
    examineIndex(report);
    scannedDirs.clear();
    scan_files(this->root);
    planSongs(report);
    if (report.damaged) {
        // Nothing can be said about songs against files that disagree.
        report.missingSongs.clear();
        report.newSongs.clear();
        report.changedSongs.clear();
        fail(ErrorDamaged, report.reason);
    } else if (!report.complete) {
        fail(ErrorNoIndex, report.reason);
    }
    return report.inStep();
}

// A commit cut short leaves temporary files. Once its marker is gone they
// hold the whole new set (checked, as a torn file is possible on a memory
// pulled out while an index without marker was being rebuilt): the renames
// are finished. Otherwise they go, and a missing index file makes the update
// a rebuild.
bool Index::recoverCommit()
{
    const QStringList finals = indexFilePaths(false);
    const QStringList temporaries = indexFilePaths(true);
    if (std::none_of(temporaries.begin(), temporaries.end(), [](const QString &p) { return QFile::exists(p); }))
        return true;
    QStringList names;
    for (const char *name : IndexSet::fileNames)
        names << QLatin1String(name);
    IndexCommit commit(root);
    if (!QFile::exists(finals.last()) && QFile::exists(temporaries.last())) {
        QStringList candidate;
        for (int k = 0; k < finals.size(); ++k)
            candidate << (QFile::exists(temporaries.at(k)) ? temporaries.at(k) : finals.at(k));
        IndexSet set;
        QList<SongInfoIndex> newSongs;
        QString reason;
        if (set.read(candidate, reason) && set.decode(base, newSongs, reason)) {
            qDebug() << "[Index::recoverCommit] finishing an index commit cut short";
            return commit.finish(names) == IndexCommit::Committed || fail(ErrorCannotWrite, commit.failedFile());
        }
        qDebug() << "[Index::recoverCommit] the new files of a commit cut short are incomplete";
    }
    qDebug() << "[Index::recoverCommit] removing the temporary files of a commit cut short";
    return commit.removeTemporaryFiles(names) || fail(ErrorCannotWrite, commit.failedFile());
}

// Loads the index files when all seven are there and agree; `report` says
// which of that holds.
void Index::examineIndex(IndexReport &report)
{
    songs.clear();
    nextPosidx = 0;
    const QStringList paths = indexFilePaths(false);
    QString missing;
    for (int k = paths.size() - 1; k >= 0; --k) {
        if (!QFile::exists(paths.at(k)))
            missing = QLatin1String(IndexSet::fileNames[k]);
    }
    report.complete = missing.isEmpty();
    if (!report.complete) {
        if (!QFile::exists(paths.last()) && QFile::exists(indexFilePaths(true).last()))
            report.reason = tr("un aggiornamento è stato interrotto, il prossimo lo completerà");
        else
            report.reason = tr("manca il file %1").arg(missing);
        return;
    }
    IndexSet set;
    QString reason;
    if (!set.read(paths, reason) || !set.decode(base, songs, reason)) {
        report.damaged = true;
        report.reason = reason;
        songs.clear();
        return;
    }
    nextPosidx = songs.size();
}

int Index::loadAllIndexFile()
{
    IndexReport report;
    examineIndex(report);
    if (report.damaged)
        fail(ErrorDamaged, report.reason);
    else if (!report.complete)
        fail(ErrorNoIndex, report.reason);
    return report.complete && !report.damaged ? 0 : -1;
}

void Index::createPathIndex()
{
    qDebug() << "[Index::createPathIndex] create path index";
    emit progressValueChanged(0);
    filesFound = 0;
    found.clear();
    scannedDirs.clear();
    scan_files(root);
    IndexReport report;
    planSongs(report);
    if (std::count(states.begin(), states.end(), SongMissing) == states.size()) {
        // An index without songs helps nobody; the old one (if any) stays.
        fail(ErrorNoSongs);
        return;
    }
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
    writeOrdIndex();
    writePathIndex();
    emit progressValueChanged(20);
    titleCount = writeTitleIndex(titleFile);
    writeAlphaBuffer(aTitleFile);
    emit progressValueChanged(30);
    artistCount = writeArtistIndex(artistFile);
    writeAlphaBuffer(aArtistFile);
    emit progressValueChanged(40);
    emit progressValueChanged(50);
    emit progressValueChanged(90);
    writeNumFile();
    if (commitFiles(rebuilding))
        emit progressValueChanged(100);
}

bool Index::commitFiles(bool rebuild)
{
    QVector<QPair<QString, QByteArray>> files;
    for (int k = 0; k < IndexSet::FileCount; ++k)
        files.append(qMakePair(QString::fromLatin1(IndexSet::fileNames[k]), pending.files[k]));
    // Files of the index that this program never writes: a rebuild clears them.
    QStringList obsolete;
    if (rebuild) {
        obsolete = QStringList{genreFile,   aGenreFile,   title3File,  artist3File, genre3File,
                               aTitle3File, aArtist3File, aGenre3File, temp1File,   temp2File};
    }
    IndexCommit commit(root);
    commit.stopBefore(commitStop);
    switch (commit.commit(files, obsolete)) {
    case IndexCommit::Committed:
        wrote = true;
        return true;
    case IndexCommit::MemoryFull:
        return fail(ErrorMemoryFull);
    case IndexCommit::Stopped:
        return fail(ErrorCannotWrite, root);
    case IndexCommit::CannotWrite:
        break;
    }
    return fail(ErrorCannotWrite, commit.failedFile());
}

// Drops the songs whose files vanished and numbers the rest 0, 1, 2, ... in
// their old record order; the list keeps its own order.
void Index::removeDeletedItems()
{
    const auto gone = [](const SongInfoIndex &entry) { return entry.id == SongInfoIndex::DeletedId; };
    songs.erase(std::remove_if(songs.begin(), songs.end(), gone), songs.end());
    quint32 last = 0;
    for (const SongInfoIndex &entry : qAsConst(songs))
        last = qMax(last, entry.posidx);
    // Old record position to new number: survivors counted in record order.
    QVector<quint32> renumber(songs.isEmpty() ? 0 : int(last) + 1, SongInfoIndex::DeletedId);
    for (const SongInfoIndex &entry : qAsConst(songs))
        renumber[int(entry.posidx)] = 0;
    quint32 next = 0;
    for (quint32 &number : renumber) {
        if (number == 0)
            number = next++;
    }
    for (SongInfoIndex &entry : songs)
        entry.posidx = entry.id = renumber.at(int(entry.posidx));
    states.clear();
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

// Takes a song file of the scan; planSongs decides what it is.
bool Index::addFileToIndex(QFileInfo file)
{
    const QString abs = file.absoluteFilePath();
    const QString rel = abs.mid(base.size());
    if (rel.length() >= MaxRelativePath) {
        emit errorFromIndex(tr("File non importato, path troppo lungo: ") + abs);
        return false;
    }
    found.append(FoundFile{abs, rel});
    return true;
}

// Matches the song files of the scan with the songs loaded from the index
// and leaves `songs` in path order with the state of each.
//
// Paths are stored in ISO 8859-1 with "?" for what it lacks, so a loaded
// path is compared with the stored form of a scanned one (same bytes first,
// then without regard to case); the matched song takes the real path, on
// which its modification time is read. Without that a name like
// "Don’t Stop.mid" would be dropped and added again at every update.
// A new file whose path ties in path order with a song already taken and
// equals it without regard to case is that song again ("/a/Song.mid" and
// "/A/SONG.MID"); every tying song is looked at, as "straße.mid" and
// "STRASSE.mid" tie without being equal.
void Index::planSongs(IndexReport &report)
{
    report.songsFound = filesFound;
    struct Row
    {
        SongInfoIndex song;
        QByteArray key;
        songStateEnum state;
    };
    QVector<Row> rows;
    rows.reserve(songs.size() + found.size());
    for (const SongInfoIndex &entry : qAsConst(songs))
        rows.append(Row{entry, QByteArray(), SongMissing});
    const int loaded = rows.size();
    songs.clear();

    QVector<int> claim(found.size(), -1);
    if (loaded > 0) {
        QVector<QString> stored(found.size());
        for (int f = 0; f < found.size(); ++f) {
            const QString &rel = found.at(f).rel;
            stored[f] = outsideLatin1(rel) ? QString::fromLatin1(rel.toLatin1()) : rel;
        }
        QHash<QString, QVector<int>> byStored;
        for (int r = 0; r < loaded; ++r)
            byStored[rows.at(r).song.path].append(r);
        QHash<QString, QVector<int>> byFolded;  // made when first needed
        const auto take = [&rows](const QVector<int> &candidates) {
            for (int r : candidates) {
                if (rows.at(r).state == SongMissing) {
                    rows[r].state = SongKept;
                    return r;
                }
            }
            return -1;
        };
        for (int f = 0; f < found.size(); ++f)
            claim[f] = take(byStored.value(stored.at(f)));
        for (int f = 0; f < found.size(); ++f) {
            if (claim.at(f) >= 0)
                continue;
            if (byFolded.isEmpty()) {
                for (int r = 0; r < loaded; ++r)
                    byFolded[foldKey(rows.at(r).song.path)].append(r);
            }
            claim[f] = take(byFolded.value(foldKey(stored.at(f))));
        }
        for (int f = 0; f < found.size(); ++f) {
            if (claim.at(f) < 0)
                continue;
            Row &row = rows[claim.at(f)];
            quint32 date = 0, time = 0;
            stampOf(found.at(f).abs, date, time);
            if (date != row.song.date || time != row.song.time || stored.at(f) != row.song.path) {
                row.state = SongChanged;
                row.song.date = date;
                row.song.time = time;
            }
            row.song.path = found.at(f).rel;
            row.song.absPath = found.at(f).abs;
        }
    }

    QHash<QByteArray, QVector<int>> byKey;
    byKey.reserve(found.size());
    for (int r = 0; r < loaded; ++r) {
        rows[r].key = pathKey(rows.at(r).song.path);
        if (rows.at(r).state != SongMissing)
            byKey[rows.at(r).key].append(r);
    }
    for (int f = 0; f < found.size(); ++f) {
        if (claim.at(f) >= 0)
            continue;
        const QString &rel = found.at(f).rel;
        QByteArray key = pathKey(rel);
        QVector<int> &ties = byKey[key];
        if (std::any_of(ties.begin(), ties.end(), [&](int r) {
                return QString::compare(rows.at(r).song.path, rel, Qt::CaseInsensitive) == 0;
            }))
            continue;
        SongInfoIndex entry;
        entry.id = entry.posidx = quint32(nextPosidx++);
        entry.path = rel;
        entry.absPath = found.at(f).abs;
        ties.append(rows.size());
        rows.append(Row{entry, std::move(key), SongNew});
    }

    QVector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&rows](int a, int b) { return rows.at(a).key < rows.at(b).key; });
    songs.reserve(rows.size());
    states.resize(0);
    states.reserve(rows.size());
    for (int r : qAsConst(order)) {
        const Row &row = rows.at(r);
        songs.append(row.song);
        states.append(row.state);
        if (row.state == SongMissing) {
            report.missingSongs << row.song.path;
            continue;
        }
        if (row.state == SongNew)
            report.newSongs << row.song.path;
        else if (row.state == SongChanged)
            report.changedSongs << row.song.path;
        if (outsideLatin1(row.song.path)) {
            report.unplayableSongs << row.song.path;
            emit warningFromIndex(tr("Il lettore non potrà aprire questa song, il suo nome contiene caratteri che "
                                     "non sa leggere: ")
                                  + row.song.absPath);
        }
    }
}

// The refresh pass: songs gone are marked, new and changed ones read.
void Index::createTitleIndex()
{
    qDebug() << "[Index::createTitleIndex] create title index";
    int i = 1;
    for (int k = 0; k < songs.size(); ++k) {
        SongInfoIndex &entry = songs[k];
        emit currentPathChanged(entry.absPath);
        switch (states.value(k, SongKept)) {
        case SongMissing:
            entry.id = SongInfoIndex::DeletedId;
            modified = true;
            break;
        case SongNew:
            readSong(entry, true);
            modified = true;
            break;
        case SongChanged:
            readSong(entry, false);
            modified = true;
            break;
        case SongKept:
            break;
        }
        emit progressValueChanged(i++);
    }
    emit currentPathChanged(QString());
}

int Index::setSongInfo(SongInfoIndex &entry)
{
    return readSong(entry, false);
}

// With `stamp` the song's modification time is taken from the open file.
int Index::readSong(SongInfoIndex &entry, bool stamp)
{
    qDebug().nospace().noquote() << "[Index::setSongInfo] \"" << entry.absPath << '"';
    const QString fileName = entry.absPath.mid(entry.absPath.lastIndexOf(QLatin1Char('/')) + 1);
    QByteArray head;
    QFile file(entry.absPath);
    ++filesRead;
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {  // one read of the head, no read-ahead
        head = file.read(SongDataReader::HeadSize);
#ifdef Q_OS_UNIX
        struct stat status;
        if (stamp && ::fstat(file.handle(), &status) == 0) {
            stampOf(qint64(status.st_mtime), entry.date, entry.time);
            stamp = false;
        }
#endif
    }
    if (stamp)
        stampOf(entry.absPath, entry.date, entry.time);
    return SongDataReader::parse(head, fileName, entry);
}
