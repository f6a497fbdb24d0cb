#ifndef DATABASE_SONGSDBRECORD_H
#define DATABASE_SONGSDBRECORD_H

#include <QList>
#include <QString>

#include "songfiles/songinfo.h"

// One row of the reference song catalogue, as the lookups read it.
class SongsDbRecord
{
public:
    void dbgDump() const;

    QString title;
    QString artist;
    QString altArtist;
    QString genre;
    QString author;
    qint32 length = 0;  // seconds, -1 when the catalogue holds no number
    qint32 bpm = 0;     // -1 when the catalogue holds no number
    QString key;        // catalogue form, " -" marks a minor key
    QList<Marker> markers;
};

#endif
