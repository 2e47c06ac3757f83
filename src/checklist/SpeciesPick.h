#pragma once

#include "checklist/Checklist.h"
#include "database/DbError.h"

class Database;

// What picking a species from the checklist puts on a sighting: both names always, the order
// and family only where the sighting has none. The family is filled only under the species' own
// order, so that a family never lands under an order the user typed for another one.
struct PickedValues {
    QString commonName;
    QString species;
    QString order;   // empty: the order shown stays
    QString family;  // empty: the family shown stays
};
PickedValues pickedValues(const ChecklistSpecies& species, const QString& orderShown,
                          const QString& familyShown);

// The Number of the first sighting on the life list, other than the one numbered `except`, of
// the same species: the same scientific or English name, ignoring case. 0 when there is none.
DbError sightingOf(Database& database, const ChecklistSpecies& species, qint64 except,
                   qint64& number);
