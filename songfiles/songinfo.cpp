#include "songfiles/songinfo.h"

#include <QDebug>

void SongInfo::clear()
{
    *this = SongInfo();
}

bool SongInfo::operator==(const SongInfo& o) const
{
    return title == o.title && artist == o.artist && altArtist == o.altArtist && genre == o.genre
        && author == o.author && length == o.length && userBpm == o.userBpm && key == o.key
        && filename == o.filename && shortname == o.shortname && isTavrel == o.isTavrel
        && markers == o.markers && format == o.format && mfxLongName == o.mfxLongName
        && mfxFlags == o.mfxFlags;
}

void SongInfo::dbgDump() const
{
    qDebug() << "Dump Info song ----------------------------------------------";
    qDebug() << "Format     :" << format;
    qDebug() << "Filename   :" << filename;
    qDebug() << "Shortname  :" << shortname;
    qDebug() << "Is Tavrel  :" << isTavrel;
    qDebug() << "Title      :" << title;
    qDebug() << "Artist     :" << artist;
    qDebug() << "AltArtist  :" << altArtist;
    qDebug() << "Genre      :" << genre;
    qDebug() << "Author     :" << author;
    qDebug() << "Length     :" << length;
    qDebug() << "userBpm    :" << userBpm;
    qDebug() << "Key        :" << key;
    if (markers.isEmpty()) {
        qDebug() << "NO Markers";
    } else {
        qDebug() << "Markers:";
        for (const Marker& m : markers)
            qDebug() << "  bar:" << m.bar << "  text:" << m.text;
    }
    qDebug() << "MfxLongName:" << mfxLongName;
    qDebug() << "MfxFlags   :"
             << QString("0x%1").arg(static_cast<quint8>(mfxFlags), 2, 16, QLatin1Char('0'));
    qDebug() << "Dump END ----------------------------------------------------";
}
