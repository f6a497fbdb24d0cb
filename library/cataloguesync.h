#ifndef LIBRARY_CATALOGUESYNC_H
#define LIBRARY_CATALOGUESYNC_H

#include <QString>

#include "database/songsdbrecord.h"
#include "library/songoutcome.h"

class Database;
class OutcomeBatch;
class WorkflowHost;

// Completes songs from the maker's catalogue: each song is looked up by file
// name, MFx long name or title, the record's details are merged into the
// file's by the automatic rules of MetaSong, the file is saved and read back.
class CatalogueSync
{
public:
    // A run's answer for songs that are not the maker's: ask the host about
    // each, or, once the host answered for all (or when not asking at all),
    // synchronise them or leave them as they are.
    struct NotMakerPolicy
    {
        bool askCopyright = true;
        bool copyrightAnswerForAll = true;
    };

    CatalogueSync(Database& catalogue, WorkflowHost& host) : catalogue(catalogue), host(host) {}

    // A dry run looks up and merges as usual but writes no file: an updated
    // song's outcome holds the details a save would write.
    void setDryRun(bool on) { dryRun = on; }

    // Every song in order (phase PhaseSync); false when the host stopped the
    // run before its end.
    bool run(const SongRefs& songs, NotMakerPolicy& policy);

    // The record for a song, and how it was found ("FILENAME: X",
    // "MFXLONGNAME: X" or "TITLE: X"); false when none.
    bool lookUp(const QString& shortName, const SongInfo& info, SongsDbRecord& record, QString& foundBy);

    // The song's details with the record's title, artists, genre, author,
    // length, tempo, key and markers; the rest as the file holds it.
    static SongInfo merged(const SongInfo& info, const SongsDbRecord& record);

    // A catalogue name key: upper case, without a final extension of a dot
    // and three word characters.
    static QString matchKey(const QString& name);

private:
    SongOutcome syncOne(const SongRef& song, NotMakerPolicy& policy, OutcomeBatch& batch);

    Database& catalogue;
    WorkflowHost& host;
    bool dryRun = false;
};

#endif
