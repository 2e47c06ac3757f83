// plovix-faults: every operation that writes the life list or a file from it, killed at random
// moments and at the calls that change files, and run against a full disk and a read-only file
// or folder; and repairs of lists with damaged pages. Prints what was kept and what was lost.
//
//   plovix-faults [--kills N] [--seed S] [--json FILE] [--sightings N] [--only OPERATION]
#include "Child.h"
#include "DamageRuns.h"
#include "FaultRuns.h"
#include "Figures.h"
#include "Operations.h"

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
    QString only;
    bool keep = false;  // the scratch folder stays, for a look at what the children left
    // A child's part.
    QString child;
    QString folder;
    QString mode;
    qint64 limit = -1;
};

std::optional<Options> readOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        const QString& value = arguments[i + 1];
        bool number = true;
        if (option == u"--kills") {
            options.kills = value.toInt(&number);
            number = number && options.kills > 0;
        } else if (option == u"--seed") {
            options.seed = value.toUInt(&number);
        } else if (option == u"--json") {
            options.json = value;
        } else if (option == u"--sightings") {
            options.sightings = value.toInt(&number);
            number = number && options.sightings >= 10;
        } else if (option == u"--keep") {
            options.keep = value == u"yes";
        } else if (option == u"--only") {
            options.only = value;
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
    if (arguments.size() % 2 == 0) {
        return std::nullopt;
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
        if (options.only.isEmpty() || options.only == QLatin1String(operation.name)) {
            chosen.append(&operation);
        }
    }
    if (chosen.isEmpty()) {
        std::fprintf(stderr, "plovix-faults: no operation %s\n", qPrintable(options.only));
        return 2;
    }
    const int each = (options.kills + int(chosen.size()) - 1) / int(chosen.size());
    const QList<qint64> limits{0, 16 * 1024, runs.listSize() / 2};
    for (const Operation* operation : chosen) {
        std::fprintf(stderr, "%s: %d kills, %lld limits...\n", operation->name, each,
                     qlonglong(limits.size()) + 2);
        runs.kill(*operation, each);
        runs.limit(*operation, limits);
    }
    std::fprintf(stderr, "Repairing damaged pages...\n");
    runDamage(root.path(), kDataDir, options.seed, std::max(20, options.kills / 10), figures);
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
                     "Usage: plovix-faults [--kills N] [--seed S] [--json FILE] "
                     "[--sightings N] [--only OPERATION]\n");
        return 2;
    }
    if (!options->child.isEmpty()) {
        runChild(options->child, options->folder, childModeNamed(options->mode), options->limit);
    }
    return runAll(*options);
}
