#pragma once

#include "database/SalvageSource.h"

#include <QSqlQuery>
#include <optional>

namespace salvage {

// Reads one table past its damage.
class TableReader {
public:
    TableReader(QSqlDatabase db, const QString& path, const SourceTable& table, const RowSink& sink)
        : m_db(std::move(db)), m_path(path), m_table(table), m_sink(sink) {}

    DbError run(bool& damaged);

private:
    enum class Probe { Works, Fails, Stop };
    // The reads one table may spend on getting past damage. A file that is damaged throughout is
    // given up on once they are spent, instead of being probed for hours.
    static constexpr int kReadBudget = 1 << 18;

    QString selectSql(const QString& where) const;
    bool spend(int reads = 1);
    // Whether reading from `start` gives a row, or the end of the table, without an error.
    Probe probe(qint64 start);
    // The smallest start above `after` from which reading works again; none when there is none
    // or reading has to stop.
    std::optional<qint64> nextReadableStart(qint64 after);
    // The rows with rowids in [from, end) that could not be read whole: those whose place in the
    // table can still be found keep every field that can still be read.
    DbError salvagePartialRows(qint64 from, qint64 end);

    QSqlDatabase m_db;
    QString m_path;
    const SourceTable& m_table;
    const RowSink& m_sink;
    std::optional<QSqlQuery> m_probe;
    DbError m_error;
    int m_budget = kReadBudget;
};

}  // namespace salvage
