#include "Results.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

const SizeResult* sizeOf(const BenchRun& run, int sightings) {
    for (const SizeResult& size : run.sizes) {
        if (size.sightings == sightings) {
            return &size;
        }
    }
    return nullptr;
}

// The largest size, when it is larger than the target size.
const SizeResult* largest(const BenchRun& run) {
    if (run.sizes.isEmpty() || run.sizes.last().sightings <= kTargetSize) {
        return nullptr;
    }
    return &run.sizes.last();
}

QString number(double value) {
    const int decimals = value >= 100 ? 0 : value >= 10 ? 1 : value >= 1 ? 2 : 3;
    return QLocale::c().toString(value, 'f', decimals);
}

QString firstMatch(const QString& file, const QString& pattern) {
    QFile text(file);
    if (!text.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QRegularExpression expression(pattern, QRegularExpression::MultilineOption);
    return expression.match(QString::fromUtf8(text.readAll())).captured(1).trimmed();
}

QString targetText(const Measure& measure) {
    if (measure.targetMs > 0) {
        return QStringLiteral("≤ %1 ms").arg(measure.targetMs);
    }
    return measure.targetRatio > 0 ? QStringLiteral("≤ %1").arg(measure.targetRatio) : QString();
}

bool meets(const Measure& measure, const SizeResult& size) {
    const QString key = QLatin1String(measure.key);
    if (measure.targetMs > 0) {
        return size.ms.value(key) <= measure.targetMs;
    }
    return measure.targetRatio <= 0 || size.ratio(key) <= measure.targetRatio;
}

double growth(const BenchRun& run, const QString& key) {
    const SizeResult* from = sizeOf(run, kTargetSize);
    const SizeResult* to = largest(run);
    return from && to && from->ms.value(key) > 0 ? to->ms.value(key) / from->ms.value(key) : 0;
}

}  // namespace

QString machineDescription() {
    const QString cpu =
        firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("^model name\\s*:(.*)$"));
    const double memory =
        firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("^MemTotal:\\s*(\\d+)"))
            .toDouble();
    return QStringLiteral("%1, %2 cores, %3 GiB, %4 (Linux %5)")
        .arg(cpu.isEmpty() ? QSysInfo::currentCpuArchitecture() : cpu)
        .arg(QThread::idealThreadCount())
        .arg(std::round(memory / 1024 / 1024))
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion());
}

QString resultTable(const BenchRun& run) {
    const SizeResult* target = sizeOf(run, kTargetSize);
    const SizeResult* grown = largest(run);
    QStringList head = {QStringLiteral("Measure, ms (ratio to baseline)")};
    for (const SizeResult& size : run.sizes) {
        head.append(QLocale::c().toString(size.sightings) + QStringLiteral(" sightings"));
    }
    if (target) {
        head.append(QStringLiteral("Target at 11,131"));
    }
    if (grown && target) {
        head.append(QStringLiteral("Growth to %1").arg(QLocale::c().toString(grown->sightings)));
    }
    QList<QStringList> rows;
    QStringList baseline = {QStringLiteral("Baseline: one SELECT of every column")};
    QStringList memory = {QStringLiteral("Memory after opening, MiB beyond the starter list")};
    for (const SizeResult& size : run.sizes) {
        baseline.append(number(size.baselineMs));
        memory.append(number(size.rssExtraMib));
    }
    if (target) {
        baseline.append(QString());
        memory.append(QStringLiteral("≤ %1 %2")
                          .arg(kMostExtraMib)
                          .arg(target->rssExtraMib <= kMostExtraMib ? QStringLiteral("met")
                                                                    : QStringLiteral("MISSED")));
    }
    rows.append(baseline);
    for (const Measure& measure : kMeasures) {
        const QString key = QLatin1String(measure.key);
        QStringList row = {QLatin1String(measure.caption)};
        for (const SizeResult& size : run.sizes) {
            row.append(
                QStringLiteral("%1 (%2)").arg(number(size.ms.value(key)), number(size.ratio(key))));
        }
        if (target) {
            const QString text = targetText(measure);
            row.append(text.isEmpty()
                           ? text
                           : text + (meets(measure, *target) ? QStringLiteral(" met")
                                                             : QStringLiteral(" MISSED")));
        }
        if (grown && target) {
            row.append(QStringLiteral("%1×").arg(number(growth(run, key))));
        }
        rows.append(row);
    }
    rows.append(memory);
    QString table = u"| "_s + head.join(u" | "_s) + u" |\n|"_s;
    for (qsizetype i = 0; i < head.size(); ++i) {
        table += i == 0 ? u"---|"_s : u"---:|"_s;
    }
    table += u'\n';
    for (QStringList& row : rows) {
        while (row.size() < head.size()) {
            row.append(QString());
        }
        table += u"| "_s + row.join(u" | "_s) + u" |\n"_s;
    }
    table +=
        QStringLiteral(
            "\neBird import into a new life list, %1 rows (%2 species): %3 ms, "
            "target ≤ %4 ms %5\n")
            .arg(QLocale::c().toString(run.eBirdRows))
            .arg(QLocale::c().toString(run.eBirdSpecies))
            .arg(number(run.eBirdMs))
            .arg(kEBirdMostMs)
            .arg(run.eBirdMs <= kEBirdMostMs ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return table;
}

QByteArray resultJson(const BenchRun& run) {
    QJsonObject sizes;
    for (const SizeResult& size : run.sizes) {
        QJsonObject measures;
        for (const Measure& measure : kMeasures) {
            const QString key = QLatin1String(measure.key);
            measures[key] =
                QJsonObject{{u"ms"_s, size.ms.value(key)}, {u"ratio"_s, size.ratio(key)}};
        }
        sizes[QString::number(size.sightings)] = QJsonObject{{u"baseline_ms"_s, size.baselineMs},
                                                             {u"measures"_s, measures},
                                                             {u"rss_extra_mib"_s, size.rssExtraMib},
                                                             {u"file_bytes"_s, size.fileBytes}};
    }
    return QJsonDocument(
               QJsonObject{{u"machine"_s, run.machine},
                           {u"date"_s, run.date},
                           {u"runs"_s, run.runs},
                           {u"sizes"_s, sizes},
                           {u"ebird_import"_s, QJsonObject{{u"rows"_s, run.eBirdRows},
                                                           {u"species"_s, run.eBirdSpecies},
                                                           {u"ms"_s, run.eBirdMs}}}})
        .toJson();
}

QStringList missedTargets(const BenchRun& run) {
    QStringList missed;
    if (run.eBirdRows == kEBirdRows && run.eBirdMs > kEBirdMostMs) {
        missed.append(QStringLiteral("eBird import: %1 ms for %2 rows")
                          .arg(number(run.eBirdMs), QLocale::c().toString(run.eBirdRows)));
    }
    const SizeResult* target = sizeOf(run, kTargetSize);
    if (!target) {
        return missed;
    }
    for (const Measure& measure : kMeasures) {
        if (!meets(measure, *target)) {
            missed.append(QStringLiteral("%1: %2 at 11,131 sightings")
                              .arg(QLatin1String(measure.caption), targetText(measure)));
        }
        if (largest(run) && growth(run, QLatin1String(measure.key)) > kMostGrowth) {
            missed.append(QStringLiteral("%1: grows %2 times")
                              .arg(QLatin1String(measure.caption))
                              .arg(number(growth(run, QLatin1String(measure.key)))));
        }
    }
    if (target->rssExtraMib > kMostExtraMib) {
        missed.append(QStringLiteral("Memory: %1 MiB beyond the starter list")
                          .arg(number(target->rssExtraMib)));
    }
    return missed;
}
