#include "ResidentMemory.h"

#include "TestPlatform.h"
#include "services/MDatabase.h"
#include "record_form/FrmMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace rss {

namespace {

qint64 residentKib() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression line(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

}  // namespace

int probe(const QString& folder) {
    TestPlatform platform(folder);
    if (!openBirdListDatabase(*platform.program)) {
        return 1;
    }
    FrmMain form(*platform.program, [] {});
    if (form.Form_Load()) {
        return 1;
    }
    form.show();
    QCoreApplication::processEvents();
    printf("%lld\n", residentKib());
    return 0;
}

double afterOpening(const QString& folder, int runs, QString& failure) {
    QList<double> mib;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kProbeOption), folder});
        bool read = false;
        const qint64 kib = child.waitForFinished(120000) && child.exitCode() == 0
                               ? child.readAllStandardOutput().trimmed().toLongLong(&read)
                               : 0;
        if (!read || kib <= 0) {
            failure = QStringLiteral("the memory of a program on %1 could not be read").arg(folder);
            return -1;
        }
        mib.append(double(kib) / 1024);
    }
    std::sort(mib.begin(), mib.end());
    return mib[mib.size() / 2];
}

}  // namespace rss
