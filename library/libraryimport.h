#ifndef LIBRARY_LIBRARYIMPORT_H
#define LIBRARY_LIBRARYIMPORT_H

#include <QStringList>

class WorkflowHost;

// Reads picked song files for the library: one outcome per file, read (with
// the song's details, its path and its file name) or unreadable.
class LibraryImport
{
public:
    struct Summary
    {
        int songs = 0;        // files read
        int unreadable = 0;
        int tavrelSongs = 0;  // the maker's songs among those read
        bool stopped = false; // the host asked to stop before the last file
        // Hidden copies left beside songs by a save that was interrupted:
        // each holds its song as it was before that save.
        QStringList leftoverCopies;
    };

    explicit LibraryImport(WorkflowHost& host) : host(host) {}

    // Reads `paths` in order (phase PhaseImport).
    Summary run(const QStringList& paths);

    // The file name of a path: the text after its last "/".
    static QString shortNameOf(const QString& path);

private:
    WorkflowHost& host;
};

#endif
