#include "database/BulkEdit.h"

#include "database/Criteria.h"
#include "database/Database.h"
#include "database/LikePattern.h"
#include "database/Schema.h"
#include "platform/Collation.h"

#include <QSqlQuery>
#include <algorithm>

namespace bulk {

namespace {

using Statement = Database::Statement;

// Where a field's entries are kept: its lookup table, if it has one.
QString lookupTable(Field field) {
    switch (field) {
        case Field::Order:
            return table::Orders;
        case Field::Family:
            return table::Families;
        case Field::Country:
            return table::Countries;
        case Field::Region:
            return table::Regions;
        case Field::Location:
            break;
    }
    return {};
}

// "plovix_fold(<field>) = ?", the engine's comparison ignoring case.
QString matches(const QString& field) {
    return QStringLiteral("plovix_fold(%1) = ?").arg(quoteIdentifier(field));
}

// Sets the field of every sighting that carries `oldFolded`, or `alsoFolded`, to `text`.
Statement updateSightings(const QString& field, const QString& text, const QString& oldFolded,
                          const QString& alsoFolded) {
    return {QStringLiteral("UPDATE OR IGNORE %1 SET %2 = ? WHERE %3 OR %3")
                .arg(quoteIdentifier(lifelist::kBirdList), quoteIdentifier(field), matches(field)),
            {text, oldFolded, alsoFolded}};
}

// Of the rows whose `field` is `folded` (and that agree on `sameField`, when given), keeps the
// first stored and deletes the others.
Statement keepFirst(const QString& table, const QString& field, const QString& folded,
                    const QString& sameField = {}) {
    const QString t = quoteIdentifier(table);
    const QString f = quoteIdentifier(field);
    QString alike = QStringLiteral("plovix_fold(k.%1) = plovix_fold(%2.%1)").arg(f, t);
    if (!sameField.isEmpty()) {
        alike += QStringLiteral(" AND plovix_fold(k.%1) IS plovix_fold(%2.%1)")
                     .arg(quoteIdentifier(sameField), t);
    }
    return {QStringLiteral("DELETE FROM %1 WHERE %2 AND EXISTS "
                           "(SELECT 1 FROM %1 AS k WHERE k.rowid < %1.rowid AND %3)")
                .arg(t, matches(field), alike),
            {folded}};
}

// Renames the entry, and any entry that is already spelled like the new text, to the new
// text; then one row of each is kept.
QList<Statement> renameEntry(const QString& table, const QString& field, const QString& newText,
                             const QString& oldFolded, const QString& newFolded,
                             const QString& sameField = {}) {
    return {
        {QStringLiteral("UPDATE OR IGNORE %1 SET %2 = ? WHERE %3 OR %3")
             .arg(quoteIdentifier(table), quoteIdentifier(field), matches(field)),
         {newText, oldFolded, newFolded}},
        keepFirst(table, field, newFolded, sameField),
    };
}

}  // namespace

QString fieldName(Field field) {
    static const std::array<QString, kFields.size()> names = {
        field::Order, field::Family, field::Location, field::Country, field::Region};
    return names[std::size_t(field)];
}

QStringList entries(Database& database, Field field, DbError& error) {
    error = {};
    QStringList list;
    if (!database.isOpen()) {
        error = DbError::objectClosed();
        return list;
    }
    const QString column = quoteIdentifier(fieldName(field));
    const QString table = lookupTable(field);
    const QString sql =
        table.isEmpty() ? QStringLiteral("SELECT DISTINCT %1 FROM %2")
                              .arg(column, quoteIdentifier(lifelist::kBirdList))
                        : QStringLiteral("SELECT %1 FROM %2").arg(column, quoteIdentifier(table));
    QSqlQuery query(database.sql());
    query.setForwardOnly(true);
    if ((error = runSql(query, sql))) {
        return list;
    }
    while (query.next()) {
        if (query.isNull(0)) {
            continue;
        }
        const QString text = query.value(0).toString();
        if (!text.trimmed().isEmpty()) {
            list.append(text);
        }
    }
    std::sort(list.begin(), list.end(), collation::before);
    return list;
}

DbError rename(Database& database, Field field, const QString& oldText, const QString& newText) {
    const QString name = fieldName(field);
    const QString oldFolded = foldCase(oldText);
    const QString newFolded = foldCase(newText);
    QList<Statement> statements;
    switch (field) {
        case Field::Order:
            statements = renameEntry(lookupTable(field), name, newText, oldFolded, newFolded);
            // The order's families move to the new order, joining any it already has.
            statements +=
                renameEntry(table::Families, name, newText, oldFolded, newFolded, field::Family);
            break;
        case Field::Family:
            statements =
                renameEntry(lookupTable(field), name, newText, oldFolded, newFolded, field::Order);
            break;
        case Field::Country:
        case Field::Region:
            statements = renameEntry(lookupTable(field), name, newText, oldFolded, newFolded);
            break;
        case Field::Location:
            break;
    }
    // The sightings of an entry it merges into take the new spelling too, as its row did.
    statements.append(updateSightings(name, newText, oldFolded, newFolded));
    return database.executeAll(statements);
}

DbError remove(Database& database, Field field, const QString& oldText) {
    const QString name = fieldName(field);
    const QString oldFolded = foldCase(oldText);
    QList<Statement> statements;
    if (const QString table = lookupTable(field); !table.isEmpty()) {
        statements.append(
            {QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoteIdentifier(table), matches(name)),
             {oldFolded}});
    }
    if (field == Field::Order) {
        statements.append(
            {QStringLiteral("DELETE FROM Families WHERE %1").arg(matches(name)), {oldFolded}});
        statements.append(
            {QStringLiteral("UPDATE OR IGNORE %1 SET \"Order\" = '', Family = '' WHERE %2")
                 .arg(quoteIdentifier(lifelist::kBirdList), matches(name)),
             {oldFolded}});
    } else {
        statements.append(updateSightings(name, QStringLiteral(""), oldFolded, oldFolded));
    }
    return database.executeAll(statements);
}

}  // namespace bulk
