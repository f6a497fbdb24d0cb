#include "library/librarybackup.h"

#include "library/filecopier.h"
#include "library/outcomebatch.h"
#include "library/workflowhost.h"
#include "library/workflowlog.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

const char* const LibraryBackup::manifestName = "manifest.txt";

QString LibraryBackup::folderName(const QDateTime& when)
{
    return QLatin1String("backup_tavrel_") + when.toString(QStringLiteral("yyyy_MM_dd_hh-mm-ss"));
}

QString LibraryBackup::uniqueName(const QString& fileName, bool withCompanion, QSet<QString>& taken)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    QString name = fileName;
    for (int n = 2;; ++n) {
        const QString companion = withCompanion ? FileCopier::companionOf(name) : QString();
        if (!taken.contains(name.toLower()) && (companion.isEmpty() || !taken.contains(companion.toLower()))) {
            taken.insert(name.toLower());
            if (!companion.isEmpty())
                taken.insert(companion.toLower());
            return name;
        }
        name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(extension);
    }
}

LibraryBackup::resultEnum LibraryBackup::run(const QString& parentDir, const SongRefs& songs, QString* folder)
{
    missing.clear();
    if (parentDir.isEmpty())
        return ResultNoFolder;

    logBanner("BACKUP USER LIBRARY");

    const QString name = folderName(QDateTime::currentDateTime());
    const QString backupPath = parentDir + QLatin1Char('/') + name;
    qDebug() << "Making new root backup dir:" << backupPath;
    // Never into an existing folder: a second backup within the same second fails here.
    if (!QDir(parentDir).mkdir(name)) {
        qDebug() << "Dest root dir creation failed";
        return ResultFolderNotMade;
    }
    if (folder)
        *folder = backupPath;

    host.begin(WorkflowHost::PhaseBackup, songs.size());
    QSet<QString> taken{QString::fromLatin1(manifestName)};
    QStringList manifest{QStringLiteral("backup name\toriginal path")};
    bool stopped = false;
    {
        OutcomeBatch batch(host);
        for (int i = 0; i < songs.size(); ++i) {
            if (host.stopRequested()) {
                stopped = true;
                break;
            }
            const SongRef& song = songs[i];
            SongOutcome outcome;
            outcome.id = song.id;
            outcome.path = song.path;
            outcome.outcome = SongOutcome::OutcomeCopied;

            const QString companion = FileCopier::companionOf(song.path);
            const bool withCompanion = !companion.isEmpty() && QFileInfo(companion).isFile();
            const QString copyName = uniqueName(song.path.section(QLatin1Char('/'), -1), withCompanion, taken);
            qDebug() << "Copying file:" << song.path << "to:" << backupPath + QLatin1Char('/') + copyName;
            bool ok = FileCopier::copyFile(song.path, backupPath + QLatin1Char('/') + copyName, &outcome.reason);
            if (ok)
                manifest << copyName + QLatin1Char('\t') + song.path;
            if (ok && withCompanion) {
                const QString companionCopy = FileCopier::companionOf(copyName);
                ok = FileCopier::copyFile(companion, backupPath + QLatin1Char('/') + companionCopy, &outcome.reason);
                if (ok)
                    manifest << companionCopy + QLatin1Char('\t') + companion;
            }
            if (!ok) {
                outcome.outcome = SongOutcome::OutcomeNotCopied;
                missing.append(outcome);
            }
            batch.add(outcome);
            host.progress(i + 1, songs.size());
        }
    }

    // Written whatever happened, so the folder always says what it holds.
    QSaveFile list(backupPath + QLatin1Char('/') + QLatin1String(manifestName));
    const QByteArray text = manifest.join(QLatin1Char('\n')).toUtf8() + '\n';
    if (!list.open(QIODevice::WriteOnly) || list.write(text) != text.size() || !list.commit()) {
        qDebug() << "[LibraryBackup::run] WARNING: unable to write the manifest" << list.fileName();
        SongOutcome manifestOutcome;
        manifestOutcome.path = list.fileName();
        manifestOutcome.outcome = SongOutcome::OutcomeNotCopied;
        manifestOutcome.reason = list.errorString();
        missing.append(manifestOutcome);
    }

    if (stopped)
        return ResultStopped;
    return missing.isEmpty() ? ResultDone : ResultCopyFailed;
}
