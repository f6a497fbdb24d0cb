#ifndef INDEXCOMMIT_H
#define INDEXCOMMIT_H

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// Puts a new set of index files in the place of the old one. FAT32 cannot
// replace several files in one step, so the new files are first written
// completely under hidden temporary names and flushed; then the commit
// marker (the last file of the set) is deleted, the other files are renamed
// over their names and the marker is renamed last. Until the marker is gone
// the old set is whole; once it is gone, the temporary files left hold the
// whole new set, and the next run finishes the renames (Index does that).
// A run cut short at any step therefore never leaves a mix of old and new.
class IndexCommit
{
public:
    enum resultEnum { Committed, MemoryFull, CannotWrite, Stopped };

    explicit IndexCommit(const QString &folder);

    // The hidden name a file has while a commit writes it.
    static QString temporaryName(const QString &name);

    // Writes `files` (name and bytes, the marker last) and puts them in
    // place; `obsolete` names files removed before the marker goes. Nothing
    // of the old set changes unless there is room for both sets at once and
    // every new file was written.
    resultEnum commit(const QVector<QPair<QString, QByteArray>> &files, const QStringList &obsolete);

    // The renames of a commit whose marker is gone: each temporary file of
    // `names` still there replaces its name, the marker (the last) at the end.
    resultEnum finish(const QStringList &names);

    // Removes the temporary files of `names`; false when one stays.
    bool removeTemporaryFiles(const QStringList &names);

    // The file that could not be written, removed or renamed.
    QString failedFile() const { return failed; }

    // For tests: the commit stops dead before its step `step` (0 to 6 write
    // the temporary files, 7 removes the obsolete files, 8 the marker, 9 to
    // 15 rename, 16 flushes the folder), as a card pulled out would leave it.
    void stopBefore(int step) { stopStep = step; }

private:
    QString path(const QString &name) const;
    bool proceed();
    resultEnum writeTemporary(const QString &name, const QByteArray &bytes);
    bool renameOver(const QString &from, const QString &to);
    bool remove(const QString &name);
    bool syncFolder();

    QString folder;
    QString failed;
    int stepsDone = 0;
    int stopStep = -1;
};

#endif // INDEXCOMMIT_H
