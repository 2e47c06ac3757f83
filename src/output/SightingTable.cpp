#include "output/SightingTable.h"

#include "database/Database.h"
#include "database/Recordset.h"
#include "database/Schema.h"
#include "platform/Collation.h"

#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>

DbError SightingTable::read(Database& db, const QStringList& sortFields, SightingTable& table) {
    if (!db.isOpen()) {
        return DbError::objectClosed();
    }
    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (DbError error = runSql(query, QStringLiteral("SELECT * FROM %1 ORDER BY Number")
                                          .arg(quoteIdentifier(lifelist::kBirdList)))) {
        return error;
    }
    const QSqlRecord record = query.record();
    table.m_fields.clear();
    for (int i = 0; i < record.count(); ++i) {
        table.m_fields.append(record.fieldName(i));
    }
    table.m_rows.clear();
    while (query.next()) {
        QStringList values;
        values.reserve(record.count());
        for (int i = 0; i < record.count(); ++i) {
            values.append(nullToEmpty(query.value(i)));
        }
        table.m_rows.append(std::move(values));
    }
    // A read that stops early (a damaged page) is a failure, not the end of the list.
    if (query.lastError().isValid()) {
        return DbError::fromSql(query.lastError());
    }

    QList<int> columns;
    for (const QString& field : sortFields) {
        if (const int column = table.fieldIndex(field); column >= 0) {
            columns.append(column);
        }
    }
    if (columns.isEmpty()) {
        return {};
    }
    // The keys are worked out once per value; rows already come in Number order, which a stable
    // sort keeps among equal keys.
    struct Keyed {
        std::vector<collation::Key> keys;
        QStringList row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(table.m_rows.size());
    for (QStringList& row : table.m_rows) {
        Keyed entry;
        for (int column : columns) {
            entry.keys.emplace_back(row[column]);
        }
        entry.row = std::move(row);
        keyed.push_back(std::move(entry));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        for (size_t i = 0; i < a.keys.size(); ++i) {
            if (const int order = a.keys[i].compare(b.keys[i]); order != 0) {
                return order < 0;
            }
        }
        return false;
    });
    for (qsizetype i = 0; i < table.m_rows.size(); ++i) {
        table.m_rows[i] = std::move(keyed[size_t(i)].row);
    }
    return {};
}
