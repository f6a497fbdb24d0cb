#ifndef INDEXSET_H
#define INDEXSET_H

#include "index/songinfoindex.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// The seven files of a player index as bytes, and the check that they agree
// before anything trusts them. The player finds a song's records by offset
// arithmetic alone, so files that disagree make it show wrong songs: a set
// is taken whole or refused, never half-used.
class IndexSet
{
    Q_DECLARE_TR_FUNCTIONS(Index)

public:
    // In commit order: "fsinfos.id3", the commit marker, comes last.
    enum fileEnum { PathFile, OrdFile, TitleFile, TitleLettersFile, ArtistFile, ArtistLettersFile, NumFile, FileCount };
    static const char *const fileNames[FileCount];
    static int fileOf(const QString &name);  // -1 for another name

    QByteArray files[FileCount];

    // Reads the files from `paths` (one per file, in fileEnum order); false
    // with `reason` when one cannot be read.
    bool read(const QStringList &paths, QString &reason);

    // Checks the files against each other in both directions and, when they
    // agree, gives their songs in record order (a song's number is its record
    // number in "index.id3"), each path also below `root` as `absPath`.
    // Accepts everything Index writes: the leading run of songs without an
    // artist before the first artist header, counts cut to 16 bits, records
    // that tie under the orderings. False with `reason` otherwise.
    bool decode(const QString &root, QList<SongInfoIndex> &songs, QString &reason) const;
};

#endif // INDEXSET_H
