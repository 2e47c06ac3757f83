#include "database/Database.h"

#include "database/Recordset.h"
#include "database/SqlFunctions.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

namespace {

QString newConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("plovix-%1").arg(counter.fetchAndAddRelaxed(1));
}

DbError checkDatabase(QSqlDatabase& db, const QString& path) {
    QSqlQuery query(db);
    // The first few findings are enough to tell: a badly damaged file has hundreds.
    if (!query.exec(QStringLiteral("PRAGMA quick_check(3)")) || !query.next()) {
        const DbError error = DbError::fromSql(query.lastError());
        if (error.number != DbError::NotADatabase) {
            return error;  // locked, unreadable: not a question of the file's format
        }
        return {DbError::NotADatabase, QStringLiteral("Unrecognized database format '%1' (%2).")
                                           .arg(path, query.lastError().databaseText())};
    }
    QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok")) {
        verdict.remove(QStringLiteral("*** in database main ***\n"));
        verdict.replace(QLatin1Char('\n'), QStringLiteral("; "));
        return {DbError::CannotOpen,
                QStringLiteral("The database '%1' is damaged (%2).").arg(path, verdict)};
    }
    return {};
}

}  // namespace

DbError runSql(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (!query.prepare(sql)) {
        return DbError::fromSql(query.lastError());
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    return query.exec() ? DbError{} : DbError::fromSql(query.lastError());
}

QSqlQuery* Connection::statement(const QString& sql, DbError& error) {
    error = {};
    auto found = statements.find(sql);
    if (found == statements.end()) {
        QSqlQuery query(db());
        query.setForwardOnly(true);
        if (!query.prepare(sql)) {
            error = DbError::fromSql(query.lastError());
            return nullptr;
        }
        found = statements.emplace(sql, std::move(query)).first;
    }
    return &found->second;
}

Database::Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}

Database::~Database() {
    close();
}

std::unique_ptr<Database> Database::open(const QString& path, DbError& error) {
    return connect(path, true, error);
}

std::unique_ptr<Database> Database::create(const QString& path, DbError& error) {
    if (QFileInfo::exists(path)) {
        error = {DbError::CannotOpen, QStringLiteral("The file '%1' already exists.").arg(path)};
        return nullptr;
    }
    return connect(path, false, error);
}

namespace {

// Opens the SQL connection of `connection` on its file, with the engine's settings.
DbError openConnection(Connection& connection, bool mustExist) {
    DbError error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection.name);
        if (!db.isValid()) {
            return {DbError::General,
                    QStringLiteral("The SQLite database driver is not installed.")};
        }
        // A URI keeps an existing file from being created anew when it vanishes meanwhile.
        QUrl uri = QUrl::fromLocalFile(connection.path);
        uri.setQuery(mustExist ? QStringLiteral("mode=rw") : QStringLiteral("mode=rwc"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            error = DbError::fromSql(db.lastError());
            if (error.number == DbError::General) {
                error.number = DbError::CannotOpen;
            }
        } else if (!registerSqlFunctions(db)) {
            error = {DbError::General, QStringLiteral("The SQLite library cannot be reached.")};
        } else if (mustExist) {
            error = checkDatabase(db, connection.path);
        }
        if (!error) {
            // Deleted sightings are wiped from the file, so no repair can bring them back.
            QSqlQuery(QStringLiteral("PRAGMA secure_delete = ON"), db);
        } else {
            db.close();
        }
    }
    if (error) {
        QSqlDatabase::removeDatabase(connection.name);
    }
    return error;
}

}  // namespace

DbError Connection::readyToWrite() {
    if (!open) {
        return DbError::objectClosed();
    }
    if (reopenBeforeWriting) {
        // A connection that found the file read-only stays so; the file may be writable now.
        statements.clear();
        {
            QSqlDatabase old = db();
            old.close();
        }
        QSqlDatabase::removeDatabase(name);
        if (DbError error = openConnection(*this, true)) {
            open = false;
            return error;
        }
        reopenBeforeWriting = false;
    }
    return {};
}

