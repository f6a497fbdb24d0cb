#ifndef SONGFILES_SONGREPLACEMENT_H
#define SONGFILES_SONGREPLACEMENT_H

#include "songfiles/songfilestate.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// New content for a song file, put in place only when all of it is written
// and flushed to disk, so a failed save leaves the song as it was.
//
// Normally the content goes to a hidden temporary file in the song's folder
// (created exclusively, named without a song extension so that a leftover is
// never indexed on a card), which takes the song's extended attributes, owner
// and mode, and replaces the song in one rename. A save through a symbolic
// link replaces the link's target. A song with more than one hard link would
// lose its other links to a rename, so when it may be written it is saved in
// place: first copied to a hidden sibling, flushed, then rewritten; on any
// failure the copy is written back, and the copy is deleted once the song is
// safe. Only a crash in between leaves the copy, which the next import of the
// song reports (leftoverCopyOf).
class SongReplacement
{
public:
    enum Failure {
        NoFailure,
        ChangedOnDisk,     // not the file that was read
        Deleted,           // the file that was read is gone
        ReadOnly,          // the song or its memory is write-protected
        FolderNotWritable, // no file can be made beside the song
        NoSpace,           // the memory is full or the file too large for it
        WriteFailed,       // any other failed write, flush, close or rename
        LeftoverInTheWay,  // a copy left by an interrupted save is still there
        CopyKept,          // a failed in-place save could not put the song back
        NoSource           // there is no song to take the rest of the content from
    };

    // expected: the song as it was read, or null for no check. It is checked
    // when `path` is the path it was read from or names the same file.
    SongReplacement(const QString& path, const SongFileState* expected);
    ~SongReplacement();
    SongReplacement(const SongReplacement&) = delete;
    SongReplacement& operator=(const SongReplacement&) = delete;

    // Checks the song and the folder and prepares the new content's file.
    bool begin();
    bool write(const QByteArray& data);
    // Appends the song's own bytes from `offset` to its end (an MP3's audio).
    bool appendOriginalFrom(qint64 offset);
    bool commit();

    bool hasOriginal() const { return haveOriginal; }
    Failure failure() const { return failed; }
    // After commit: the new file's identity, size and time (no hash).
    SongFileState writtenState() const;

    // The hidden copy an interrupted in-place save of `path` left behind,
    // or an empty string when there is none.
    static QString leftoverCopyOf(const QString& path);

private:
    bool fail(Failure kind);
    bool failWithErrno(const char* origin, const char* what, Failure folderKind);
    bool matchesExpected();
    bool beginRename();
    bool beginInPlace();
    bool copyFileTo(int from, int to);
    bool takeOwnerAndMode();
    void undo();
    bool restoreFromCopy();

    QString requested;
    const SongFileState* expected;
    QString target;     // the file written: the song, or a link's target
    QByteArray folder;  // its folder, encoded
    QByteArray tempName;
    QByteArray copyName;
    QString keptCopyPath;
    struct stat original {};
    struct stat written {};
    int sourceFd = -1;  // the song, or its copy when saving in place
    int outFd = -1;
    qint64 writtenBytes = 0;
    bool haveOriginal = false;
    bool inPlace = false;
    bool touched = false;   // in place: the song's bytes were written to
    bool committed = false;
    Failure failed = NoFailure;
};

#endif
