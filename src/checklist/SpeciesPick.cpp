#include "checklist/SpeciesPick.h"

#include "database/Database.h"
#include "database/LikePattern.h"

PickedValues pickedValues(const ChecklistSpecies& species, const QString& orderShown,
                          const QString& familyShown) {
    PickedValues values{species.english, species.scientific, {}, {}};
    if (orderShown.isEmpty()) {
        values.order = species.order;
    }
    const QString order = orderShown.isEmpty() ? species.order : orderShown;
    if (familyShown.isEmpty() && foldCase(order) == foldCase(species.order)) {
        values.family = species.family;
    }
    return values;
}

DbError sightingOf(Database& database, const ChecklistSpecies& species, qint64 except,
                   qint64& number) {
    number = 0;
    QSqlQuery query(database.sql());
    query.setForwardOnly(true);
    // One pass over the list, made only when a species is picked.
    if (DbError error =
            runSql(query,
                   QStringLiteral("SELECT Number FROM \"Bird List\" WHERE Number <> ? AND "
                                  "(plovix_fold(Species) = ? OR plovix_fold(CommonName) = ?) "
                                  "ORDER BY Number LIMIT 1"),
                   {except, foldCase(species.scientific), foldCase(species.english)})) {
        return error;
    }
    if (query.next()) {
        number = query.value(0).toLongLong();
    }
    return {};
}
