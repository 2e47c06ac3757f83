#include "database/TableReader.h"

#include "database/Database.h"

#include <limits>

namespace salvage {

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
constexpr qint64 kHighest = std::numeric_limits<qint64>::max();

// After damage, the starts just above the last good row are tried one by one: far more rowids
// than a damaged page, or the pages below a damaged interior page, ever hold, so that a good page
// between two damaged ones is not stepped over. Beyond them the steps grow.
constexpr qint64 kNearProbes = 4096;

qint64 saturatedAdd(qint64 value, qint64 step) {
    return value > kHighest - step ? kHighest : value + step;
}

}  // namespace

QString TableReader::selectSql(const QString& where) const {
    QStringList columns{QStringLiteral("rowid")};
    for (const QString& column : m_table.columns) {
        columns.append(column.isEmpty() ? QStringLiteral("NULL") : quoteIdentifier(column));
    }
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY rowid")
        .arg(columns.join(QStringLiteral(", ")), quoteIdentifier(m_table.name), where);
}

bool TableReader::spend(int reads) {
    m_budget -= reads;
    return m_budget >= 0;
}

TableReader::Probe TableReader::probe(qint64 start) {
    if (m_error || !spend()) {
        return Probe::Stop;
    }
    if (!m_probe) {
        m_probe.emplace(m_db);
        m_probe->setForwardOnly(true);
        if (!m_probe->prepare(selectSql(QStringLiteral("rowid >= ?")) +
                              QStringLiteral(" LIMIT 1"))) {
            if (isAccessError(m_probe->lastError())) {
                m_error = accessError(m_path, m_probe->lastError());
            }
            return Probe::Stop;
        }
    }
    m_probe->bindValue(0, start);
    bool works = false;
    if (m_probe->exec()) {
        works = m_probe->next() ? m_probe->value(0).toLongLong() >= start
                                : !m_probe->lastError().isValid();
    }
    if (!works && isAccessError(m_probe->lastError())) {
        m_error = accessError(m_path, m_probe->lastError());
        return Probe::Stop;
    }
    m_probe->finish();
    return works ? Probe::Works : Probe::Fails;
}

std::optional<qint64> TableReader::nextReadableStart(qint64 after) {
    if (after == kHighest) {
        return std::nullopt;
    }
    // Nothing read yet: the first page is damaged. Rowids of a life list start at 1.
    const qint64 base = after == kLowest ? -1 : after;
    for (qint64 i = 1; i <= kNearProbes; ++i) {
        const qint64 start = saturatedAdd(base, i);
        switch (probe(start)) {
            case Probe::Works:
                return start;
            case Probe::Stop:
                return std::nullopt;
            case Probe::Fails:
                if (start == kHighest) {
                    return std::nullopt;
                }
                break;
        }
    }
    // Far beyond: steps doubling until reading works, then a binary search back to the smallest
    // start at which it does.
    qint64 failing = saturatedAdd(base, kNearProbes);
    qint64 step = kNearProbes;
    for (;;) {
        qint64 working = saturatedAdd(failing, step);
        const Probe outcome = probe(working);
        if (outcome == Probe::Stop) {
            return std::nullopt;
        }
        if (outcome == Probe::Works) {
            while (working - failing > 1) {
                const qint64 middle = failing + (working - failing) / 2;
                const Probe half = probe(middle);
                if (half == Probe::Stop) {
                    return std::nullopt;
                }
                if (half == Probe::Works) {
                    working = middle;
                } else {
                    failing = middle;
                }
            }
            return working;
        }
        if (working == kHighest) {
            return std::nullopt;
        }
        failing = working;
        step = step > kHighest / 2 ? kHighest : step * 2;
    }
}

DbError TableReader::salvagePartialRows(qint64 from, qint64 end) {
    // The rowids alone need only the table's pages, not the rows' contents.
    QList<qint64> rowids;
    {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (query.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE rowid >= ? AND rowid < ? "
                                         "ORDER BY rowid")
                              .arg(quoteIdentifier(m_table.name)))) {
            query.bindValue(0, from);
            query.bindValue(1, end);
            qint64 previous = from;
            if (query.exec()) {
                while (spend() && query.next()) {
                    const qint64 rowid = query.value(0).toLongLong();
                    if (rowid < previous || rowid >= end) {
                        break;  // not a rowid but damage read as one
                    }
                    rowids.append(rowid);
                    if (rowid == kHighest) {
                        break;
                    }
                    previous = rowid + 1;
                }
            }
        }
        if (isAccessError(query.lastError())) {
            return accessError(m_path, query.lastError());
        }
    }
    if (rowids.isEmpty()) {
        return {};
    }

    std::vector<QSqlQuery> fields;
    fields.reserve(m_table.columns.size());
    for (const QString& column : m_table.columns) {
        QSqlQuery& query = fields.emplace_back(m_db);
        query.setForwardOnly(true);
        if (!column.isEmpty()) {
            query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                              .arg(quoteIdentifier(column), quoteIdentifier(m_table.name)));
        }
    }
    for (const qint64 rowid : rowids) {
        QVariantList values;
        bool anyValue = false;
        for (size_t i = 0; i < fields.size(); ++i) {
            QSqlQuery& query = fields[i];
            QVariant value;
            if (!m_table.columns[qsizetype(i)].isEmpty() && spend()) {
                query.bindValue(0, rowid);
                if (query.exec() && query.next()) {
                    value = query.value(0);
                } else if (isAccessError(query.lastError())) {
                    return accessError(m_path, query.lastError());
                }
                query.finish();
            }
            anyValue = anyValue || !value.isNull();
            values.append(value);
        }
        if (anyValue) {
            if (DbError error = m_sink(rowid, values)) {
                return error;
            }
        }
    }
    return {};
}

DbError TableReader::run(bool& damaged) {
    QSqlQuery scan(m_db);
    scan.setForwardOnly(true);
    if (!scan.prepare(selectSql(QStringLiteral("rowid >= ?")))) {
        if (isAccessError(scan.lastError())) {
            return accessError(m_path, scan.lastError());
        }
        damaged = true;
        return {};
    }
    const qsizetype width = m_table.columns.size();
    qint64 from = kLowest;  // every row below has been read or given up
    for (;;) {
        scan.bindValue(0, from);
        bool ordered = true;
        if (scan.exec()) {
            while (scan.next()) {
                const qint64 rowid = scan.value(0).toLongLong();
                if (rowid < from) {
                    ordered = false;  // rows out of order come from a damaged page
                    break;
                }
                QVariantList values;
                values.reserve(width);
                for (int i = 1; i <= width; ++i) {
                    values.append(scan.value(i));
                }
                if (DbError error = m_sink(rowid, values)) {
                    return error;
                }
                if (rowid == kHighest) {
                    return {};
                }
                from = rowid + 1;
            }
        }
        if (ordered && !scan.lastError().isValid()) {
            return {};  // the end of the table
        }
        if (isAccessError(scan.lastError())) {
            return accessError(m_path, scan.lastError());
        }
        scan.finish();
        damaged = true;

        const std::optional<qint64> next = nextReadableStart(from);
        if (m_error) {
            return m_error;
        }
        if (DbError error = salvagePartialRows(from, next.value_or(kHighest))) {
            return error;
        }
        if (!next) {
            return {};
        }
        from = *next;
    }
}

}  // namespace salvage
