#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

bool QtShell::openUrl(const QUrl& url) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        // Whatever else the desktop offers, if anything.
        return QDesktopServices::openUrl(url);
    }
    // The opener is started for itself, and is not stopped when it outlives the wait; it reads
    // nothing from Plovix and writes nowhere that Plovix has to read.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (process->waitForFinished(m_waitMs)) {
        const bool opened =
            process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return opened;
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}
