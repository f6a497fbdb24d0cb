#include "library/outcometally.h"

void OutcomeTally::add(const SongOutcomes& outcomes)
{
    for (const SongOutcome& song : outcomes) {
        ++counts[song.outcome];
        if (song.outcome != SongOutcome::OutcomeUnreadable && song.outcome != SongOutcome::OutcomeNotSaved
            && song.outcome != SongOutcome::OutcomeNotCopied)
            continue;
        SongOutcome problem;
        problem.id = song.id;
        problem.path = song.path;
        problem.outcome = song.outcome;
        problem.reason = song.reason;
        failed.append(problem);
    }
}
