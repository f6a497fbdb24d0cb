#include "cli/clihost.h"

#include "cli/console.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interruptCount = 0;

extern "C" void onInterrupt(int)
{
    interruptCount = 1;
    // The next Ctrl+C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

CliHost::CliHost(Console& console) : console(console)
{
}

WorkflowHost::answerEnum CliHost::askReplace(const QString&)
{
    return replaceAnswer;
}

WorkflowHost::answerEnum CliHost::askEditNotMaker(const QString&)
{
    // Never reached: the synchronisation is told the answer beforehand.
    return AnswerNoAll;
}

QString CliHost::phaseLabel(phaseEnum phase)
{
    switch (phase) {
    case PhaseImport:
        return tr("Lettura");
    case PhaseSync:
        return tr("Sincronizzazione");
    case PhaseBackup:
        return tr("Backup");
    case PhaseWholeList:
        return tr("Aggiornamento");
    case PhaseTransfer:
        return tr("Trasferimento");
    case PhaseIndex:
        break;
    }
    return tr("Aggiornamento database");
}

void CliHost::begin(phaseEnum phase, int total)
{
    label = phaseLabel(phase);
    console.progress(label, 0, total);
}

void CliHost::progress(int done, int total)
{
    console.progress(label, done, total);
}

bool CliHost::stopRequested()
{
    return interrupted();
}

void CliHost::songsDone(const SongOutcomes& outcomes)
{
    for (const SongOutcome& outcome : outcomes) {
        if (onSong)
            onSong(outcome);
    }
}

bool CliHost::interrupted()
{
    return interruptCount != 0;
}

void CliHost::catchInterrupt()
{
    std::signal(SIGINT, onInterrupt);
}
