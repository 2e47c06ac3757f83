#include "Figures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

bool Figures::passed() const {
    int kills = 0;
    for (const Kills& figures : operations) {
        kills += figures.kills;
        if (figures.lost || figures.intact != figures.kills || figures.power.lost ||
            figures.power.intact != figures.power.cases) {
            return false;
        }
    }
    return kills > 0 && faults.isEmpty() && diskFull.lost == 0 && readOnly.lost == 0 &&
           damage.rowsRecovered == damage.rowsIntact;
}

namespace {

Figures::Kills total(const Figures& figures) {
    Figures::Kills all;
    for (const Figures::Kills& row : figures.operations) {
        all.kills += row.kills;
        all.intact += row.intact;
        all.lost += row.lost;
        all.calls += row.calls;
        all.power.cases += row.power.cases;
        all.power.intact += row.power.intact;
        all.power.lost += row.power.lost;
    }
    return all;
}

long callsKilled(const Figures& figures) {
    long killed = 0;
    for (const Figures::Kills& row : figures.operations) {
        killed += long(row.callsKilled.size());
    }
    return killed;
}

void printRow(const char* name, const Figures::Kills& row, long killed) {
    std::printf("%-20s %7d %7d %7d %7ld %7ld %7d %7d %7d\n", name, row.kills, row.intact, row.lost,
                row.calls, killed, row.power.cases, row.power.intact, row.power.lost);
}

}  // namespace

void printFigures(const Figures& figures) {
    std::printf("%-20s %7s %7s %7s %7s %7s %7s %7s %7s\n", "", "Kills", "", "", "Calls", "",
                "Power", "cuts", "");
    std::printf("%-20s %7s %7s %7s %7s %7s %7s %7s %7s\n", "Operation", "done", "intact", "lost",
                "counted", "killed", "cases", "intact", "lost");
    for (const QString& name : figures.order) {
        const Figures::Kills& row = figures.operations[name];
        printRow(qPrintable(name), row, long(row.callsKilled.size()));
    }
    printRow("All", total(figures), callsKilled(figures));
    std::printf("\n");
    std::printf("Damaged pages: %d cases, %lld rows intact, %lld recovered\n", figures.damage.cases,
                figures.damage.rowsIntact, figures.damage.rowsRecovered);
    std::printf("Full disk: %d cases, %d sightings lost\n", figures.diskFull.cases,
                figures.diskFull.lost);
    std::printf("Read-only file or folder: %d cases, %d sightings lost\n", figures.readOnly.cases,
                figures.readOnly.lost);
    for (const QString& fault : figures.faults) {
        std::printf("FAULT: %s\n", qPrintable(fault));
    }
    std::printf("%s\n", figures.passed() ? "Passed." : "FAILED.");
    std::fflush(stdout);
}

QByteArray figuresJson(const Figures& figures) {
    QJsonObject operations;
    for (const QString& name : figures.order) {
        const Figures::Kills& row = figures.operations[name];
        operations[name] = QJsonObject{{"kills", row.kills},
                                       {"intact", row.intact},
                                       {"lost", row.lost},
                                       {"calls", qint64(row.calls)},
                                       {"calls_killed", qint64(row.callsKilled.size())},
                                       {"power_cut", QJsonObject{{"cases", row.power.cases},
                                                                 {"intact", row.power.intact},
                                                                 {"lost", row.power.lost}}}};
    }
    const Figures::Kills all = total(figures);
    const QJsonObject root{
        {"operations", operations},
        {"kills", QJsonObject{{"kills", all.kills},
                              {"intact", all.intact},
                              {"lost", all.lost},
                              {"calls", qint64(all.calls)},
                              {"calls_killed", qint64(callsKilled(figures))}}},
        {"power_cut",
         QJsonObject{
             {"cases", all.power.cases}, {"intact", all.power.intact}, {"lost", all.power.lost}}},
        {"damage", QJsonObject{{"cases", figures.damage.cases},
                               {"rows_intact", figures.damage.rowsIntact},
                               {"rows_recovered", figures.damage.rowsRecovered}}},
        {"disk_full",
         QJsonObject{{"cases", figures.diskFull.cases}, {"lost", figures.diskFull.lost}}},
        {"read_only",
         QJsonObject{{"cases", figures.readOnly.cases}, {"lost", figures.readOnly.lost}}},
        {"faults", QJsonArray::fromStringList(figures.faults)},
        {"passed", figures.passed()},
    };
    return QJsonDocument(root).toJson();
}
