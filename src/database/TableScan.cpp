#include "database/TableScan.h"

#include <QSqlQuery>

DbError scanTable(Database& db, const QString& table, const QStringList& fields,
                  const std::function<void(const QVariantList& values, double percent)>& visit) {
    if (!db.isOpen()) {
        return DbError::objectClosed();
    }
    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (DbError error =
            runSql(query, QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(table)))) {
        return error;
    }
    const qint64 rows = query.next() ? query.value(0).toLongLong() : 0;
    if (rows == 0) {
        return DbError::noCurrentRecord();
    }
    if (DbError error = runSql(query, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                          .arg(quoteIdentifiers(fields), quoteIdentifier(table)))) {
        return error;
    }
    QVariantList values(fields.size());
    qint64 row = 0;
    while (query.next()) {
        for (qsizetype i = 0; i < values.size(); ++i) {
            values[i] = query.value(int(i));
        }
        visit(values, rows == 1 ? 100.0 : 100.0 * double(row) / double(rows - 1));
        ++row;
    }
    // A read that stops early (a damaged page) is a failure, not the end of the table.
    return query.lastError().isValid() ? DbError::fromSql(query.lastError()) : DbError{};
}