DbError Connection::write(const QString& sql, const QVariantList& values, qint64* insertId,
                          int* rowsAffected) {
    if (DbError error = readyToWrite()) {
        return error;
    }
    QSqlQuery query(db());
    DbError error = runSql(query, sql, values);
    if (error.number == DbError::ReadOnly) {
        reopenBeforeWriting = true;
    }
    if (!error && insertId) {
        *insertId = query.lastInsertId().toLongLong();
    }
    if (!error && rowsAffected) {
        *rowsAffected = query.numRowsAffected();
    }
    return error;
}

std::unique_ptr<Database> Database::connect(const QString& path, bool mustExist, DbError& error) {
    error = {};
    if (mustExist && !QFileInfo(path).isFile()) {
        error = DbError::fileNotFound(path);
        return nullptr;
    }
    auto connection = std::make_shared<Connection>();
    connection->name = newConnectionName();
    connection->path = path;
    error = openConnection(*connection, mustExist);
    if (error) {
        return nullptr;
    }
    connection->open = true;
    return std::unique_ptr<Database>(new Database(std::move(connection)));
}

void Database::close() {
    if (!isOpen()) {
        return;
    }
    m_connection->open = false;
    m_connection->statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection->name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection->name);
}

QSqlDatabase Database::sql() const {
    return isOpen() ? m_connection->db() : QSqlDatabase();
}

DbError Database::execute(const QString& sql, const QVariantList& parameters, int* rowsAffected) {
    if (!isOpen()) {
        return DbError::objectClosed();
    }
    return m_connection->write(sql, parameters, nullptr, rowsAffected);
}

DbError Database::executeAll(const QList<Statement>& statements,
                             const std::function<bool(qsizetype)>& goOn) {
    if (!isOpen()) {
        return DbError::objectClosed();
    }
    if (DbError error = m_connection->readyToWrite()) {
        return error;
    }
    QSqlDatabase db = m_connection->db();
    if (!db.transaction()) {
        return DbError::fromSql(db.lastError());
    }
    DbError error;
    {
        // Each text is prepared once, however many statements share it.
        std::map<QString, QSqlQuery> prepared;
        qsizetype done = 0;
        for (const Statement& statement : statements) {
            auto found = prepared.find(statement.sql);
            if (found == prepared.end()) {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (!query.prepare(statement.sql)) {
                    error = DbError::fromSql(query.lastError());
                    break;
                }
                found = prepared.emplace(statement.sql, std::move(query)).first;
            }
            QSqlQuery& query = found->second;
            for (qsizetype i = 0; i < statement.values.size(); ++i) {
                query.bindValue(int(i), statement.values[i]);
            }
            if (!query.exec()) {
                error = DbError::fromSql(query.lastError());
                break;
            }
            query.finish();
            if (goOn && !goOn(++done)) {
                error = DbError::cancelled();
                break;
            }
        }
    }
    if (!error && !db.commit()) {
        error = DbError::fromSql(db.lastError());
    }
    if (error) {
        db.rollback();
        if (error.number == DbError::ReadOnly) {
            m_connection->reopenBeforeWriting = true;
        }
    }
    return error;
}

bool Database::hasTable(const QString& table) const {
    if (!isOpen()) {
        return false;
    }
    QSqlQuery query(m_connection->db());
    query.prepare(QStringLiteral(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"));
    query.addBindValue(table);
    return query.exec() && query.next();
}

QStringList Database::fieldNames(const QString& table) const {
    QStringList names;
    if (!isOpen()) {
        return names;
    }
    QSqlQuery query(m_connection->db());
    if (query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table)))) {
        while (query.next()) {
            names.append(query.value(1).toString());
        }
    }
    return names;
}

std::shared_ptr<Recordset> Database::openRecordset(const RecordSource& source, RecordsetType type,
                                                   DbError& error) {
    error = {};
    if (!isOpen()) {
        error = DbError::objectClosed();
        return nullptr;
    }
    return Recordset::open(m_connection, source, type, error);
}
