#include "database/SalvageSource.h"

#include "database/Database.h"
#include "database/TableReader.h"

#include <sqlite3.h>
#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace salvage {

bool isAccessError(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    if (!ok) {
        return false;
    }
    switch (code) {
        case SQLITE_PERM:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_NOMEM:
        case SQLITE_READONLY:
        case SQLITE_INTERRUPT:
        case SQLITE_IOERR:
        case SQLITE_FULL:
        case SQLITE_CANTOPEN:
        case SQLITE_PROTOCOL:
        case SQLITE_NOLFS:
        case SQLITE_AUTH:
            return true;
        default:
            return false;
    }
}

DbError accessError(const QString& path, const QSqlError& error) {
    DbError result = DbError::fromSql(error);
    result.description = QStringLiteral("Cannot read '%1'. %2").arg(path, result.description);
    return result;
}

Source::Source(QString path) : m_path(std::move(path)) {
    static QAtomicInt counter;
    m_name = QStringLiteral("plovix-salvage-%1").arg(counter.fetchAndAddRelaxed(1));
}

Source::~Source() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
}

DbError Source::open() {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!db.isValid()) {
        return {DbError::General, QStringLiteral("The SQLite database driver is not installed.")};
    }
    // Read and write, so that a transaction a crash left unfinished is rolled back as any
    // opening would; the statements below make sure nothing else is ever written.
    QUrl uri = QUrl::fromLocalFile(m_path);
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        return accessError(m_path, db.lastError());
    }
    {
        QSqlQuery query(db);
        // query_only: no statement can change the file. writable_schema: a damaged entry in the
        // list of tables does not hide the tables whose entries are sound. cell_size_check: a
        // damaged page is reported instead of read as rows.
        for (const char* pragma : {"PRAGMA query_only = 1", "PRAGMA writable_schema = 1",
                                   "PRAGMA cell_size_check = 1"}) {
            if (!query.exec(QLatin1String(pragma)) && isAccessError(query.lastError())) {
                return accessError(m_path, query.lastError());
            }
        }
    }
    // One read transaction: no other program changes the file while its rows are read.
    db.transaction();

    // A damaged list of tables fails the first statement; the next one sees the entries that
    // could be read.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
            while (query.next()) {
                const QString name = query.value(0).toString();
                if (!m_tables.contains(name)) {
                    m_tables.append(name);
                }
            }
        }
        if (!query.lastError().isValid()) {
            return {};
        }
        if (isAccessError(query.lastError())) {
            return accessError(m_path, query.lastError());
        }
    }
    return {};
}

std::optional<SourceTable> Source::find(const QString& table, const QStringList& fields) const {
    SourceTable found;
    for (const QString& name : m_tables) {
        if (name.compare(table, Qt::CaseInsensitive) == 0) {
            found.name = name;
        }
    }
    if (found.name.isEmpty()) {
        return std::nullopt;
    }
    QStringList present;
    {
        QSqlQuery query(db());
        if (query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(found.name)))) {
            while (query.next()) {
                present.append(query.value(1).toString());
            }
        }
    }
    if (present.isEmpty()) {
        return std::nullopt;
    }
    for (const QString& field : fields) {
        QString column;
        for (const QString& name : present) {
            if (name.compare(field, Qt::CaseInsensitive) == 0) {
                column = name;
            }
        }
        found.columns.append(column);
    }
    return found;
}

DbError Source::readRows(const SourceTable& table, const RowSink& sink, bool& damaged) const {
    TableReader reader(db(), m_path, table, sink);
    return reader.run(damaged);
}

std::optional<qint64> Source::sequence(const QString& table, DbError& error) const {
    std::optional<qint64> highest;
    QSqlQuery query(db());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence"))) {
        while (query.next()) {
            bool ok = false;
            const qint64 seq = query.value(1).toLongLong(&ok);
            if (ok && query.value(0).toString().compare(table, Qt::CaseInsensitive) == 0) {
                highest = std::max(highest.value_or(seq), seq);
            }
        }
    }
    if (isAccessError(query.lastError())) {
        error = accessError(m_path, query.lastError());
    }
    return highest;
}

}  // namespace salvage
