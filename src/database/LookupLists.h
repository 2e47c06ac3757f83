#pragma once

#include "database/Recordset.h"

#include <QStringList>
#include <memory>
#include <optional>

class Database;

// The four lookup tables behind the record form's drop-down lists.
namespace lookup {

// Every non-Null value of `field`, in the recordset's order, read with one statement. A
// failure ends the list early, so an unreadable or empty table gives the entries read so far.
QStringList entries(Recordset& recordset, const QString& field);

// A dynaset over the families entered under `order` (compared ignoring case).
std::shared_ptr<Recordset> openFamilies(Database& database, const QString& order, DbError& error);
// The order a families dynaset was opened for; no value for one over the whole table.
std::optional<QString> familiesOrder(const Recordset& families);

// Whether the recordset holds a row meeting `criteria` (texts compared ignoring case).
DbError contains(Recordset& recordset, const Criteria& criteria, bool& found);

// Stores a new row with the given field values.
DbError addEntry(Recordset& recordset, const QList<std::pair<QString, QString>>& values);

}  // namespace lookup
