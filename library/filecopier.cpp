#include "library/filecopier.h"

#include "library/memorynames.h"
#include "library/outcomebatch.h"
#include "library/workflowhost.h"
#include "platform/platform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// Source and target name the same file: the same path apart from letter case
// (the player's and the Mac's file systems ignore it), or two paths that
// lead to one existing file through links. Replacing such a target would
// delete the source.
bool sameFile(const QString& source, const QString& target)
{
    if (QString::compare(source, target, Qt::CaseInsensitive) == 0)
        return true;
    const QFileInfo s(source);
    const QFileInfo t(target);
    return s.exists() && t.exists() && s.canonicalFilePath() == t.canonicalFilePath();
}

// The names in the destination folder. On a memory, FAT32 takes "Song.mid"
// and "SONG.MID" for one file, whatever the computer's file system says: a
// name is looked up ignoring letter case in the folder's listing, kept up to
// date by the run (the memory's lock keeps other runs away meanwhile).
class Folder
{
public:
    Folder(const QString& path, bool ignoreCase) : path(path), ignoreCase(ignoreCase)
    {
        if (!ignoreCase)
            return;
        const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                         | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            names.insert(entry.toCaseFolded(), entry);
    }
    // The name under which `name` is there; empty when it is not.
    QString existing(const QString& name) const
    {
        if (ignoreCase)
            return names.value(name.toCaseFolded());
        return QFileInfo::exists(file(name)) ? name : QString();
    }
    void add(const QString& name)
    {
        if (ignoreCase)
            names.insert(name.toCaseFolded(), name);
    }
    void remove(const QString& name)
    {
        if (ignoreCase)
            names.remove(name.toCaseFolded());
    }
    QString file(const QString& name) const { return path + QLatin1Char('/') + name; }

private:
    const QString path;
    const bool ignoreCase;
    QHash<QString, QString> names;
};

// What a file takes on the memory: whole allocation units.
qint64 unitsOf(const QString& path, qint64 unit)
{
    const qint64 size = path.isEmpty() ? 0 : QFileInfo(path).size();
    return (size + unit - 1) / unit * unit;
}

} // namespace

bool FileCopier::copyFile(const QString& source, const QString& target, QString* reason, bool* full)
{
    if (full)
        *full = false;
    QFile from(source);
    if (!QFileInfo(source).isFile()) {
        *reason = tr("il file non esiste più");
        return false;
    }
    if (!from.open(QIODevice::ReadOnly)) {
        *reason = from.errorString();
        return false;
    }
    // Never over an existing file.
    QFile to(target);
    if (!to.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *reason = to.errorString();
        return false;
    }
    bool ok = true;
    QByteArray block;
    while (ok && !from.atEnd()) {
        block = from.read(1 << 20);
        if (block.isEmpty()) {
            if (from.error() != QFileDevice::NoError)
                *reason = from.errorString();
            ok = from.error() == QFileDevice::NoError;
            break;
        }
        // A write cut short by a full memory is followed by one that says so.
        for (qint64 done = 0, written = 0; ok && done < block.size(); done += written) {
            written = to.write(block.constData() + done, block.size() - done);
            ok = written > 0;
        }
    }
    if (ok && !to.flush())
        ok = false;
    if (!ok && to.error() != QFileDevice::NoError) {
        *reason = to.errorString();
        if (full)
            *full = to.error() == QFileDevice::ResourceError;
    }
    to.close();
    if (ok)
        to.setPermissions(from.permissions());
    // A full memory or a failing card can leave a short copy behind without
    // an error: only a copy of the source's size counts.
    if (ok && QFileInfo(target).size() != from.size()) {
        *reason = tr("la copia è incompleta (memoria piena?)");
        ok = false;
    }
    // Nothing of a failed copy stays.
    if (!ok)
        QFile::remove(target);
    return ok;
}

QString FileCopier::companionOf(const QString& song)
{
    if (!song.endsWith(QLatin1String("MP3"), Qt::CaseInsensitive))
        return QString();
    // Only the file name changes: a folder whose name holds ".mp3" stays.
    const int nameStart = song.lastIndexOf(QLatin1Char('/')) + 1;
    return song.left(nameStart)
        + song.mid(nameStart).replace(QLatin1String(".mp3"), QLatin1String(".cdg"), Qt::CaseInsensitive);
}

