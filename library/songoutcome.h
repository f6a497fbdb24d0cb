#ifndef LIBRARY_SONGOUTCOME_H
#define LIBRARY_SONGOUTCOME_H

#include <QString>
#include <QVector>

#include "songfiles/songinfo.h"

class MetaSong;

// One song a workflow works on. Songs are addressed by the library table's id
// (column "id" of "usersongs"), never by a view row: rows move when the table
// is sorted or read again. Files that are in no table have the id -1.
struct SongRef
{
    qint64 id = -1;
    QString path;
    QString shortName;  // the file name, without its folder
};

// What became of one song in a workflow.
struct SongOutcome
{
    enum outcomeEnum {
        OutcomeRead,          // import: read; details hold what the file holds
        OutcomeUnreadable,    // the file could not be read
        OutcomeUpdated,       // synchronisation: completed from the catalogue and saved
        OutcomeNotFound,      // synchronisation: no catalogue record
        OutcomeLeftUnchanged, // synchronisation: not the maker's song, left as the user answered
        OutcomeSaved,         // edit: saved
        OutcomeNotSaved,      // the file could not be written
        OutcomeCopied,        // copy: the file is at its target
        OutcomeKept,          // copy: a file of that name was there and was kept
        OutcomeNotCopied      // copy: the copy failed
    };

    qint64 id = -1;
    QString path;
    outcomeEnum outcome = OutcomeUnreadable;
    QString reason;       // why the song was not done, for the user; may be empty
    QString copiedAs;     // copy: the name of the copy, when it is not the file's own
    SongInfo details;     // what the file holds after the work, when hasDetails
    bool hasDetails = false;

    // The reason given for a file that could not be read, translated.
    static QString unreadableReason();
    // Why the last save of `song` failed, translated (MetaSong::lastError()).
    static QString saveFailureReason(const MetaSong& song);
};

using SongRefs = QVector<SongRef>;
using SongOutcomes = QVector<SongOutcome>;

#endif
