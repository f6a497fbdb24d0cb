#ifndef LIBRARY_OUTCOMETALLY_H
#define LIBRARY_OUTCOMETALLY_H

#include "library/songoutcome.h"

// What a workflow's songs came to, for its final report: a count per
// outcome, and the songs that could not be read, saved or copied, each with
// its reason (without their details, so a long run stays small).
class OutcomeTally
{
public:
    void add(const SongOutcomes& outcomes);

    int count(SongOutcome::outcomeEnum outcome) const { return counts[outcome]; }
    // Unreadable, not saved and not copied songs, in working order.
    const SongOutcomes& problems() const { return failed; }

private:
    int counts[SongOutcome::OutcomeNotCopied + 1] = {};
    SongOutcomes failed;
};

#endif
