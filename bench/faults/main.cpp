// plovix-faults: every operation that writes the life list or a file from it, killed at random
// moments and at the calls that change files (with --every-call, at each of them), cut short by
// a power failure (with --power-cut), and run against a full disk and a read-only file or
// folder; and repairs of lists with damaged pages. Prints what was kept and what was lost.
//
//   plovix-faults [--kills N] [--every-call] [--power-cut] [--seed S] [--json FILE]
//                 [--sightings N] [--only OPERATION[,OPERATION...]] [--damage yes|no]
#include "Child.h"
#include "DamageRuns.h"
#include "FaultRuns.h"
#include "Figures.h"
#include "KillRuns.h"
#include "LimitRuns.h"
#include "Operations.h"
#include "PowerRuns.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>

namespace {

const QString kDataDir = QStringLiteral(PLOVIX_DATA_DIR);

struct Options {
    int kills = 240;
    quint32 seed = 1;
    QString json;
    int sightings = 5000;
    QStringList only;
    bool everyCall = false;
    bool powerCut = false;
    bool damage = true;  // the repairs of damaged pages too
    bool keep = false;   // the scratch folder stays, for a look at what the children left
    // A child's part.
    QString child;
    QString folder;
    QString mode;
    qint64 limit = -1;
};

std::optional<Options> readOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        if (option == u"--every-call" || option == u"--power-cut") {
            (option == u"--every-call" ? options.everyCall : options.powerCut) = true;
            --i;  // a switch, without a value
            continue;
        }
        if (i + 1 >= arguments.size()) {
            return std::nullopt;
        }
        const QString& value = arguments[i + 1];
        bool number = true;
        if (option == u"--kills") {
            options.kills = value.toInt(&number);
            number = number && options.kills >= 0;
        } else if (option == u"--seed") {
            options.seed = value.toUInt(&number);
        } else if (option == u"--json") {
            options.json = value;
        } else if (option == u"--sightings") {
            options.sightings = value.toInt(&number);
            number = number && options.sightings >= 10;
        } else if (option == u"--damage") {
            options.damage = value == u"yes";
            number = options.damage || value == u"no";
        } else if (option == u"--keep") {
            options.keep = value == u"yes";
        } else if (option == u"--only") {
            options.only = value.split(u',', Qt::SkipEmptyParts);
        } else if (option == u"--child") {
            options.child = value;
        } else if (option == u"--folder") {
            options.folder = value;
        } else if (option == u"--mode") {
            options.mode = value;
        } else if (option == u"--limit") {
            options.limit = value.toLongLong(&number);
        } else {
            return std::nullopt;
        }
        if (!number) {
            return std::nullopt;
        }
    }
    return options;
}

int runAll(const Options& options) {
    QTemporaryDir root;
    root.setAutoRemove(!options.keep);
    if (options.keep) {
        std::fprintf(stderr, "Working in %s\n", qPrintable(root.path()));
    }
    Figures figures;
    FaultRuns runs(root.path(), kDataDir, options.seed, figures);
    QString failure;
    std::fprintf(stderr, "Writing a life list of %d sightings...\n", options.sightings);
    if (!runs.setUp(options.sightings, failure)) {
        std::fprintf(stderr, "plovix-faults: %s\n", qPrintable(failure));
        return 2;
    }
    QList<const Operation*> chosen;
    for (const Operation& operation : operations()) {
        if (options.only.isEmpty() || options.only.contains(QLatin1String(operation.name))) {
            chosen.append(&operation);
        }
    }
    for (const QString& name : options.only) {
        if (!operationNamed(name)) {
            std::fprintf(stderr, "plovix-faults: no operation %s\n", qPrintable(name));
            return 2;
        }
    }
    const int each = (options.kills + int(chosen.size()) - 1) / int(chosen.size());
    const QList<qint64> limits{0, 16 * 1024, runs.listSize() / 2};
    KillRuns kills(runs);
    LimitRuns limited(runs);
    PowerRuns power(runs);
    for (const Operation* operation : chosen) {
        std::fprintf(stderr, "%s: %d kills%s, %lld limits%s...\n", operation->name, each,
                     options.everyCall ? " and one at every call" : "",
                     qlonglong(limits.size()) + 2, options.powerCut ? ", power cuts" : "");
        kills.atRandom(*operation, each);
        if (options.everyCall) {
            kills.atEveryCall(*operation);
        }
        limited.run(*operation, limits);
        if (options.powerCut) {
            power.run(*operation);
        }
    }
    if (options.damage) {
        std::fprintf(stderr, "Repairing damaged pages...\n");
        runDamage(root.path(), kDataDir, options.seed, std::max(20, options.kills / 10), figures);
    }
    printFigures(figures);
    if (!options.json.isEmpty()) {
        QFile file(options.json);
        if (!file.open(QIODevice::WriteOnly) || file.write(figuresJson(figures)) < 0) {
            std::fprintf(stderr, "plovix-faults: %s cannot be written\n", qPrintable(options.json));
            return 2;
        }
    }
    return figures.passed() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no window is ever shown
    }
    QApplication app(argc, argv);
    const std::optional<Options> options = readOptions(app.arguments());
    if (!options) {
        std::fprintf(stderr,
                     "Usage: plovix-faults [--kills N] [--every-call] [--power-cut] [--seed S] "
                     "[--json FILE] [--sightings N] [--only OPERATION[,OPERATION...]] "
                     "[--damage yes|no]\n");
        return 2;
    }
    if (!options->child.isEmpty()) {
        runChild(options->child, options->folder, childModeNamed(options->mode), options->limit);
    }
    return runAll(*options);
}
