#ifndef LIBRARY_FILECOPIER_H
#define LIBRARY_FILECOPIER_H

#include <QString>

#include "library/songoutcome.h"

class WorkflowHost;

// Copies song files flat into a folder, each under its own file name, with
// the karaoke graphics (".cdg") of an MP3 song beside it. Asks the host before
// replacing a file; "for all" answers hold for one copy run. Progress counts
// the files the run went through.
class FileCopier
{
public:
    struct Result
    {
        bool ok = true;       // nothing failed and the run was not stopped
        int copied = 0;       // files now at their target, those already there as the same file included
        int kept = 0;         // files of the same name found there and kept at the user's answer
        int processed = 0;    // songs the run went through (copied, kept or failed)
        bool stopped = false; // the host stopped the run before its end
        SongOutcomes notCopied; // the songs that failed, each with its reason
    };

    explicit FileCopier(WorkflowHost& host) : host(host) {}

    Result copy(const SongRefs& songs, const QString& destDir);

    // Copies source to a target that does not exist yet and checks that the
    // copy is whole; a failed or short copy is removed and `reason` says why.
    static bool copyFile(const QString& source, const QString& target, QString* reason);

    // Where a source goes in destDir.
    static QString targetFor(const QString& source, const QString& destDir);
    // The karaoke graphics beside an MP3 song ("x.mp3" -> "x.cdg"); empty
    // for other songs.
    static QString companionOf(const QString& song);

private:
    WorkflowHost& host;
};

#endif
