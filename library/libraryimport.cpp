#include "library/libraryimport.h"

#include "library/outcomebatch.h"
#include "library/workflowhost.h"
#include "songfiles/metasong.h"

#include <QDebug>

QString LibraryImport::shortNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

LibraryImport::Summary LibraryImport::run(const QStringList& paths)
{
    Summary summary;
    host.begin(WorkflowHost::PhaseImport, paths.size());
    OutcomeBatch batch(host);
    for (const QString& path : paths) {
        if (host.stopRequested()) {
            summary.stopped = true;
            break;
        }
        qDebug() << "Found file:" << path;
        SongOutcome outcome;
        outcome.path = path;

        MetaSong song;
        const bool read = song.importFile(path);
        if (!song.leftoverCopy().isEmpty())
            summary.leftoverCopies << song.leftoverCopy();
        if (!read) {
            qDebug() << "Unknown/corrupted file" << path;
            ++summary.unreadable;
            outcome.outcome = SongOutcome::OutcomeUnreadable;
        } else {
            ++summary.songs;
            qDebug() << "Song Index: " << summary.songs;
            song.getSongInfo(outcome.details);
            outcome.details.filename = path;
            outcome.details.shortname = shortNameOf(path);
            outcome.details.dbgDump();
            outcome.outcome = SongOutcome::OutcomeRead;
            outcome.hasDetails = true;
            if (outcome.details.isTavrel)
                ++summary.tavrelSongs;
        }
        batch.add(std::move(outcome));
        host.progress(summary.songs + summary.unreadable, paths.size());
    }
    batch.flush();
    return summary;
}
