#pragma once

#include "database/DbError.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>
#include <optional>

class QSqlError;

namespace salvage {

// Errors that say the file cannot be reached now (locked, unreadable, out of memory), as opposed
// to a part of it being damaged. Salvaging past them would lose rows that are still there.
bool isAccessError(const QSqlError& error);
// A failure to reach the file, told with its path.
DbError accessError(const QString& path, const QSqlError& error);

// A table of the life list as the damaged file has it.
struct SourceTable {
    QString name;         // as the file spells it
    QStringList columns;  // for each field of the life list, the file's column; empty if missing
};

// Receives one row: its rowid and the values of the life list's fields.
using RowSink = std::function<DbError(qint64 rowid, const QVariantList& values)>;

// The damaged file, read through its own connection. Nothing is ever written to it.
class Source {
public:
    explicit Source(QString path);
    ~Source();
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    const QString& path() const { return m_path; }

    // Opens the file and reads the names of its tables. Fails only when the file cannot be
    // reached; a file that is not a database, or whose list of tables is damaged, just has
    // fewer tables.
    DbError open();

    // The table of the life list `table` with the `fields` it should have; no value when the
    // file has no readable table of that name.
    std::optional<SourceTable> find(const QString& table, const QStringList& fields) const;

    // Passes every readable row of the table to `sink`, in rowid order. `damaged` tells whether
    // some rows could not be read. Fails when the file cannot be reached or `sink` fails.
    DbError readRows(const SourceTable& table, const RowSink& sink, bool& damaged) const;

    // The highest Number the file's AUTOINCREMENT counter of the table has handed out.
    std::optional<qint64> sequence(const QString& table, DbError& error) const;

private:
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    QString m_path;
    QString m_name;
    QStringList m_tables;
};

}  // namespace salvage