QString FileCopier::memoryFullReason()
{
    return tr("la memoria è piena");
}

void FileCopier::setMemory(const QString& root, qint64 reserve)
{
    memoryRoot = QDir::cleanPath(root);
    memoryReserve = reserve;
}

FileCopier::Result FileCopier::copy(const SongRefs& songs, const QString& destDir)
{
    Result result;
    // "Si tutti" / "No tutti" hold for this run only.
    bool askOverwrite = true;
    bool overwriteAll = false;
    OutcomeBatch batch(host);

    const bool onMemory = !memoryRoot.isEmpty();
    QStringList names;
    names.reserve(songs.size());
    for (const SongRef& song : songs)
        names << song.path.section(QLatin1Char('/'), -1);
    if (onMemory) {
        const QString base = memoryRoot == QLatin1String("/") ? QString() : memoryRoot;
        names = MemoryNames::transferNames(names, QDir::cleanPath(destDir).mid(base.size()));
    }
    Folder folder(destDir, onMemory);
    const qint64 unit = onMemory ? Platform::spaceOf(destDir).unit : 512;
    // Whether `bytes` more leave the reserve free; true where the file
    // system does not tell its room (the writes will).
    const auto fits = [&](qint64 bytes) {
        const qint64 available = Platform::spaceOf(destDir).available;
        return available < 0 || available - memoryReserve >= bytes;
    };

    for (int i = 0; i < songs.size(); ++i) {
        if (host.stopRequested()) {
            result.ok = false;
            result.stopped = true;
            return result;
        }

        const SongRef& song = songs.at(i);
        const QString& source = song.path;
        const QString& name = names.at(i);
        ++result.processed;
        SongOutcome outcome;
        outcome.id = song.id;
        outcome.path = source;
        outcome.outcome = SongOutcome::OutcomeCopied;
        const auto fail = [&](const QString& reason) {
            outcome.outcome = SongOutcome::OutcomeNotCopied;
            outcome.reason = reason;
            result.notCopied.append(outcome);
            batch.add(outcome);
            host.progress(result.processed, songs.size());
        };

        if (name.isEmpty()) {
            fail(tr("il suo percorso sulla memoria sarebbe troppo lungo per il lettore"));
            continue;
        }
        const QString target = folder.file(name);
        const QString there = folder.existing(name);
        if (sameFile(source, target) || (!there.isEmpty() && sameFile(source, folder.file(there)))) {
            ++result.copied;
            batch.add(outcome);
            host.progress(result.processed, songs.size());
            continue;
        }

        // The karaoke graphics of an MP3 song travel with it, named after it.
        QString companion = companionOf(source);
        if (companion == source || !QFileInfo(companion).isFile())
            companion.clear();
        const QString companionName = companion.isEmpty() ? QString()
            : onMemory                                     ? MemoryNames::companionName(name)
                                                           : companionOf(name);
        const QString companionThere = companion.isEmpty() ? QString() : folder.existing(companionName);

        qDebug() << "Copying file:" << source << "to:" << target;

        // A folder in the way is never replaced.
        const QString blocking = !there.isEmpty() && QFileInfo(folder.file(there)).isDir() ? there
            : !companionThere.isEmpty() && QFileInfo(folder.file(companionThere)).isDir()  ? companionThere
                                                                                           : QString();
        if (!blocking.isEmpty()) {
            fail(tr("al suo posto c'è una cartella: %1").arg(QDir::toNativeSeparators(folder.file(blocking))));
            continue;
        }

        if (!there.isEmpty() || !companionThere.isEmpty()) {
            bool overwrite = overwriteAll;
            if (askOverwrite) {
                batch.flush();
                overwrite = WorkflowHost::settle(host.askReplace(folder.file(there.isEmpty() ? companionThere : there)),
                                                 askOverwrite, overwriteAll);
            }
            if (!overwrite) {
                ++result.kept;
                outcome.outcome = SongOutcome::OutcomeKept;
                batch.add(outcome);
                host.progress(result.processed, songs.size());
                continue;
            }
        }

        // What the song and its graphics take on the memory.
        const qint64 needed = onMemory ? unitsOf(source, unit) + unitsOf(companion, unit) : 0;
        if (onMemory) {
            const qint64 freed = (there.isEmpty() ? 0 : unitsOf(folder.file(there), unit))
                + (companionThere.isEmpty() ? 0 : unitsOf(folder.file(companionThere), unit));
            if (!fits(needed - freed)) {
                result.memoryFull = true;
                break;
            }
        }

        // Every song is copied under hidden names and takes its own name only
        // once complete: a copy cut short (a song gone from the computer, a
        // card pulled) never leaves a damaged song under a song's name, which
        // a later index would list, and a replaced song stays until then.
        // Only a memory without room for both loses the old files first.
        const QString companionTarget = companion.isEmpty() ? QString() : folder.file(companionName);
        const bool replacing = !there.isEmpty() || !companionThere.isEmpty();
        const bool beside = !replacing || !onMemory || fits(needed);
        const QString songCopy = beside ? folder.file(QStringLiteral(".orvalo3-new.tmp")) : target;
        const QString companionCopy = beside ? folder.file(QStringLiteral(".orvalo3-new-cdg.tmp")) : companionTarget;
        const auto removeOld = [&] {
            for (const QString& old : {there, companionThere}) {
                QFile file(folder.file(old));
                if (!old.isEmpty() && !file.remove()) {
                    outcome.reason = file.errorString();
                    return false;
                }
                if (!old.isEmpty())
                    folder.remove(old);
            }
            return true;
        };
        if (beside) {
            // Leftovers of a run cut short are the program's own.
            QFile::remove(songCopy);
            QFile::remove(companionCopy);
        }
        bool ok = beside || removeOld();
        bool full = false;
        ok = ok && copyFile(source, songCopy, &outcome.reason, &full);
        if (ok && !companion.isEmpty()) {
            ok = copyFile(companion, companionCopy, &outcome.reason, &full);
            // A song without its graphics is not the song the user picked.
            if (!ok)
                QFile::remove(songCopy);
        }
        if (ok && beside) {
            const bool songPlaced = removeOld() && QFile::rename(songCopy, target);
            ok = songPlaced && (companion.isEmpty() || QFile::rename(companionCopy, companionTarget));
            if (!ok) {
                if (outcome.reason.isEmpty())
                    outcome.reason = tr("impossibile rinominare la copia");
                // Not a song without its graphics either.
                if (songPlaced)
                    QFile::remove(target);
                QFile::remove(songCopy);
                QFile::remove(companionCopy);
            }
        }

        if (ok) {
            ++result.copied;
            ++result.written;
            folder.add(name);
            if (!companion.isEmpty())
                folder.add(companionName);
            if (name != source.section(QLatin1Char('/'), -1)) {
                outcome.copiedAs = name;
                result.renamed.append(outcome);
            }
            batch.add(outcome);
            host.progress(result.processed, songs.size());
        } else if (onMemory && full) {
            // The copy ran out of room: the memory is full after all.
            result.memoryFull = true;
            break;
        } else {
            fail(outcome.reason);
        }
    }

    // A full memory stops the run: the song that did not fit and every one
    // after it are not copied.
    if (result.memoryFull) {
        qDebug() << "[FileCopier::copy] memory full:" << songs.size() - result.processed + 1 << "songs not copied";
        for (int i = result.processed - 1; i < songs.size(); ++i) {
            SongOutcome outcome;
            outcome.id = songs.at(i).id;
            outcome.path = songs.at(i).path;
            outcome.outcome = SongOutcome::OutcomeNotCopied;
            outcome.reason = memoryFullReason();
            result.notCopied.append(outcome);
            batch.add(outcome);
        }
        result.processed = songs.size();
        host.progress(result.processed, songs.size());
    }
    result.ok = result.notCopied.isEmpty();
    return result;
}
