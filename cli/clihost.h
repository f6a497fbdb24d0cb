#ifndef CLI_CLIHOST_H
#define CLI_CLIHOST_H

#include <QCoreApplication>

#include <functional>

#include "library/workflowhost.h"

class Console;

// The command line's face for the library's workflows: it never asks, it
// answers from the options; progress goes to the console's progress line;
// each song's outcome to the command that runs the workflow. Ctrl+C asks the
// workflow to stop after the song at hand (a second one ends the program).
class CliHost : public WorkflowHost
{
    Q_DECLARE_TR_FUNCTIONS(CliHost)

public:
    explicit CliHost(Console& console);

    // The answer to "replace a file of the same name?" (--replace, --keep).
    answerEnum replaceAnswer = AnswerNoAll;
    // Called for each song done, in working order.
    std::function<void(const SongOutcome&)> onSong;

    answerEnum askReplace(const QString& target) override;
    answerEnum askEditNotMaker(const QString& path) override;
    void begin(phaseEnum phase, int total) override;
    void progress(int done, int total) override;
    bool stopRequested() override;
    // The progress line's label of a phase.
    static QString phaseLabel(phaseEnum phase);
    void songsDone(const SongOutcomes& outcomes) override;

    // Whether Ctrl+C was pressed since the program started.
    static bool interrupted();
    // Lets Ctrl+C stop the workflows between songs.
    static void catchInterrupt();

private:
    Console& console;
    QString label;
};

#endif
