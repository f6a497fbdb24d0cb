#include "library/filecopier.h"

#include "library/outcomebatch.h"
#include "library/workflowhost.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

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

} // namespace

bool FileCopier::copyFile(const QString& source, const QString& target, QString* reason)
{
    const QFileInfo from(source);
    if (!from.isFile()) {
        *reason = QCoreApplication::translate("FileCopier", "il file non esiste più");
        return false;
    }
    QFile file(source);
    if (!file.copy(target)) {
        *reason = file.errorString();
        return false;
    }
    // A full memory or a failing card can leave a short copy behind without
    // an error: only a copy of the source's size counts.
    if (QFileInfo(target).size() != from.size()) {
        QFile::remove(target);
        *reason = QCoreApplication::translate("FileCopier", "la copia è incompleta (memoria piena?)");
        return false;
    }
    return true;
}

QString FileCopier::targetFor(const QString& source, const QString& destDir)
{
    return destDir + QLatin1Char('/') + source.section(QLatin1Char('/'), -1);
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

FileCopier::Result FileCopier::copy(const SongRefs& songs, const QString& destDir)
{
    Result result;
    // "Si tutti" / "No tutti" hold for this run only.
    bool askOverwrite = true;
    bool overwriteAll = false;
    OutcomeBatch batch(host);

    for (const SongRef& song : songs) {
        if (host.stopRequested()) {
            result.ok = false;
            result.stopped = true;
            return result;
        }

        const QString& source = song.path;
        const QString target = targetFor(source, destDir);
        ++result.processed;
        SongOutcome outcome;
        outcome.id = song.id;
        outcome.path = source;
        outcome.outcome = SongOutcome::OutcomeCopied;

        if (sameFile(source, target)) {
            ++result.copied;
            batch.add(outcome);
            host.progress(result.processed, songs.size());
            continue;
        }

        qDebug() << "Copying file:" << source << "to:" << target;

        bool replacing = false;
        if (QFile::exists(target)) {
            bool overwrite = overwriteAll;
            if (askOverwrite) {
                batch.flush();
                switch (host.askReplace(target)) {
                case WorkflowHost::AnswerYes:
                    overwrite = true;
                    break;
                case WorkflowHost::AnswerYesAll:
                    overwrite = true;
                    askOverwrite = false;
                    overwriteAll = true;
                    break;
                case WorkflowHost::AnswerNoAll:
                    overwrite = false;
                    askOverwrite = false;
                    overwriteAll = false;
                    break;
                case WorkflowHost::AnswerNo:
                    overwrite = false;
                    break;
                }
            }
            if (!overwrite) {
                ++result.kept;
                outcome.outcome = SongOutcome::OutcomeKept;
                batch.add(outcome);
                host.progress(result.processed, songs.size());
                continue;
            }
            QFile::remove(target);
            replacing = true;
        }

        bool ok = copyFile(source, target, &outcome.reason);

        // The karaoke graphics of an MP3 song travel with it.
        const QString companion = companionOf(source);
        if (ok && companion != source && !companion.isEmpty() && QFile::exists(companion)) {
            const QString companionTarget = targetFor(companion, destDir);
            if (!sameFile(companion, companionTarget)) {
                // A song the user agreed to replace takes its companion's
                // place along with it.
                if (replacing && QFile::exists(companionTarget))
                    QFile::remove(companionTarget);
                ok = copyFile(companion, companionTarget, &outcome.reason);
            }
        }

        if (ok) {
            ++result.copied;
        } else {
            outcome.outcome = SongOutcome::OutcomeNotCopied;
            result.notCopied.append(outcome);
        }
        batch.add(outcome);
        host.progress(result.processed, songs.size());
    }
    result.ok = result.notCopied.isEmpty();
    return result;
}
