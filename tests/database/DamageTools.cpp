#include "database/DamageTools.h"

#include "database/NewLifeList.h"
#include "database/ShippedData.h"

#include <sqlite3.h>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace damage {

namespace {

// A connection and a statement that close themselves.
using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Connection connect(const QString& path, bool writable) {
    sqlite3* db = nullptr;
    const int flags = writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    return {db, &sqlite3_close};
}

Statement prepare(sqlite3* db, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare16_v2(db, sql.utf16(), -1, &stmt, nullptr);
    return {stmt, &sqlite3_finalize};
}

QVariant columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return QVariant::fromValue<qint64>(sqlite3_column_int64(stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column);
        case SQLITE_TEXT: {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
            return QString::fromUtf16(text, sqlite3_column_bytes16(stmt, column) / 2);
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
            return QByteArray(data, sqlite3_column_bytes(stmt, column));
        }
        default:
            return QVariant();
    }
}

bool run(sqlite3* db, const QString& sql) {
    const Statement statement = prepare(db, sql);
    return statement && sqlite3_step(statement.get()) == SQLITE_DONE;
}

// Every row a query returns; no value when it cannot run to its end.
std::optional<Rows> rowsOf(const QString& path, const QString& sql) {
    const Connection db = connect(path, false);
    const Statement query = prepare(db.get(), sql);
    Rows rows;
    int result = query ? SQLITE_ROW : SQLITE_ERROR;
    while (query && (result = sqlite3_step(query.get())) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(query.get()); ++i) {
            row.append(columnValue(query.get(), i));
        }
        rows.append(row);
    }
    return result == SQLITE_DONE ? std::optional(rows) : std::nullopt;
}

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i) {
        value = (value << 8) | quint8(bytes.at(at + i));
    }
    return value;
}

// An SQLite variable-length integer at `at`; `at` moves past it.
quint64 varint(const QByteArray& bytes, qsizetype& at) {
    quint64 value = 0;
    for (int i = 0; i < 9; ++i) {
        const quint8 byte = quint8(bytes.at(at++));
        if (i == 8) {
            return (value << 8) | byte;
        }
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80)) {
            break;
        }
    }
    return value;
}

int pageSizeOf(const QByteArray& file) {
    const quint32 size = bigEndian(file, 16, 2);
    return size == 1 ? 65536 : int(size);
}

bool overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) &&
           file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

bool makeLifeList(const QString& path, int sightings, int commentLength) {
    // Names with quotes and letters beyond ASCII, empty and missing values, long comments.
    return !createNewLifeList(path, ShippedData::load()) &&
           execute(path, {uR"(WITH RECURSIVE n(i) AS (SELECT 2 WHERE %1 >= 2 UNION ALL
                SELECT i + 1 FROM n WHERE i < %1)
            INSERT INTO "Bird List" (CommonName, AlternateName, "Order", Family, Species,
                Location, Country, Region, Month, Year, Comments, Additional)
            SELECT printf('Grüner Laubsänger''s "%d"', i), CASE WHEN i % 3 THEN 'Alt ' || i END,
                'Passeriformes', 'Phylloscopidae', 'Phylloscopus ' || i, 'Marsh ' || i,
                'Côte d''Ivoire', 'Africa', 1 + i % 12, 1970 + i % 50,
                substr(i || ': ' || printf('%.*c', %2, '~'), 1, max(%2, length(i) + 2)),
                CASE WHEN i % 2 = 0 THEN '' END FROM n)"_s.arg(sightings + 1)
                              .arg(commentLength)});
}

bool execute(const QString& path, const QStringList& statements) {
    const Connection db = connect(path, true);
    bool ok = run(db.get(), u"BEGIN"_s);
    for (const QString& sql : statements) {
        ok = ok && run(db.get(), sql);
    }
    return ok && run(db.get(), u"COMMIT"_s);
}

std::shared_ptr<sqlite3> holdExclusiveLock(const QString& path) {
    // Closing the connection rolls the open transaction back.
    const std::shared_ptr<sqlite3> db(connect(path, true).release(), &sqlite3_close);
    return run(db.get(), u"BEGIN EXCLUSIVE"_s) ? db : nullptr;
}

std::optional<Rows> readRows(const QString& path, const QString& table) {
    return rowsOf(path, u"SELECT * FROM \"%1\" ORDER BY rowid"_s.arg(
                            QString(table).replace(u'"', u"\"\""_s)));
}

QVariant queryValue(const QString& path, const QString& sql) {
    return rowsOf(path, sql).value_or(Rows{}).value(0).value(0);
}

QList<int> leafPages(const QString& path, const QString& table) {
    QList<int> pages;
    const QString leaves = u"SELECT pageno FROM dbstat WHERE name = '%1' AND pagetype = 'leaf'"_s;
    for (const QVariantList& row : rowsOf(path, leaves.arg(table)).value_or(Rows{})) {
        pages.append(row[0].toInt());
    }
    auto firstRowid = [&](int page) {
        const QList<Cell> cells = cellsOnLeafPage(path, page);
        return cells.isEmpty() ? std::numeric_limits<qint64>::max() : cells.first().rowid;
    };
    std::sort(pages.begin(), pages.end(),
              [&](int a, int b) { return firstRowid(a) < firstRowid(b); });
    return pages;
}

QList<Cell> cellsOnLeafPage(const QString& path, int page) {
    const QByteArray file = fileBytes(path);
    if (file.size() < 100 || page < 1) {
        return {};
    }
    const int pageSize = pageSizeOf(file);
    const qsizetype start = qsizetype(page - 1) * pageSize;
    const qsizetype header = start + (page == 1 ? 100 : 0);
    if (start + pageSize > file.size() || quint8(file.at(header)) != 0x0D) {
        return {};
    }
    const qint64 usable = pageSize - quint8(file.at(20));
    const qint64 maxLocal = usable - 35;
    const qint64 minLocal = (usable - 12) * 32 / 255 - 23;
    QList<Cell> cells;
    const quint32 count = bigEndian(file, header + 3, 2);
    for (quint32 i = 0; i < count; ++i) {
        qsizetype at = start + bigEndian(file, header + 8 + 2 * i, 2);
        const qint64 payload = qint64(varint(file, at));
        Cell cell;
        cell.rowid = qint64(varint(file, at));
        if (payload > maxLocal) {
            const qint64 fill = minLocal + (payload - minLocal) % (usable - 4);
            const qint64 local = fill <= maxLocal ? fill : minLocal;
            cell.overflowPage = bigEndian(file, at + local, 4);
        }
        cells.append(cell);
    }
    return cells;
}

bool damagePageHeader(const QString& path, int page) {
    const int pageSize = pageSizeOf(fileBytes(path));
    return page > 1 && overwrite(path, qint64(page - 1) * pageSize, QByteArray(8, '\xFF'));
}

bool overwritePage(const QString& path, int page) {
    const int pageSize = pageSizeOf(fileBytes(path));
    return page >= 1 && overwrite(path, qint64(page - 1) * pageSize, QByteArray(pageSize, '\xFF'));
}

bool writeGarbage(const QString& path, int size, bool sqliteHeader) {
    QRandomGenerator random(size);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(random.bounded(256));
    }
    if (sqliteHeader) {
        bytes.replace(0, 16, QByteArray("SQLite format 3", 16));
    } else if (!bytes.isEmpty()) {
        bytes[0] = 'x';
    }
    return writeFile(path, bytes);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace damage
