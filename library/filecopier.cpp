#include "library/filecopier.h"

#include "library/outcomebatch.h"
#include "library/workflowhost.h"

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
    int failed = 0;
    int processed = 0;
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
        ++processed;
        SongOutcome outcome;
        outcome.id = song.id;
        outcome.path = source;
        outcome.outcome = SongOutcome::OutcomeCopied;

        if (sameFile(source, target)) {
            ++result.copied;
            batch.add(outcome);
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
                outcome.outcome = SongOutcome::OutcomeKept;
                batch.add(outcome);
                continue;
            }
            QFile::remove(target);
            replacing = true;
        }

        QFile file(source);
        bool ok = file.copy(target);
        if (!ok)
            outcome.reason = file.errorString();

        // The karaoke graphics of an MP3 song travel with it.
        const QString companion = companionOf(source);
        if (ok && companion != source && !companion.isEmpty() && QFile::exists(companion)) {
            const QString companionTarget = targetFor(companion, destDir);
            // A song the user agreed to replace takes its companion's
            // place along with it.
            if (replacing && !sameFile(companion, companionTarget) && QFile::exists(companionTarget))
                QFile::remove(companionTarget);
            QFile graphics(companion);
            ok = sameFile(companion, companionTarget) || graphics.copy(companionTarget);
            if (!ok)
                outcome.reason = graphics.errorString();
        }

        if (ok) {
            ++result.copied;
        } else {
            ++failed;
            outcome.outcome = SongOutcome::OutcomeNotCopied;
        }
        batch.add(outcome);
        host.progress(processed, songs.size());
    }
    result.ok = failed == 0;
    return result;
}

QStringList FileCopier::missingAfterCopy(const SongRefs& songs, const QString& destDir)
{
    QStringList missing;
    for (const SongRef& song : songs) {
        const QString target = targetFor(song.path, destDir);
        bool present = QFileInfo(target).isFile();
        const QString companion = companionOf(song.path);
        if (present && !companion.isEmpty())
            present = !QFileInfo::exists(companion) || QFileInfo(targetFor(companion, destDir)).isFile();
        if (!present)
            missing << song.path;
    }
    return missing;
}
