#include "DamageRuns.h"

#include "GeneratedLifeList.h"
#include "ListState.h"
#include "database/DamageTools.h"
#include "database/Maintenance.h"
#include "database/Schema.h"

#include <QDir>
#include <QFile>
#include <QMultiHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSmallList = 4000;  // sightings of the list damaged page by page
constexpr int kLargeList = 5000;  // sightings of the list damaged at sampled pages
constexpr int kEveryPageUpTo = 300;

quint32 bigEndian32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 0; i < 4 && at + i < bytes.size(); ++i) {
        value = (value << 8) | quint8(bytes.at(at + i));
    }
    return value;
}

// The pages each sighting's record lies on, read from the file's bytes: its leaf page and the
// pages its overflow chain runs through.
QHash<qint64, QSet<int>> pagesOfSightings(const QString& path) {
    const QByteArray file = damage::fileBytes(path);
    const int pageSize = int(quint8(file.at(16))) << 8 | quint8(file.at(17));
    const int size = pageSize == 1 ? 65536 : pageSize;
    QHash<qint64, QSet<int>> pages;
    for (int leaf : damage::leafPages(path, lifelist::kBirdList)) {
        for (const damage::Cell& cell : damage::cellsOnLeafPage(path, leaf)) {
            QSet<int>& on = pages[cell.rowid];
            on.insert(leaf);
            for (quint32 next = cell.overflowPage; next && !on.contains(int(next));) {
                on.insert(int(next));
                next = bigEndian32(file, qsizetype(next - 1) * size);
            }
        }
    }
    return pages;
}

struct DamagedList {
    QString name;
    QString pristine;
    QByteArray bytes;
    int pageSize = 0;
    ListState state;
    QHash<qint64, QSet<int>> pages;
};

bool prepare(DamagedList& list, const QString& folder, int sightings, const QString& dataDir,
             Figures& figures) {
    list.pristine = folder + QStringLiteral("/Pristine.mdb");
    QDir().mkpath(folder);
    QString problem;
    if (DbError error = generated::writeLifeList(list.pristine, sightings, dataDir)) {
        figures.fault(QStringLiteral("damage: no list: ") + error.description);
        return false;
    }
    std::optional<ListState> state = readState(list.pristine, problem);
    list.bytes = damage::fileBytes(list.pristine);
    list.pageSize = int(quint8(list.bytes.at(16))) << 8 | quint8(list.bytes.at(17));
    list.pages = pagesOfSightings(list.pristine);
    if (!state || list.pages.size() != state->sightings().size()) {
        figures.fault(QStringLiteral("damage: the page reader does not find every sighting"));
        return false;
    }
    list.state = *state;
    return true;
}

// One repair of the list with `page` overwritten.
void repairCase(const DamagedList& list, const QString& folder, int page, bool zeros,
                QRandomGenerator& random, Figures& figures) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QByteArray bytes = list.bytes;
    const qsizetype start = qsizetype(page - 1) * list.pageSize;
    for (qsizetype i = start; i < start + list.pageSize; ++i) {
        bytes[i] = zeros ? '\0' : char(random.bounded(256));
    }
    const QString path = folder + QStringLiteral("/Bird List.mdb");
    const QString what = QStringLiteral("damage: %1 sightings, page %2 of %3 %4")
                             .arg(list.name)
                             .arg(page)
                             .arg(list.bytes.size() / list.pageSize)
                             .arg(zeros ? u"zeroed"_s : u"random"_s);
    if (!damage::writeFile(path, bytes)) {
        figures.fault(what + QStringLiteral(": cannot be written"));
        return;
    }
    const MaintenanceReport report = repairLifeList(folder, QStringLiteral("Bird List"));
    QString problem;
    const std::optional<ListState> repaired = report.outcome == MaintenanceReport::Outcome::Done
                                                  ? readState(path, problem)
                                                  : std::nullopt;
    QMultiHash<QByteArray, int> kept;
    if (repaired) {
        for (const QByteArray& row : repaired->sightings()) {
            kept.insert(row, 0);
        }
        if (const int nul = valuesWithNul(*repaired)) {
            figures.fault(what + QStringLiteral(": %1 values hold NUL").arg(nul));
        }
    } else {
        figures.fault(what + QStringLiteral(": the repair failed: ") + report.error.description +
                      problem);
    }
    ++figures.damage.cases;
    int intact = 0;
    int recovered = 0;
    const QMap<qint64, QByteArray>& before = list.state.sightings();
    for (auto row = before.cbegin(); row != before.cend(); ++row) {
        if (!list.pages.value(row.key()).contains(page)) {
            ++intact;
            recovered += kept.contains(*row) ? 1 : 0;
        }
    }
    figures.damage.rowsIntact += intact;
    figures.damage.rowsRecovered += recovered;
    if (recovered < intact) {
        figures.fault(
            what +
            QStringLiteral(": %1 of %2 intact sightings lost").arg(intact - recovered).arg(intact));
    }
}

void damageList(const QString& root, const QString& dataDir, int sightings, int sampled,
                QRandomGenerator& random, Figures& figures) {
    DamagedList list;
    list.name = QString::number(sightings);
    const QString folder = root + QStringLiteral("/damage-%1").arg(sightings);
    if (!prepare(list, folder, sightings, dataDir, figures)) {
        return;
    }
    const int pageCount = int(list.bytes.size() / list.pageSize);
    QList<int> pages;
    for (int page = 1; page <= pageCount; ++page) {
        pages.append(page);
    }
    if (pageCount > kEveryPageUpTo) {
        std::shuffle(pages.begin(), pages.end(), random);
        pages.resize(std::min<qsizetype>(sampled, pages.size()));
        std::sort(pages.begin(), pages.end());
    }
    std::fprintf(stderr, "  %d sightings, %d pages: %lld damaged in turn\n", sightings, pageCount,
                 qlonglong(pages.size()));
    for (int page : pages) {
        for (bool zeros : {true, false}) {
            repairCase(list, folder + QStringLiteral("/case"), page, zeros, random, figures);
        }
    }
}

}  // namespace

void runDamage(const QString& root, const QString& dataDir, quint32 seed, int sampled,
               Figures& figures) {
    QRandomGenerator random(seed);
    damageList(root, dataDir, kSmallList, kEveryPageUpTo, random, figures);
    damageList(root, dataDir, kLargeList, sampled, random, figures);
}
