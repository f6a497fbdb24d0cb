#include "library/cataloguesync.h"

#include "database/database.h"
#include "library/outcomebatch.h"
#include "library/workflowhost.h"
#include "songfiles/metasong.h"

#include <QDebug>
#include <QRegularExpression>

QString CatalogueSync::matchKey(const QString& name)
{
    static const QRegularExpression extension(QStringLiteral("\\.{1,1}\\w{3,3}$"),
                                              QRegularExpression::UseUnicodePropertiesOption);
    return name.toUpper().remove(extension);
}

bool CatalogueSync::lookUp(const QString& shortName, const SongInfo& info, SongsDbRecord& record, QString& foundBy)
{
    const QString nameKey = matchKey(shortName);
    const QString longNameKey = matchKey(info.mfxLongName);
    const QString titleKey = info.title.toUpper();

    foundBy.clear();
    if (catalogue.getRecordByFilename(nameKey, record))
        foundBy = QLatin1String("FILENAME: ") + nameKey;
    else if (!longNameKey.isEmpty() && catalogue.getRecordByFilename(longNameKey, record))
        foundBy = QLatin1String("MFXLONGNAME: ") + longNameKey;
    else if (catalogue.getRecordByTitle(titleKey, record))
        foundBy = QLatin1String("TITLE: ") + titleKey;

    if (foundBy.isEmpty()) {
        qDebug() << "Record" << QString(nameKey + QLatin1Char('/') + titleKey) << "NOT found in DB";
        return false;
    }
    return true;
}

SongInfo CatalogueSync::merged(const SongInfo& info, const SongsDbRecord& record)
{
    SongInfo merged = info;
    merged.title = record.title;
    merged.artist = record.artist;
    merged.altArtist = record.altArtist;
    merged.genre = record.genre;
    merged.author = record.author;
    merged.length = record.length;
    merged.userBpm = record.bpm;
    merged.key = record.key;
    merged.markers = record.markers;
    return merged;
}

bool CatalogueSync::run(const SongRefs& songs, NotMakerPolicy& policy)
{
    host.begin(WorkflowHost::PhaseSync, songs.size());
    OutcomeBatch batch(host);
    const QByteArray rowSeparator(74, '=');
    for (int i = 0; i < songs.size(); ++i) {
        if (host.stopRequested())
            return false;
        qDebug() << "[UPDATE] rowIdx:" << i;
        qDebug() << "[UPDATE] updating file:" << songs[i].path;

        batch.add(syncOne(songs[i], policy, batch));

        qDebug() << rowSeparator.constData();
        qDebug();
        host.progress(i + 1, songs.size());
    }
    return true;
}

SongOutcome CatalogueSync::syncOne(const SongRef& ref, NotMakerPolicy& policy, OutcomeBatch& batch)
{
    SongOutcome outcome;
    outcome.id = ref.id;
    outcome.path = ref.path;

    MetaSong song;
    if (!song.importFile(ref.path)) {
        outcome.outcome = SongOutcome::OutcomeUnreadable;
        outcome.reason = SongOutcome::unreadableReason();
        return outcome;
    }
    SongInfo info;
    song.getSongInfo(info);

    // Looked up first: a song the catalogue does not know would not change,
    // so there is nothing to ask about it.
    SongsDbRecord record;
    QString foundBy;
    if (!lookUp(ref.shortName, info, record, foundBy)) {
        outcome.outcome = SongOutcome::OutcomeNotFound;
        return outcome;
    }

    if (!info.isTavrel) {
        bool synchronise = policy.copyrightAnswerForAll;
        if (policy.askCopyright) {
            // The songs done so far reach the host before it is asked.
            batch.flush();
            synchronise = WorkflowHost::settle(host.askEditNotMaker(ref.path), policy.askCopyright,
                                               policy.copyrightAnswerForAll);
        }
        if (!synchronise) {
            outcome.outcome = SongOutcome::OutcomeLeftUnchanged;
            return outcome;
        }
    }

    qDebug() << "Found in DB by:" << foundBy;
    record.dbgDump();

    song.setSongInfo(merged(info, record), false);
    if (dryRun) {
        outcome.outcome = SongOutcome::OutcomeUpdated;
        song.getSongInfo(outcome.details);
        outcome.hasDetails = true;
        return outcome;
    }
    // A song whose file could not be written is not counted as synchronised;
    // either way the outcome holds what the file holds now.
    const bool saved = song.saveToFile(ref.path);
    if (!saved) {
        qDebug() << "[CatalogueSync::syncSong] WARNING: unable to save file" << ref.path;
        outcome.reason = SongOutcome::saveFailureReason(song);
    }
    outcome.outcome = saved ? SongOutcome::OutcomeUpdated : SongOutcome::OutcomeNotSaved;

    MetaSong reread;
    if (reread.importFile(ref.path)) {
        reread.getSongInfo(outcome.details);
        outcome.hasDetails = true;
    }
    return outcome;
}
