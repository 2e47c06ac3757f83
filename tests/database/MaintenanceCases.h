#pragma once
// What the tests of compacting, repairing and salvaging a life list share: a damaged list's
// tables, a damaged leaf page, a sighting added afterwards.
#include "TestPlatform.h"
#include "database/DamageTools.h"

#include "database/Maintenance.h"
#include "database/Schema.h"
#include "services/MDatabase.h"

#include <QSet>
#include <QTest>

using damage::Rows;
using Outcome = MaintenanceReport::Outcome;

namespace maintenance {

inline const QString kName = u"Bird List"_s;

// The five tables of a list.
inline QMap<QString, Rows> contents(const QString& path) {
    QMap<QString, Rows> tables;
    for (const lifelist::Table& table : lifelist::tables()) {
        tables[table.name] = damage::readRows(path, table.name).value_or(Rows{{u"unreadable"_s}});
    }
    return tables;
}

// Damages the header of a leaf page of the sightings; the Numbers of the sightings on it.
inline QSet<qint64> damageLeaf(const QString& path, int page) {
    QSet<qint64> lost;
    for (const damage::Cell& cell : damage::cellsOnLeafPage(path, page)) {
        lost.insert(cell.rowid);
    }
    return damage::damagePageHeader(path, page) ? lost : QSet<qint64>{};
}

// The Number a sighting added to the list now gets.
inline qint64 addSighting(const QString& path) {
    if (!damage::execute(path, {(u"INSERT INTO \"Bird List\" (CommonName) "
                                 u"VALUES ('Added later')"_s)})) {
        return -1;
    }
    return damage::queryValue(path, u"SELECT max(Number) FROM \"Bird List\""_s).toLongLong();
}

}  // namespace maintenance
