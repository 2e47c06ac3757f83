#include "KillRuns.h"

#include <QThread>

using namespace Qt::StringLiterals;

void KillRuns::atRandom(const Operation& operation, int kills) {
    const FaultRuns::Done* done = m_runs.done(operation);
    if (!done) {
        return;
    }
    m_runs.figures().operation(QLatin1String(operation.name)).calls = done->calls;
    QRandomGenerator& random = m_runs.random();
    for (int i = 0; i < kills; ++i) {
        const bool atCall = i % 2 == 0;
        const bool withPrevious = operation.output && (i / 2) % 2 == 0;
        const long call = atCall ? 1 + long(random.bounded(quint32(done->calls))) : 0;
        const bool after = atCall && random.bounded(2) == 1;
        const auto delay = qint64(random.bounded(quint32(done->ms * 1200) + 1));  // µs
        once(operation, call, after, delay, withPrevious, i % 4 == 3);
    }
}

void KillRuns::atEveryCall(const Operation& operation) {
    const FaultRuns::Done* done = m_runs.done(operation);
    if (!done) {
        return;
    }
    m_runs.figures().operation(QLatin1String(operation.name)).calls = done->calls;
    for (long call = 1; call <= done->calls; ++call) {
        for (const bool after : {false, true}) {
            const bool withPrevious = operation.output && (call % 2 == 0) != after;
            once(operation, call, after, 0, withPrevious, (call % 8 == 0) && after);
        }
    }
    // A run that ended before reaching its call makes fewer calls than the one counted: what
    // was not reached was not tried.
    const Figures::Kills& row = m_runs.figures().operation(QLatin1String(operation.name));
    if (row.callsKilled.size() < done->calls) {
        m_runs.figures().fault(QStringLiteral("%1: %2 of its %3 calls were never reached")
                                   .arg(QLatin1String(operation.name))
                                   .arg(done->calls - row.callsKilled.size())
                                   .arg(done->calls));
    }
}

void KillRuns::once(const Operation& operation, long call, bool after, qint64 delayUs,
                    bool withPrevious, bool runAgain) {
    const QString name = QLatin1String(operation.name);
    Figures& figures = m_runs.figures();
    if (!m_runs.resetTrial(operation, withPrevious, false)) {
        figures.fault(name + QStringLiteral(": no program folder for the child"));
        return;
    }
    ChildProcess::Options options = m_runs.childOptions(operation, u"plain"_s, -1);
    QString how;
    if (call > 0) {
        options.environment += FaultRuns::shimSettings(call, after);
        how = QStringLiteral("killed %1 call %2 of %3")
                  .arg(after ? u"after"_s : u"at"_s)
                  .arg(call)
                  .arg(m_runs.done(operation)->calls);
    }
    ChildProcess child(options);
    if (!child.readUntil("ready", kStartMs)) {
        figures.fault(name + QStringLiteral(": the child did not start"));
        return;
    }
    if (call == 0) {
        QThread::usleep(quint64(delayUs));
        child.kill();
        how = QStringLiteral("killed %1 µs after the start").arg(delayUs);
    }
    int exitCode = 0;
    const bool killed = child.wait(exitCode);
    const FaultRuns::Judged judged = m_runs.judge(operation, withPrevious);
    Figures::Kills& row = figures.operation(name);
    ++row.kills;
    row.intact += judged.intact ? 1 : 0;
    row.lost += judged.lost;
    if (call > 0 && killed) {
        row.callsKilled.insert(call);
    }
    if (!judged.intact) {
        figures.fault(QStringLiteral("%1, %2: %3").arg(name, how, judged.problem));
    } else if (runAgain) {
        m_runs.laterRun(operation, how);
    }
}
