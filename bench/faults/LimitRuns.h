#pragma once

#include "FaultRuns.h"

// The runs of an operation that meets a full disk or a read-only file or folder: a clear
// message, nothing lost meanwhile, and the operation through once the limit is lifted.
class LimitRuns {
public:
    explicit LimitRuns(FaultRuns& runs) : m_runs(runs) {}

    // Under a file-size limit of each of `limits` bytes, then with the folder, then the file,
    // read-only.
    void run(const Operation& operation, const QList<qint64>& limits);

private:
    void once(const Operation& operation, const QString& mode, qint64 bytes);

    FaultRuns& m_runs;
};
