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

QString SongEdit::fieldPattern(int digits)
{
    return QStringLiteral("^[0-9]{%1}").arg(digits);
}

bool SongEdit::fitsField(const QString& text, int digits)
{
    // What the field's validator lets through while typing: a beginning of
    // a match, so from none up to `digits` digits.
    if (text.size() > digits)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int SongEdit::lengthFromFields(const QString& minutes, const QString& seconds)
{
    return minutes.toInt() * 60 + seconds.toInt();
}

bool SongEdit::lengthFromText(const QString& text, int& seconds)
{
    const QStringList fields = text.split(QLatin1Char(':'));
    if (fields.size() != 2 || !fitsField(fields[0], LengthFieldDigits) || !fitsField(fields[1], LengthFieldDigits))
        return false;
    seconds = lengthFromFields(fields[0], fields[1]);
    return true;
}

QStringList SongEdit::keyNames()
{
    return MetaSong().getKeysList();
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
