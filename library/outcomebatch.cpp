#include "library/outcomebatch.h"

#include "library/workflowhost.h"

namespace {

// Often enough for a table to follow the work, rarely enough for its writes
// to cost nothing beside the songs' reads and saves.
const qint64 kBatchMs = 250;
// A host whose handling of a batch takes longer the more songs it lists (a
// table read again whole) gets fewer, larger batches: it spends at most about
// a twentieth of the time on them.
const qint64 kWorkPerHostTime = 20;

} // namespace

OutcomeBatch::OutcomeBatch(WorkflowHost& host) : host(host), interval(kBatchMs)
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
    if (sinceFlush.elapsed() >= interval)
        flush();
}

void OutcomeBatch::flush()
{
    if (pending.isEmpty()) {
        sinceFlush.restart();
        return;
    }
    // Swapped out first: the host may run a nested workflow from its events.
    SongOutcomes batch;
    batch.swap(pending);
    QElapsedTimer hostTime;
    hostTime.start();
    host.songsDone(batch);
    interval = qMax(kBatchMs, kWorkPerHostTime * hostTime.elapsed());
    sinceFlush.restart();
}
