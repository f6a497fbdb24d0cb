#ifndef LIBRARY_FILECOPIER_H
#define LIBRARY_FILECOPIER_H

#include <QCoreApplication>
#include <QString>

#include "library/songoutcome.h"

class WorkflowHost;

// Copies song files flat into a folder, with the karaoke graphics (".cdg")
// of an MP3 song beside it. Asks the host before replacing a file (or the
// graphics of one); "for all" answers hold for one copy run. Progress counts
// the files the run went through. A song whose graphics could not follow it
// is removed again: no song is left half there.
//
// Onto a player memory (setMemory()) each song is named as the memory and
// the player's index can hold it (MemoryNames), a file there whose name
// differs only in letter case is the same file, and room is kept free for
// the memory's index: the run stops at the first song that would eat into
// it, or that the memory had no room for after all.
class FileCopier
{
    Q_DECLARE_TR_FUNCTIONS(FileCopier)

public:
    struct Result
    {
        bool ok = true;         // nothing failed and the run was not stopped
        int copied = 0;         // files now at their target, those already there as the same file included
        int written = 0;        // of those, the ones this run wrote
        int kept = 0;           // files of the same name found there and kept at the user's answer
        int processed = 0;      // songs the run went through (copied, kept or failed)
        bool stopped = false;   // the host stopped the run before its end
        bool memoryFull = false; // the memory had no room left: the songs from there on are not copied
        SongOutcomes notCopied; // the songs that failed, each with its reason
        SongOutcomes renamed;   // the songs copied under another name (SongOutcome::copiedAs)
    };

    explicit FileCopier(WorkflowHost& host) : host(host) {}

    // The destination is on the player memory whose top folder is `root`;
    // `reserve` bytes of it stay free.
    void setMemory(const QString& root, qint64 reserve);

    Result copy(const SongRefs& songs, const QString& destDir);

    // Copies source to a target that does not exist yet and checks that the
    // copy is whole; a failed or short copy is removed and `reason` says why,
    // `full` whether the file system ran out of room.
    static bool copyFile(const QString& source, const QString& target, QString* reason, bool* full = nullptr);

    // The karaoke graphics beside an MP3 song ("x.mp3" -> "x.cdg"); empty
    // for other songs.
    static QString companionOf(const QString& song);

    // Why songs were not copied to a full memory.
    static QString memoryFullReason();

private:
    WorkflowHost& host;
    QString memoryRoot;
    qint64 memoryReserve = 0;
};

#endif
