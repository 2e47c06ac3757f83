#include "exchange/ImportWriter.h"

#include "database/Criteria.h"
#include "database/Database.h"
#include "database/Schema.h"
#include "database/TextRows.h"
#include "exchange/ImportPlan.h"

#include <QSet>

namespace {

QString key(const QString& text) {
    return text.trimmed().toCaseFolded();
}

// The rows of a lookup table as keys: the entry, or for families the family and its order.
DbError readKeys(Database& db, const QString& sql, QSet<QString>& keys) {
    QStringList columns;
    QList<QStringList> rows;
    if (DbError error = readTextRows(db, sql, columns, rows)) {
        return error;
    }
    for (const QStringList& row : std::as_const(rows)) {
        keys.insert(key(row.join(u'\x1f')));
    }
    return {};
}

// Statements adding each entry the records bring that its lookup table lacks, once.
DbError newLookupEntries(Database& db, const QList<QStringList>& records,
                         QList<Database::Statement>& statements) {
    const struct {
        const QString& table;
        const QString& field;
        int column;
    } lists[] = {{table::Orders, field::Order, planField::Order},
                 {table::Countries, field::Country, planField::Country},
                 {table::Regions, field::Region, planField::Region}};
    for (const auto& list : lists) {
        const QString& table = list.table;
        const QString column = quoteIdentifier(list.field);
        QSet<QString> keys;
        if (DbError error = readKeys(
                db, QStringLiteral("SELECT %1 FROM %2").arg(column, quoteIdentifier(table)),
                keys)) {
            return error;
        }
        for (const QStringList& record : records) {
            const QString entry = record[list.column].trimmed();
            if (!entry.isEmpty() && !keys.contains(key(entry))) {
                keys.insert(key(entry));
                statements.append({QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                                       .arg(quoteIdentifier(table), column),
                                   {entry}});
            }
        }
    }
    // A family is new under its order, as the record form's family list has it.
    QSet<QString> families;
    if (DbError error =
            readKeys(db, QStringLiteral("SELECT Family, \"Order\" FROM Families"), families)) {
        return error;
    }
    for (const QStringList& record : records) {
        const QString family = record[planField::Family].trimmed();
        const QString order = record[planField::Order].trimmed();
        const QString pair = key(family + u'\x1f' + order);
        if (!family.isEmpty() && !families.contains(pair)) {
            families.insert(pair);
            statements.append(
                {QStringLiteral("INSERT INTO Families (Family, \"Order\") VALUES (?, ?)"),
                 {family, order}});
        }
    }
    return {};
}

}  // namespace

DbError storeImport(Database& db, const QList<QStringList>& records, qint64 replaceNumber,
                    const std::function<bool(int)>& goOn) {
    QList<Database::Statement> statements;
    if (DbError error = newLookupEntries(db, records, statements)) {
        return error;
    }
    const QStringList& fields = lifelist::birdListFields();
    QStringList columns;
    QStringList assignments;
    for (const QString& name : fields) {
        columns.append(quoteIdentifier(name));
        assignments.append(quoteIdentifier(name) + QStringLiteral(" = ?"));
    }
    const QString insert =
        QStringLiteral("INSERT INTO \"Bird List\" (%1) VALUES (%2)")
            .arg(columns.join(QLatin1String(", ")),
                 QStringList(fields.size(), QStringLiteral("?")).join(QLatin1String(", ")));
    const QString update = QStringLiteral("UPDATE \"Bird List\" SET %1 WHERE Number = ?")
                               .arg(assignments.join(QLatin1String(", ")));
    for (qsizetype i = 0; i < records.size(); ++i) {
        QVariantList values;
        values.reserve(fields.size() + 1);
        for (qsizetype f = 0; f < fields.size(); ++f) {
            const QString& value = records[i].value(f);
            // Empty fields are stored as the record form leaves them: Null.
            values.append(value.isEmpty() ? QVariant() : QVariant(value));
        }
        if (i == 0 && replaceNumber != 0) {
            values.append(replaceNumber);
            statements.append({update, values});
        } else {
            statements.append({insert, values});
        }
    }
    const qsizetype total = std::max<qsizetype>(1, statements.size());
    int shown = -1;
    return db.executeAll(statements, [&](qsizetype done) {
        const int percent = int(done * 100 / total);
        if (percent == shown) {
            return true;
        }
        shown = percent;
        return !goOn || goOn(percent);
    });
}
