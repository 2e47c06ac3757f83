// plovix-bench: how long the life-list operations take on generated life lists of several sizes,
// against the least a pass over the list can cost, and how much memory a large list takes.
//
//   plovix-bench [--sightings N]... [--runs K] [--json FILE]
#include "GeneratedLifeList.h"
#include "ImportMeasure.h"
#include "Measures.h"
#include "ResidentMemory.h"
#include "Results.h"
#include "database/DbError.h"
#include "database/NewLifeList.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QString kDataDir = QStringLiteral(PLOVIX_DATA_DIR);

void say(const QString& text) {
    fprintf(stderr, "%s\n", qPrintable(text));
}

QtMessageHandler standardHandler = nullptr;

// The platform plugin's notes on what an offscreen window cannot do are no news here.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support"))) {
        standardHandler(type, context, message);
    }
}

struct Options {
    QList<int> sightings;
    int runs = 7;
    QString json;
};

std::optional<Options> readOptions(const QStringList& arguments, QString& error) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const QString value = arguments.value(i + 1);
        bool number = false;
        const int n = value.toInt(&number);
        if (option == u"--sightings" && number && n >= 2) {
            options.sightings.append(n);
        } else if (option == u"--runs" && number && n >= 5) {
            options.runs = n;
        } else if (option == u"--json" && !value.isEmpty()) {
            options.json = value;
        } else {
            error = QStringLiteral(
                "Usage: plovix-bench [--sightings N]... [--runs K] [--json FILE]\n"
                "N is 2 or more (default 1000, 11131 and 50000); K is 5 or more "
                "(default 7).");
            return std::nullopt;
        }
        ++i;
    }
    if (options.sightings.isEmpty()) {
        options.sightings = {1000, 11131, 50000};
    }
    std::sort(options.sightings.begin(), options.sightings.end());
    options.sightings.erase(std::unique(options.sightings.begin(), options.sightings.end()),
                            options.sightings.end());
    return options;
}

// A program folder with the life list `sightings` long (0: the starter list) and the checklist.
bool makeFolder(const QString& folder, int sightings, QString& error) {
    const QString list = folder + QStringLiteral("/Bird List.mdb");
    const DbError written = sightings > 0 ? generated::writeLifeList(list, sightings, kDataDir)
                                          : createNewLifeList(list);
    if (written) {
        error = written.description;
        return false;
    }
    if (!QDir(folder).mkpath(QStringLiteral("data")) ||
        !QFile::copy(kDataDir + QStringLiteral("/species.csv"),
                     folder + QStringLiteral("/data/species.csv"))) {
        error = QStringLiteral("the checklist could not be copied into ") + folder;
        return false;
    }
    return true;
}

int measureAll(const Options& options) {
    BenchRun run{machineDescription(),
                 QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
                 options.runs,
                 {}};
    QString failure;
    QTemporaryDir starter;
    if (!makeFolder(starter.path(), 0, failure)) {
        say(QStringLiteral("plovix-bench: ") + failure);
        return 1;
    }
    const double starterMib = rss::afterOpening(starter.path(), 3, failure);
    for (int sightings : options.sightings) {
        QTemporaryDir folder;
        say(QStringLiteral("%1 sightings: writing the life list").arg(sightings));
        if (failure.isEmpty() && makeFolder(folder.path(), sightings, failure)) {
            const double mib = rss::afterOpening(folder.path(), 3, failure);
            say(QStringLiteral("%1 sightings: measuring, %2 runs each")
                    .arg(sightings)
                    .arg(options.runs));
            SizeResult size = measureLifeList(
                folder.path(), kDataDir + QStringLiteral("/birdlist.rpt"), options.runs, failure);
            size.rssExtraMib = mib - starterMib;
            run.sizes.append(size);
        }
        if (!failure.isEmpty()) {
            say(QStringLiteral("plovix-bench: at %1 sightings, %2").arg(sightings).arg(failure));
            return 1;
        }
    }
    say(QStringLiteral("eBird import: %1 rows, %2 runs").arg(kEBirdRows).arg(options.runs));
    run.eBirdRows = kEBirdRows;
    run.eBirdMs = measureEBirdImport(kDataDir, kEBirdRows, options.runs, run.eBirdSpecies, failure);
    if (!failure.isEmpty()) {
        say(QStringLiteral("plovix-bench: eBird import, %1").arg(failure));
        return 1;
    }
    printf("Machine: %s\nDate: %s\nMedian of %d runs.\n\n%s", qPrintable(run.machine),
           qPrintable(run.date), run.runs, qPrintable(resultTable(run)));
    const QStringList missed = missedTargets(run);
    printf("\n%s\n", missed.isEmpty()
                         ? "Every target met."
                         : qPrintable(QStringLiteral("Missed:\n  ") + missed.join(u"\n  ")));
    if (!options.json.isEmpty()) {
        QFile json(options.json);
        if (!json.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            json.write(resultJson(run)) < 0 || !json.flush()) {
            say(QStringLiteral("plovix-bench: %1 could not be written").arg(options.json));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String(rss::kProbeOption)) {
        return rss::probe(arguments[2]);
    }
    QString error;
    const std::optional<Options> options = readOptions(arguments, error);
    if (!options) {
        say(error);
        return 2;
    }
    return measureAll(*options);
}
