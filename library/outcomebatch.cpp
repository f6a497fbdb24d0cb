#include "library/outcomebatch.h"

#include "library/workflowhost.h"

namespace {

// Often enough for a table to follow the work, rarely enough for its writes
// to cost nothing beside the songs' reads and saves.
const int kBatchMs = 250;

} // namespace

OutcomeBatch::OutcomeBatch(WorkflowHost& host) : host(host)
{
    sinceFlush.start();
}

OutcomeBatch::~OutcomeBatch()
{
    flush();
}

void OutcomeBatch::add(SongOutcome outcome)
{
    pending.append(std::move(outcome));
    if (sinceFlush.elapsed() >= kBatchMs)
        flush();
}

void OutcomeBatch::flush()
{
    sinceFlush.restart();
    if (pending.isEmpty())
        return;
    // Swapped out first: the host may run a nested workflow from its events.
    SongOutcomes batch;
    batch.swap(pending);
    host.songsDone(batch);
}
