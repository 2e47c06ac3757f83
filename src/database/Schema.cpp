#include "database/Schema.h"

#include "database/Criteria.h"
#include "database/Database.h"
#include "database/ShippedData.h"

#include <QSqlQuery>

namespace lifelist {

namespace {

DbError exec(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}) {
    QSqlQuery query(db);
    return runSql(query, sql, values);
}

DbError insertAll(QSqlDatabase& db, const QString& table, const QStringList& fields,
                  const QList<QVariantList>& rows) {
    QSqlQuery query(db);
    QStringList quoted;
    for (const QString& field : fields) {
        quoted.append(quoteIdentifier(field));
    }
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoteIdentifier(table), quoted.join(QStringLiteral(", ")),
                 QStringList(fields.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    if (!query.prepare(sql)) {
        return DbError::fromSql(query.lastError());
    }
    for (const QVariantList& row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            query.bindValue(i, row[i]);
        }
        if (!query.exec()) {
            return DbError::fromSql(query.lastError());
        }
    }
    return {};
}

QList<QVariantList> single(const QStringList& values) {
    QList<QVariantList> rows;
    for (const QString& value : values) {
        rows.append({value});
    }
    return rows;
}

}  // namespace

const QList<Table>& tables() {
    static const QList<Table> all = {
        {kBirdList,
         {field::CommonName, field::AlternateName, field::Order, field::Family, field::Species,
          field::Location, field::Country, field::Region, field::Month, field::Year,
          field::Comments, field::Additional, field::Images}},
        {table::Orders, {field::Order}},
        {table::Families, {field::Family, field::Order}},
        {table::Countries, {field::Country}},
        {table::Regions, {field::Region}},
    };
    return all;
}

const QStringList& birdListFields() {
    return tables().first().fields;
}

DbError createSchema(QSqlDatabase& db) {
    for (const Table& table : tables()) {
        QStringList columns;
        if (table.name == kBirdList) {
            columns.append(QStringLiteral("Number INTEGER PRIMARY KEY AUTOINCREMENT"));
        }
        for (const QString& field : table.fields) {
            columns.append(quoteIdentifier(field) + QStringLiteral(" TEXT"));
        }
        const QString sql =
            QStringLiteral("CREATE TABLE %1 (%2)")
                .arg(quoteIdentifier(table.name), columns.join(QStringLiteral(", ")));
        if (DbError error = exec(db, sql)) {
            return error;
        }
    }
    return exec(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

DbError checkSchema(const Database& db) {
    for (const Table& table : tables()) {
        const QStringList present = db.fieldNames(table.name);
        if (present.isEmpty()) {
            return {DbError::CannotFindTable,
                    QStringLiteral("Cannot find the table '%1'.").arg(table.name)};
        }
        QStringList wanted = table.fields;
        if (table.name == kBirdList) {
            wanted.prepend(field::Number);
        }
        for (const QString& field : wanted) {
            if (!present.contains(field, Qt::CaseInsensitive)) {
                return {DbError::FieldNotFound,
                        QStringLiteral("The table '%1' has no field '%2'.").arg(table.name, field)};
            }
        }
    }
    return {};
}

DbError fillLookupTables(QSqlDatabase& db, const ShippedData& data, const QStringList& tableNames) {
    auto wanted = [&](const QString& name) {
        return tableNames.isEmpty() || tableNames.contains(name, Qt::CaseInsensitive);
    };
    if (wanted(table::Orders)) {
        if (DbError error = insertAll(db, table::Orders, {field::Order}, single(data.orders))) {
            return error;
        }
    }
    if (wanted(table::Families)) {
        QList<QVariantList> rows;
        for (const ShippedData::Family& family : data.families) {
            rows.append({family.family, family.order});
        }
        if (DbError error = insertAll(db, table::Families, {field::Family, field::Order}, rows)) {
            return error;
        }
    }
    if (wanted(table::Countries)) {
        if (DbError error =
                insertAll(db, table::Countries, {field::Country}, single(data.countries))) {
            return error;
        }
    }
    if (wanted(table::Regions)) {
        if (DbError error = insertAll(db, table::Regions, {field::Region}, single(data.regions))) {
            return error;
        }
    }
    return {};
}

DbError addStarterRecord(QSqlDatabase& db) {
    return exec(db, QStringLiteral("INSERT INTO \"Bird List\" (CommonName) VALUES (?)"),
                {kStarterName});
}

}  // namespace lifelist

QString capitaliseSpecies(const QString& text) {
    if (text.size() <= 1) {
        return text;
    }
    // A letter outside the first UTF-16 unit (a surrogate pair) keeps its pair together.
    const qsizetype first = text.at(0).isHighSurrogate() ? 2 : 1;
    return text.left(first).toUpper() + text.mid(first).toLower();
}
