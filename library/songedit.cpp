#include "library/songedit.h"

#include "library/outcomebatch.h"
#include "library/workflowhost.h"
#include "songfiles/metasong.h"

#include <QDebug>

QString SongEdit::titleFromFileName(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

SongOutcome SongEdit::save(MetaSong& song, const SongInfo& info, const SongRef& ref)
{
    SongOutcome outcome;
    outcome.id = ref.id;
    outcome.path = ref.path;

    song.setSongInfo(info, true);
    qDebug() << "Saving to file: " << ref.path;
    const bool saved = song.saveToFile(ref.path);
    qDebug() << (saved ? "Ok" : "Error!");
    outcome.outcome = saved ? SongOutcome::OutcomeSaved : SongOutcome::OutcomeNotSaved;
    if (!saved)
        outcome.reason = SongOutcome::saveFailureReason(song);

    // What the file holds now, whether or not the save worked; nothing when
    // it cannot be read any more.
    MetaSong reread;
    if (reread.importFile(ref.path)) {
        reread.getSongInfo(outcome.details);
        outcome.hasDetails = true;
    }
    return outcome;
}

bool SongEdit::spreadOver(const SongRefs& songs, qint64 editedId, const Spread& spread)
{
    host.begin(WorkflowHost::PhaseWholeList, songs.size());
    OutcomeBatch batch(host);
    for (int i = 0; i < songs.size(); ++i) {
        // Looked at before each song; those done stay done.
        if (host.stopRequested())
            return false;
        const SongRef& ref = songs[i];
        if (ref.id == editedId)
            continue;

        MetaSong song;
        if (!song.importFile(ref.path)) {
            SongOutcome unreadable;
            unreadable.id = ref.id;
            unreadable.path = ref.path;
            unreadable.reason = SongOutcome::unreadableReason();
            batch.add(unreadable);
            host.progress(i + 1, songs.size());
            continue;
        }
        SongInfo details;
        song.getSongInfo(details);
        details.filename = ref.path;
        if (spread.titleFromFileName)
            details.title = titleFromFileName(ref.path);
        if (spread.author)
            details.author = spread.authorText;
        if (spread.artist)
            details.artist = spread.artistText;
        if (spread.genre)
            details.genre = spread.genreText;

        batch.add(save(song, details, ref));
        host.progress(i + 1, songs.size());
    }
    return true;
}
