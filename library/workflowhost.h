#ifndef LIBRARY_WORKFLOWHOST_H
#define LIBRARY_WORKFLOWHOST_H

#include <QString>

#include "library/songoutcome.h"

// The face of a workflow: it answers the questions a workflow asks, shows its
// progress and takes its per-song outcomes. The main window implements it
// with its dialogs, a command line with its options.
class WorkflowHost
{
public:
    enum answerEnum { AnswerYes, AnswerYesAll, AnswerNo, AnswerNoAll };
    // The stretch of work a progress count belongs to.
    enum phaseEnum { PhaseImport, PhaseSync, PhaseBackup, PhaseWholeList, PhaseTransfer, PhaseIndex };

    virtual ~WorkflowHost() = default;

    // The copier found `target` already there: replace it?
    virtual answerEnum askReplace(const QString& target) = 0;
    // The song at `path` is not the maker's: complete it from the catalogue?
    virtual answerEnum askEditNotMaker(const QString& path) = 0;

    // A phase starts over `total` items (0 when not known yet).
    virtual void begin(phaseEnum phase, int total) = 0;
    // `done` of `total` items are through; may let events through.
    virtual void progress(int done, int total) = 0;
    // Looked at before each song: true stops the workflow there.
    virtual bool stopRequested() = 0;
    // The outcomes of the songs done since the last call, in working order.
    // Always delivered before a question, and before the workflow returns.
    virtual void songsDone(const SongOutcomes& outcomes) = 0;

    // Applies the answer to a question asked song by song: "Yes all" and
    // "No all" stop the asking and set the answer given for the rest.
    // Returns whether this song is done.
    static bool settle(answerEnum answer, bool& ask, bool& forAll)
    {
        if (answer == AnswerYesAll || answer == AnswerNoAll) {
            ask = false;
            forAll = answer == AnswerYesAll;
        }
        return answer == AnswerYes || answer == AnswerYesAll;
    }
};

#endif
