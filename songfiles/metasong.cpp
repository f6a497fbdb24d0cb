#include "songfiles/metasong.h"

QString MetaSong::getFormatString(SongInfo::fileTypeEnum type)
{
    switch (type) {
    case SongInfo::TypeMidi0:
    case SongInfo::TypeMidi1:
        return QStringLiteral("MIDI");
    case SongInfo::TypeMf3:
        return QStringLiteral("MF3");
    case SongInfo::TypeMf4:
        return QStringLiteral("MF4");
    case SongInfo::TypeMf5:
        return QStringLiteral("MF5");
    case SongInfo::TypeMp3:
        return QStringLiteral("MP3");
    case SongInfo::TypeUnknown:
        break;
    }
    return QStringLiteral("UNKNOWN");
}
