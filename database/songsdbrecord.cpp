#include "database/songsdbrecord.h"

#include <QDebug>

void SongsDbRecord::dbgDump() const
{
    qDebug() << "  Title     :" << title;
    qDebug() << "  Genre     :" << genre;
    qDebug() << "  Artist    :" << artist;
    qDebug() << "  AltArtist :" << altArtist;
    qDebug() << "  Author    :" << author;
    qDebug() << "  Bpm       :" << bpm;
    qDebug() << "  Key       :" << key;
    qDebug() << "  Length    :" << length;
    if (markers.isEmpty()) {
        qDebug() << "  NO Markers";
        return;
    }
    qDebug() << "  Markers:";
    for (const Marker& m : markers)
        qDebug() << "    bar:" << m.bar << "  text:" << m.text;
    qDebug();
}
