#include "Figures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

bool Figures::passed() const {
    int kills = 0;
    for (const Kills& figures : operations) {
        kills += figures.kills;
        if (figures.lost || figures.intact != figures.kills) {
            return false;
        }
    }
    return kills > 0 && faults.isEmpty() && diskFull.lost == 0 && readOnly.lost == 0 &&
           damage.rowsRecovered == damage.rowsIntact;
}

void printFigures(const Figures& figures) {
    std::printf("%-20s %8s %8s %8s\n", "Operation", "Kills", "Intact", "Lost");
    Figures::Kills total;
    for (const QString& name : figures.order) {
        const Figures::Kills& row = figures.operations[name];
        std::printf("%-20s %8d %8d %8d\n", qPrintable(name), row.kills, row.intact, row.lost);
        total.kills += row.kills;
        total.intact += row.intact;
        total.lost += row.lost;
    }
    std::printf("%-20s %8d %8d %8d\n\n", "All", total.kills, total.intact, total.lost);
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
        operations[name] =
            QJsonObject{{"kills", row.kills}, {"intact", row.intact}, {"lost", row.lost}};
    }
    const QJsonObject root{
        {"operations", operations},
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
