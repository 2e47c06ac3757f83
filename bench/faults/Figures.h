#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// What the fault runs came to.
struct Figures {
    struct PowerCuts {
        int cases = 0;   // each cut point with each way of losing the unsynced writes
        int intact = 0;  // judged as after a kill
        int lost = 0;
    };
    struct Kills {
        int kills = 0;
        int intact = 0;  // the file opened, was sound, and held the list whole before or after
        int lost = 0;    // sightings stored before the operation that were gone or changed
        long calls = 0;  // the calls that change files in a run to the end
        QSet<long> callsKilled;  // the calls at which a child was ended, before or after
        PowerCuts power;
    };
    QMap<QString, Kills> operations;  // by operation, in the order run
    QStringList order;
    struct Damage {
        int cases = 0;
        qint64 rowsIntact = 0;     // rows that the page reader found whole in the damaged file
        qint64 rowsRecovered = 0;  // of those, the rows that the repaired list holds
    } damage;
    struct Limits {
        int cases = 0;
        int lost = 0;
    } diskFull, readOnly;
    QStringList faults;  // every check that failed, said once each

    Kills& operation(const QString& name) {
        if (!operations.contains(name)) {
            order.append(name);
        }
        return operations[name];
    }
    void fault(const QString& what) {
        if (!faults.contains(what)) {
            faults.append(what);
        }
    }
    bool passed() const;
};

// The figures as a table on standard output.
void printFigures(const Figures& figures);
// The figures as JSON.
QByteArray figuresJson(const Figures& figures);
