#ifndef SONGFILES_SONGINFO_H
#define SONGFILES_SONGINFO_H

#include <QList>
#include <QString>

// One section marker: a label and the bar where the section starts (1 = first bar).
struct Marker
{
    QString text;
    int bar = 0;

    bool operator==(const Marker& o) const { return text == o.text && bar == o.bar; }
    bool operator!=(const Marker& o) const { return !(*this == o); }
};

// One song's details as read from or written to a song file. A plain value.
class SongInfo
{
public:
    enum fileTypeEnum {
        TypeUnknown = 0,
        TypeMidi0 = 1,
        TypeMidi1 = 2,
        TypeMf3 = 3,
        TypeMf4 = 4,
        TypeMf5 = 5,
        TypeMp3 = 6
    };

    SongInfo() = default;
    SongInfo(const SongInfo&) = default;
    SongInfo& operator=(const SongInfo&) = default;

    void clear();
    void dbgDump() const;

    bool operator==(const SongInfo& o) const;
    bool operator!=(const SongInfo& o) const { return !(*this == o); }

    QString title;
    QString artist;
    QString altArtist;
    QString genre;
    QString author;
    qint32 length = 0;
    qint32 userBpm = 0;
    QString key;
    QString filename;
    QString shortname;
    bool isTavrel = false;
    QList<Marker> markers;
    QString format;
    QString mfxLongName;
    qint8 mfxFlags = 0;
};

#endif
