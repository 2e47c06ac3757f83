#include "database/TextRows.h"

#include "database/Database.h"
#include "database/SqlFunctions.h"

#include <sqlite3.h>
#include <QSqlError>
#include <memory>

namespace {

DbError engineError(sqlite3* connection) {
    const auto* message = static_cast<const char16_t*>(sqlite3_errmsg16(connection));
    return DbError::fromSql(QSqlError(QString(), QString::fromUtf16(message),
                                      QSqlError::StatementError,
                                      QString::number(sqlite3_extended_errcode(connection))));
}

QString textOf(sqlite3_stmt* statement, int column) {
    const auto* data = static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
    return data ? QString::fromUtf16(data, sqlite3_column_bytes16(statement, column) / 2)
                : QString();
}

}  // namespace

DbError readTextRows(Database& db, const QString& sql, QStringList& columns,
                     QList<QStringList>& rows) {
    columns.clear();
    rows.clear();
    if (!db.isOpen()) {
        return DbError::objectClosed();
    }
    sqlite3* connection = engineHandle(db.sql());
    if (!connection) {
        return {DbError::General, QStringLiteral("The life list is not a SQLite database.")};
    }
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare16_v2(connection, sql.utf16(), int(sql.size() * 2), &prepared, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(prepared);
        return engineError(connection);
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared,
                                                                          sqlite3_finalize);
    const int count = sqlite3_column_count(prepared);
    for (int c = 0; c < count; ++c) {
        columns.append(
            QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(prepared, c))));
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        QStringList row;
        row.reserve(count);
        for (int c = 0; c < count; ++c) {
            row.append(textOf(prepared, c));
        }
        rows.append(std::move(row));
    }
    return step == SQLITE_DONE ? DbError() : engineError(connection);
}
