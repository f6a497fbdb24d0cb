#ifndef LIBRARY_FILECOPIER_H
#define LIBRARY_FILECOPIER_H

#include <QString>
#include <QStringList>

#include "library/songoutcome.h"

class WorkflowHost;

// Copies song files flat into a folder, each under its own file name, with
// the karaoke graphics (".cdg") of an MP3 song beside it. Asks the host before
// replacing a file; "for all" answers hold for one copy run. Progress counts
// the files the run tried to copy.
class FileCopier
{
public:
    struct Result
    {
        bool ok = true;       // nothing failed and the run was not stopped
        int copied = 0;       // files now at their target, those already there as the same file included
        bool stopped = false; // the host stopped the run before its end
    };

    explicit FileCopier(WorkflowHost& host) : host(host) {}

    Result copy(const SongRefs& songs, const QString& destDir);

    // Where a source goes in destDir.
    static QString targetFor(const QString& source, const QString& destDir);
    // The karaoke graphics beside an MP3 song ("x.mp3" -> "x.cdg"); empty
    // for other songs.
    static QString companionOf(const QString& song);
    // The sources not at their target in destDir after a copy (nor the
    // karaoke graphics of an MP3 song that has some).
    static QStringList missingAfterCopy(const SongRefs& songs, const QString& destDir);

private:
    WorkflowHost& host;
};

#endif
