#include "output/SightingTable.h"

#include "database/Database.h"
#include "database/LikePattern.h"
#include "database/Schema.h"
#include "database/TextRows.h"
#include "platform/Collation.h"

#include <QHash>
#include <algorithm>
#include <numeric>
#include <optional>

bool SightingTable::sameGroup(const QString& a, const QString& b) {
    return a == b || foldCase(a) == foldCase(b);
}

DbError SightingTable::read(Database& db, const QStringList& sortFields, SightingTable& table,
                            const QStringList& fields, qsizetype grouped) {
    if (!db.isOpen()) {
        return DbError::objectClosed();
    }
    // A read that stops early (a damaged page) is a failure, not the end of the list.
    if (DbError error =
            readTextRows(db,
                         QStringLiteral("SELECT %1 FROM %2 ORDER BY Number")
                             .arg(fields.isEmpty() ? QStringLiteral("*") : quoteIdentifiers(fields),
                                  quoteIdentifier(lifelist::kBirdList)),
                         table.m_fields, table.m_rows)) {
        table.m_rows.clear();
        return error;
    }

    QList<int> columns;
    std::vector<bool> folded;
    for (qsizetype i = 0; i < sortFields.size(); ++i) {
        if (const int column = table.fieldIndex(sortFields[i]); column >= 0) {
            columns.append(column);
            folded.push_back(i < grouped);
        }
    }
    if (columns.isEmpty()) {
        return {};
    }
    // Each column's distinct values are numbered, and a value's key is worked out the first
    // time two rows are compared on it: the later columns only break ties. Rows already come in
    // Number order, which a stable sort keeps among equal keys. In a grouping column the
    // spellings of one value share the number of the first met, and so its key.
    struct Column {
        QHash<QString, int> numbers;
        QHash<QString, int> foldedNumbers;
        std::vector<std::optional<collation::Key>> keys;
        std::vector<QString> values;
    };
    const size_t count = size_t(columns.size());
    std::vector<Column> sortColumns(count);
    const size_t rows = size_t(table.m_rows.size());
    std::vector<int> numbered(rows * count);
    for (Column& column : sortColumns) {
        column.numbers.reserve(qsizetype(rows));
    }
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < count; ++c) {
            Column& column = sortColumns[c];
            const QString& value = table.m_rows[qsizetype(r)][columns[qsizetype(c)]];
            auto found = column.numbers.constFind(value);
            if (found == column.numbers.cend()) {
                int number = int(column.values.size());
                if (folded[c]) {
                    const QString key = foldCase(value);
                    const auto spelled = column.foldedNumbers.constFind(key);
                    if (spelled != column.foldedNumbers.cend()) {
                        number = *spelled;
                    } else {
                        column.foldedNumbers.insert(key, number);
                    }
                }
                found = column.numbers.insert(value, number);
                if (number == int(column.values.size())) {
                    column.values.push_back(value);
                    column.keys.emplace_back();
                }
            }
            numbered[r * count + c] = *found;
        }
    }
    const auto key = [&sortColumns](size_t c, int number) -> const collation::Key& {
        std::optional<collation::Key>& slot = sortColumns[c].keys[size_t(number)];
        if (!slot) {
            slot.emplace(sortColumns[c].values[size_t(number)]);
        }
        return *slot;
    };
    std::vector<qsizetype> order(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        for (size_t c = 0; c < count; ++c) {
            const int x = numbered[size_t(a) * count + c];
            const int y = numbered[size_t(b) * count + c];
            if (x != y) {
                if (const int result = key(c, x).compare(key(c, y)); result != 0) {
                    return result < 0;
                }
            }
        }
        return false;
    });
    QList<QStringList> sorted;
    sorted.reserve(table.m_rows.size());
    for (qsizetype index : order) {
        sorted.append(std::move(table.m_rows[index]));
    }
    table.m_rows = std::move(sorted);
    return {};
}
