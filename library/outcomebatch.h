#ifndef LIBRARY_OUTCOMEBATCH_H
#define LIBRARY_OUTCOMEBATCH_H

#include <QElapsedTimer>

#include "library/songoutcome.h"

class WorkflowHost;

// Collects a workflow's outcomes and hands them to the host in batches: when
// the last batch is older than a quarter of a second (or than twenty times
// the host took over it), before every question (flush()) and when the
// workflow ends (at the latest on destruction). A host that writes a table
// applies each batch at once instead of song by song.
class OutcomeBatch
{
public:
    explicit OutcomeBatch(WorkflowHost& host);
    ~OutcomeBatch();
    OutcomeBatch(const OutcomeBatch&) = delete;
    OutcomeBatch& operator=(const OutcomeBatch&) = delete;

    void add(SongOutcome outcome);
    void flush();

private:
    WorkflowHost& host;
    SongOutcomes pending;
    QElapsedTimer sinceFlush;
    qint64 interval; // ms between batches, after the host's time over the last one
};

#endif
