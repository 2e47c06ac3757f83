#pragma once

#include "database/DbError.h"
#include "exchange/ImportPlan.h"

#include <QByteArray>
#include <QString>

class Database;

// The life list as a spreadsheet (CSV) file, and such a file read back.
namespace spreadsheet {

// Every field of every sighting, one row per sighting in Number order below a heading row of
// the field names: UTF-8 with a byte-order mark, CR LF line ends, fields quoted where they hold
// a comma, a quote or a line break.
DbError lifeListCsv(Database& db, QByteArray& csv);

// One field as the file writes it.
QByteArray csvField(const QString& value);

// The sightings of such a file (columns found by their heading, in any order; the Number is
// not taken over) that are not on the life list yet. No value when the file cannot be read or
// has no CommonName column, with what is wrong in `error`.
std::optional<ImportPlan> planImport(const CsvInput& input, const ListedSpecies& listed,
                                     QString& error);

}  // namespace spreadsheet
