#ifndef LIBRARY_SONGEDIT_H
#define LIBRARY_SONGEDIT_H

#include <QString>
#include <QStringList>

#include "library/songoutcome.h"

class MetaSong;
class WorkflowHost;

// Edits by hand: one song's details saved with the manual rules of MetaSong,
// and details spread over a whole list of songs.
class SongEdit
{
public:
    // What a whole-list update writes into every song.
    struct Spread
    {
        bool titleFromFileName = false;  // each song's title becomes its file name without extension
        bool author = false;
        bool artist = false;
        bool genre = false;
        QString authorText;
        QString artistText;
        QString genreText;
    };

    explicit SongEdit(WorkflowHost& host) : host(host) {}

    // Saves `info` into `song` (read from song.path) and reads the file back:
    // saved or not, with what the file holds then.
    static SongOutcome save(MetaSong& song, const SongInfo& info, const SongRef& ref);

    // Writes `spread` into every song of the list but the one with the id
    // `editedId` (phase PhaseWholeList); unreadable songs are passed over.
    // False when the host stopped the run before its end.
    bool spreadOver(const SongRefs& songs, qint64 editedId, const Spread& spread);

    // A file's name without its folder and its last extension.
    static QString titleFromFileName(const QString& path);

    // The editor's rules for what is typed by hand: a tempo of up to three
    // digits; a length as minutes and seconds of up to two digits each, where
    // an empty field counts as 0 and seconds above 59 are kept as typed; a
    // key from the key list, or none.
    static const int TempoDigits = 3;
    static const int LengthFieldDigits = 2;
    // The pattern of a field's validator, and whether a whole text fits it.
    static QString fieldPattern(int digits);
    static bool fitsField(const QString& text, int digits);
    static int lengthFromFields(const QString& minutes, const QString& seconds);
    // "mm:ss" (either side may be empty); false when it breaks the rules.
    static bool lengthFromText(const QString& text, int& seconds);
    static QStringList keyNames();

private:
    WorkflowHost& host;
};

#endif
