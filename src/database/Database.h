#pragma once

#include "database/Criteria.h"
#include "database/DbError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <map>
#include <memory>

class Recordset;

// Prepares and runs one statement on `query`, binding `values` to its "?" placeholders.
DbError runSql(QSqlQuery& query, const QString& sql, const QVariantList& values = {});

// The two kinds of recordset: a whole table, and a dynaset over a table that may be filtered
// and ordered, in which records can be found by criteria.
enum class RecordsetType { Table = 1, Dynaset = 2 };

// What a recordset reads: one table, optionally only the rows that meet a condition, in the
// order of one field (then in the order the rows were stored).
struct RecordSource {
    QString table;
    Criteria filter;
    QString orderBy;
};

// State shared by a database and the recordsets opened on it, so that closing the database
// closes them too.
struct Connection {
    QString name;
    QString path;
    bool open = false;
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    // A statement prepared once and kept while the database is open (for the hot paths);
    // nullptr when it cannot be prepared, with the reason in `error`.
    QSqlQuery* statement(const QString& sql, DbError& error);
    std::map<QString, QSqlQuery> statements;

    // Runs one statement that changes the file. After the file was found read-only, the
    // connection is opened anew before the next change, so that it is stored once the file
    // can be written again.
    DbError write(const QString& sql, const QVariantList& values, qint64* insertId = nullptr,
                  int* rowsAffected = nullptr);
    // Opens the connection anew when it found the file read-only before.
    DbError readyToWrite();
    bool reopenBeforeWriting = false;
};

// An open database file.
class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file for reading and writing. A missing file is the error
    // FileNotFound; a file that is not a database, or is damaged, is another error.
    static std::unique_ptr<Database> open(const QString& path, DbError& error);
    // Makes a new, empty database file; fails when the file exists.
    static std::unique_ptr<Database> create(const QString& path, DbError& error);

    void close();
    bool isOpen() const { return m_connection && m_connection->open; }
    QString path() const { return m_connection ? m_connection->path : QString(); }

    // Runs one statement with "?" placeholders; its values are bound, never spliced.
    DbError execute(const QString& sql, const QVariantList& parameters = {},
                    int* rowsAffected = nullptr);

    // One statement with the values for its "?" placeholders.
    struct Statement {
        QString sql;
        QVariantList values;
    };
    // Runs the statements as one transaction: either all of them take effect, or, when one
    // fails, none does and its error is returned. `goOn`, when given, is told how many have
    // run after each; false from it undoes them all and gives the error Cancelled.
    DbError executeAll(const QList<Statement>& statements,
                       const std::function<bool(qsizetype)>& goOn = {});

    std::shared_ptr<Recordset> openRecordset(const RecordSource& source, RecordsetType type,
                                             DbError& error);
    std::shared_ptr<Recordset> openRecordset(const QString& table, RecordsetType type,
                                             DbError& error) {
        return openRecordset(RecordSource{table, {}, {}}, type, error);
    }

    bool hasTable(const QString& table) const;
    QStringList fieldNames(const QString& table) const;

    // The SQL connection, for the engine's own statements.
    QSqlDatabase sql() const;

private:
    explicit Database(std::shared_ptr<Connection> connection);
    static std::unique_ptr<Database> connect(const QString& path, bool mustExist, DbError& error);

    std::shared_ptr<Connection> m_connection;
};
