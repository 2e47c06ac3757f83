#pragma once

#include "FaultRuns.h"

// The runs of an operation in a child that is killed: at random moments, at random calls that
// change files, and at every one of those calls in turn.
class KillRuns {
public:
    explicit KillRuns(FaultRuns& runs) : m_runs(runs) {}

    // `kills` runs: half killed at a random moment, half at a random call, before or after it.
    void atRandom(const Operation& operation, int kills);
    // Two runs for each call that changes files: ended just before it, and just after it.
    void atEveryCall(const Operation& operation);

private:
    // One run on a fresh trial folder, ended before or after `call`, or `delayUs` µs after its
    // start when `call` is 0; every so often, with `runAgain`, the operation is run once more on
    // what it left.
    void once(const Operation& operation, long call, bool after, qint64 delayUs, bool withPrevious,
              bool runAgain);

    FaultRuns& m_runs;
};
