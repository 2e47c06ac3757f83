#pragma once

#include "FaultRuns.h"

// The runs of an operation cut short by a power failure: the child is stopped at a chosen call
// and its folder built as the disk would hold it, from an image taken before the operation and
// the record the preloaded library kept of every change since, then judged as after a kill.
class PowerRuns {
public:
    explicit PowerRuns(FaultRuns& runs) : m_runs(runs) {}

    // A cut just before each call that syncs a file or folder and one just after the last
    // call, each with every way of losing the writes not yet synced.
    void run(const Operation& operation);

private:
    void cutBefore(const Operation& operation, long call, bool withPrevious);

    FaultRuns& m_runs;
};
