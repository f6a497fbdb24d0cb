#include "library/songoutcome.h"

#include "songfiles/metasong.h"

#include <QCoreApplication>

QString SongOutcome::unreadableReason()
{
    return QCoreApplication::translate("SongOutcome", "non è stato possibile leggere il file");
}

QString SongOutcome::saveFailureReason(const MetaSong& song)
{
    return song.lastError().text;
}
