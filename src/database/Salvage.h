#pragma once

#include "database/DbError.h"

#include <QMap>
#include <QString>
#include <QStringList>

struct ShippedData;

// What a salvage saved: rows per table, and the tables that could not be read at all or only in
// part.
struct SalvageReport {
    QMap<QString, int> rowsSaved;
    QStringList damagedTables;   // some rows could not be read
    QStringList refilledTables;  // lookup tables with no saved row, filled with shipped entries
    bool starterRecordAdded = false;
    bool pagesScanned = false;  // the sightings were looked for page by page
};

// Reads every readable row of the life list's five tables from `source` (which may be damaged,
// or not a database at all) into a new file `target` with the full schema. Numbers of sightings
// are kept and no later sighting can get a Number that was ever stored. When no sighting could
// be saved the new file gets the starter record; a lookup table with no saved row is filled
// with the shipped entries. `target` must not exist.
DbError salvageLifeList(const QString& source, const QString& target, const ShippedData& data,
                        SalvageReport* report = nullptr);
