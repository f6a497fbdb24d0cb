#ifndef SONGFILES_METASONG_H
#define SONGFILES_METASONG_H

#include "songfiles/songinfo.h"

#include <QString>

// The one way the program reads and writes song files of every format.
class MetaSong
{
public:
    // Short format name shown to the user: "MIDI", "MF3", "MF4", "MF5", "MP3",
    // or "UNKNOWN" for anything else.
    static QString getFormatString(SongInfo::fileTypeEnum type);
};

#endif
