#pragma once

#include "database/DbError.h"

#include <QString>
#include <QStringList>
#include <array>

class Database;

// Changes of one value of a classification or place field throughout the life list: in every
// sighting and in the field's lookup table at once. Texts compare ignoring case, as the
// engine's do. Every change runs as one transaction, so the lookup table and the sightings
// never disagree after a failure.
namespace bulk {

// The fields, in the order the editor offers them.
enum class Field { Order, Family, Location, Country, Region };
inline constexpr std::array kFields = {Field::Order, Field::Family, Field::Location, Field::Country,
                                       Field::Region};

// The field's name in the sightings, which is also its caption.
QString fieldName(Field field);

// The field's entries: the values of its lookup table, or for Location the locations of the
// sightings themselves; Null and blank values are left out. In alphabetical order.
QStringList entries(Database& database, Field field, DbError& error);

// Renames `oldText` to `newText` in the sightings and in the lookup table. An entry that
// already exists under the new text (ignoring case) takes the renamed one in: one entry
// remains, spelled as typed, and every sighting of either entry carries that spelling. Renaming
// an order moves its families along.
DbError rename(Database& database, Field field, const QString& oldText, const QString& newText);

// Empties the field (an empty text) in every sighting that carries `oldText` and removes the
// entry from its lookup table. Removing an order empties the family too and removes the
// order's families. No sighting is ever deleted.
DbError remove(Database& database, Field field, const QString& oldText);

}  // namespace bulk
