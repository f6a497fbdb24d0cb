// The file copier shared by the library backup and the transfer to the
// player's memory.

#include "mainwindow/mainwindow.h"

#include "mainwindow/nocopyrightdialog.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

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

bool MainWindow::copyFiles(QString destDir, int& copied)
{
    copied = 0;
    int failed = 0;
    int processed = 0;
    // "Si tutti" / "No tutti" hold for this run only.
    bool askOverwrite = true;
    bool overwriteAll = false;

    for (const QString& source : qAsConst(selectedFiles)) {
        if (progressDialog && progressDialog->wasCanceled()) {
            copied = 0;
            progressDialog->close();
            return false;
        }

        const QString target = destDir + QLatin1Char('/') + source.section(QLatin1Char('/'), -1);
        ++processed;

        if (sameFile(source, target)) {
            ++copied;
            continue;
        }

        qDebug() << "Copying file:" << source << "to:" << target;

        bool replacing = false;
        if (QFile::exists(target)) {
            bool overwrite = overwriteAll;
            if (askOverwrite) {
                NoCopyrightDialog question(nullptr);
                question.setFilename(target);
                question.setMessage(tr("esiste già, vuoi sostituirlo?"));
                switch (question.exec()) {
                case 0:
                    overwrite = true;
                    break;
                case 1:
                    overwrite = true;
                    askOverwrite = false;
                    overwriteAll = true;
                    break;
                case 3:
                    overwrite = false;
                    askOverwrite = false;
                    overwriteAll = false;
                    break;
                default:
                    overwrite = false;
                    break;
                }
            }
            if (!overwrite)
                continue;
            QFile::remove(target);
            replacing = true;
        }

        bool ok = QFile::copy(source, target);

        // The karaoke graphics of an MP3 song travel with it.
        if (ok && source.endsWith(QLatin1String("MP3"), Qt::CaseInsensitive)) {
            const QString companion = QString(source).replace(QLatin1String(".mp3"), QLatin1String(".cdg"), Qt::CaseInsensitive);
            if (companion != source && QFile::exists(companion)) {
                const QString companionTarget =
                    QString(target).replace(QLatin1String(".mp3"), QLatin1String(".cdg"), Qt::CaseInsensitive);
                // A song the user agreed to replace takes its companion's
                // place along with it.
                if (replacing && !sameFile(companion, companionTarget) && QFile::exists(companionTarget))
                    QFile::remove(companionTarget);
                ok = sameFile(companion, companionTarget) || QFile::copy(companion, companionTarget);
            }
        }

        if (ok)
            ++copied;
        else
            ++failed;
        updateProgress(processed);
    }
    return failed == 0;
}
