#ifndef CLI_CLICOMMANDS_H
#define CLI_CLICOMMANDS_H

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>

#include "cli/arguments.h"
#include "library/songoutcome.h"

class Console;
class Index;

// The commands of the command line, each a thin caller of the library's
// workflows: what a song became goes to standard output, every song not done
// to standard error with its reason. Each returns the exit status: 0 when all
// was done, 1 otherwise.
class CliCommands
{
    Q_DECLARE_TR_FUNCTIONS(CliCommands)

public:
    CliCommands(Console& console, const Arguments& args) : console(console), args(args) {}

    // Runs the command named in the arguments, which have been checked.
    int run();

private:
    // Song files (songcommands.cpp).
    int info();
    int set();
    int sync();
    int backup();
    // Player memories (memorycommands.cpp).
    int transfer();
    int index();
    int checkIndex(Index& index, const QString& root);
    // Ejects the removable memory at `root` (--eject) and says whether it can be taken out.
    void eject(const QString& root);
    int list();

    // The song files named, in order; the id is the position.
    SongRefs songs() const;
    // The first `count` songs, in working order, have their outcome.
    void reached(int count) { songsReached = qMax(songsReached, count); }
    // Names every song that no outcome reached (the run was stopped).
    void reportNotReached();
    void songFailed(const QString& path, const QString& reason);
    void failed(const QString& message);
    // Warns (on standard error) of a copy an interrupted save left beside a song.
    void warnLeftoverCopy(const QString& copy);
    int status() const { return allDone ? 0 : 1; }
    // A folder named on the command line, absolute; empty with a message when
    // it is not an existing folder.
    QString existingFolder(const QString& path);
    QString memoryBusy(const QString& root) const;
    // Why an index run on `root` failed, for the command line.
    static QString indexProblem(const Index& index, const QString& root);

    static QString unreadableReason(const QString& path);
    static QString notSavedReason(const SongOutcome& outcome);
    // A song's details for people, in the order of the song editor.
    static QList<QPair<QString, QString>> detailRows(const SongInfo& info);

    Console& console;
    const Arguments& args;
    bool allDone = true;
    int songsReached = 0;
};

#endif
