#include "LimitRuns.h"

#include <sys/stat.h>
#include <QFile>

using namespace Qt::StringLiterals;

void LimitRuns::run(const Operation& operation, const QList<qint64>& limits) {
    if (!m_runs.done(operation)) {
        return;
    }
    for (qint64 bytes : limits) {
        once(operation, u"disk-full"_s, bytes);
    }
    once(operation, u"read-only-folder"_s, -1);
    once(operation, u"read-only-file"_s, -1);
}

void LimitRuns::once(const Operation& operation, const QString& mode, qint64 bytes) {
    const QString name = QLatin1String(operation.name);
    const QString what =
        QStringLiteral("%1, %2%3")
            .arg(name, mode)
            .arg(bytes >= 0 ? QStringLiteral(" at %1 bytes").arg(bytes) : QString());
    const bool readOnly = mode.startsWith(u"read-only");
    Figures& all = m_runs.figures();
    Figures::Limits& figures = readOnly ? all.readOnly : all.diskFull;
    const bool withPrevious = operation.output != nullptr;
    if (!m_runs.resetTrial(operation, withPrevious, readOnly)) {
        all.fault(what + QStringLiteral(": no program folder for the child"));
        return;
    }
    if (mode == u"read-only-file") {
        ::chmod(QFile::encodeName(m_runs.trialList()).constData(), 0444);
    }
    ChildProcess::Options options = m_runs.childOptions(operation, mode, bytes, readOnly);
    ChildProcess child(options);
    ++figures.cases;
    if (!child.readUntil("acted", kActMs)) {
        all.fault(what + QStringLiteral(": the child ended or hung: ") +
                  QString::fromUtf8(child.lines.join(" / ")));
        return;
    }
    // Meanwhile: the operation is done whole, or it is not done and the user was told.
    const FaultRuns::Judged meanwhile = m_runs.judge(operation, withPrevious, true);
    figures.lost += meanwhile.lost;
    const bool doneAlready =
        m_runs.notDone(operation, m_runs.root() + QStringLiteral("/snapshot/Bird List.mdb"))
            .isEmpty();
    if (!meanwhile.intact) {
        all.fault(what + QStringLiteral(": ") + meanwhile.problem);
    } else if (!doneAlready && !showedError(child.lines, "message")) {
        all.fault(what + QStringLiteral(": failed without a message: ") +
                  QString::fromUtf8(child.lines.join(" / ")));
    }
    if (mode == u"read-only-file") {
        ::chmod(QFile::encodeName(m_runs.trialList()).constData(), 0644);
    }
    // An operation that went through needs no second try.
    child.writeLine(doneAlready ? "done" : "again");
    if (!child.readUntil("done", kActMs)) {
        all.fault(what + QStringLiteral(": the second try ended or hung: ") +
                  QString::fromUtf8(child.lines.join(" / ")));
        return;
    }
    int exitCode = 0;
    child.wait(exitCode);
    const FaultRuns::Judged afterwards = m_runs.judge(operation, withPrevious);
    figures.lost += afterwards.lost;
    const QString undone = m_runs.notDone(operation, m_runs.trialList());
    if (showedError(child.lines, "retry") || !undone.isEmpty() || !afterwards.intact) {
        all.fault(what + QStringLiteral(": not done once the limit was lifted: ") + undone +
                  u"; "_s + afterwards.problem + u" / "_s +
                  QString::fromUtf8(child.lines.join(" / ")));
    }
}
