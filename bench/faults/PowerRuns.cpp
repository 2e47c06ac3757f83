#include "PowerRuns.h"

#include "PowerCut.h"

#include <QFile>

using namespace Qt::StringLiterals;

void PowerRuns::run(const Operation& operation) {
    const FaultRuns::Done* done = m_runs.done(operation);
    if (!done) {
        return;
    }
    QList<long> cuts = done->syncs;
    cuts.append(done->calls + 1);
    for (qsizetype i = 0; i < cuts.size(); ++i) {
        cutBefore(operation, cuts[i], operation.output && i % 2 == 0);
    }
}

void PowerRuns::cutBefore(const Operation& operation, long call, bool withPrevious) {
    const QString name = QLatin1String(operation.name);
    Figures& figures = m_runs.figures();
    const long calls = m_runs.done(operation)->calls;
    const QString where = call > calls
                              ? QStringLiteral("after the last call")
                              : QStringLiteral("before call %1 of %2").arg(call).arg(calls);
    if (!m_runs.resetTrial(operation, withPrevious, false)) {
        figures.fault(name + QStringLiteral(": no program folder for the child"));
        return;
    }
    const QString log = m_runs.root() + QStringLiteral("/power.log");
    QFile::remove(log);
    ChildProcess::Options options = m_runs.childOptions(operation, u"power-cut"_s, -1);
    options.environment += FaultRuns::shimSettings(call > calls ? 0 : call, false, log);
    ChildProcess child(options);
    if (!child.readUntil("ready", kStartMs)) {
        figures.fault(name + QStringLiteral(": the child did not start"));
        return;
    }
    const FolderImage base = FolderImage::take(m_runs.trial());
    child.writeLine("go");
    const bool acted = child.readUntil("acted", kActMs);
    int exitCode = -1;
    const bool killed = child.wait(exitCode);
    if (call > calls ? !acted || exitCode != 0 : !killed) {
        figures.fault(QStringLiteral("%1, power cut %2: the child did not stop there: %3")
                          .arg(name, where, QString::fromUtf8(child.lines.join(" / "))));
        return;
    }
    QString problem;
    const std::optional<QList<DiskEvent>> events = readDiskLog(log, problem);
    if (!events) {
        figures.fault(name + QStringLiteral(": ") + problem);
        return;
    }
    Figures::PowerCuts& row = figures.operation(name).power;
    for (const Loss loss : kLosses) {
        const QMap<QString, QByteArray> files =
            afterPowerCut(base, *events, call, loss, m_runs.random());
        if (!writeFolder(m_runs.trial(), files)) {
            figures.fault(name + QStringLiteral(": the folder after a power cut cannot be built"));
            return;
        }
        const FaultRuns::Judged judged = m_runs.judge(operation, withPrevious);
        ++row.cases;
        row.intact += judged.intact ? 1 : 0;
        row.lost += judged.lost;
        if (!judged.intact) {
            figures.fault(QStringLiteral("%1, power cut %2, %3: %4")
                              .arg(name, where, lossName(loss), judged.problem));
        }
    }
}
