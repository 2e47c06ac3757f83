#include "database/Salvage.h"

#include "database/PageScan.h"

#include "database/Criteria.h"
#include "database/Database.h"
#include "database/FileOps.h"
#include "database/Schema.h"
#include "database/ShippedData.h"

#include <sqlite3.h>
#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
constexpr qint64 kHighest = std::numeric_limits<qint64>::max();

// After damage, the starts just above the last good row are tried one by one: far more rowids
// than a damaged page, or the pages below a damaged interior page, ever hold, so that a good page
// between two damaged ones is not stepped over. Beyond them the steps grow.
constexpr qint64 kNearProbes = 4096;
// The reads one table may spend on getting past damage. A file that is damaged throughout is
// given up on once they are spent, instead of being probed for hours.
constexpr int kReadBudget = 1 << 18;

qint64 saturatedAdd(qint64 value, qint64 step) {
    return value > kHighest - step ? kHighest : value + step;
}

// Errors that say the file cannot be reached now (locked, unreadable, out of memory), as opposed
// to a part of it being damaged. Salvaging past them would lose rows that are still there.
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

// The file must at least be readable as a file: a list we cannot read is never salvaged into an
// empty one.
DbError checkReadable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return DbError::fileNotFound(path);
    }
    if (!info.isFile()) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': it is not a file.").arg(path)};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString())};
    }
    char header[100];
    if (file.read(header, sizeof header) < 0) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString())};
    }
    return {};
}

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
    explicit Source(QString path) : m_path(std::move(path)) {
        static QAtomicInt counter;
        m_name = QStringLiteral("plovix-salvage-%1").arg(counter.fetchAndAddRelaxed(1));
    }
    ~Source() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen()) {
                db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(m_name);
    }
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

// Reads one table past its damage.
class TableReader {
public:
    TableReader(QSqlDatabase db, const QString& path, const SourceTable& table, const RowSink& sink)
        : m_db(std::move(db)), m_path(path), m_table(table), m_sink(sink) {}

    DbError run(bool& damaged);

private:
    enum class Probe { Works, Fails, Stop };

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

// The new file's side: the rows are written in one transaction.
class Target {
public:
    explicit Target(QSqlDatabase db) : m_db(std::move(db)) {}

    DbError prepareInsert(const QString& table, const QStringList& fields, bool withNumber);
    DbError insert(const QVariant& number, const QVariantList& values);
    // Raises the AUTOINCREMENT counter of "Bird List" to at least `number`.
    DbError raiseSequence(qint64 number);

private:
    QSqlDatabase m_db;
    std::optional<QSqlQuery> m_insert;
    bool m_withNumber = false;
};

DbError Target::prepareInsert(const QString& table, const QStringList& fields, bool withNumber) {
    QStringList columns;
    if (withNumber) {
        columns.append(quoteIdentifier(QStringLiteral("Number")));
    }
    for (const QString& field : fields) {
        columns.append(quoteIdentifier(field));
    }
    m_withNumber = withNumber;
    m_insert.emplace(m_db);
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoteIdentifier(table), columns.join(QStringLiteral(", ")),
                 QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    return m_insert->prepare(sql) ? DbError{} : DbError::fromSql(m_insert->lastError());
}

DbError Target::insert(const QVariant& number, const QVariantList& values) {
    int index = 0;
    if (m_withNumber) {
        m_insert->bindValue(index++, number);
    }
    for (const QVariant& value : values) {
        m_insert->bindValue(index++, value);
    }
    return m_insert->exec() ? DbError{} : DbError::fromSql(m_insert->lastError());
}

DbError Target::raiseSequence(qint64 number) {
    m_insert.reset();
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"));
    query.addBindValue(number);
    query.addBindValue(lifelist::kBirdList);
    query.addBindValue(number);
    if (!query.exec()) {
        return DbError::fromSql(query.lastError());
    }
    query.prepare(
        QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?, ? WHERE NOT EXISTS "
                       "(SELECT 1 FROM sqlite_sequence WHERE name = ?)"));
    query.addBindValue(lifelist::kBirdList);
    query.addBindValue(number);
    query.addBindValue(lifelist::kBirdList);
    return query.exec() ? DbError{} : DbError::fromSql(query.lastError());
}

// Fills the new, empty life list in `db` (inside its transaction) from the source.
DbError copyLifeList(const Source& source, QSqlDatabase& db, const ShippedData& data,
                     SalvageReport& report) {
    if (DbError error = lifelist::createSchema(db)) {
        return error;
    }
    Target target(db);
    std::optional<qint64> highestNumber;
    QStringList emptyLookups;
    for (const lifelist::Table& table : lifelist::tables()) {
        const bool isBirdList = table.name == lifelist::kBirdList;
        int saved = 0;
        bool damaged = true;  // until its rows have been read
        const std::optional<SourceTable> found = source.find(table.name, table.fields);
        if (found || isBirdList) {
            if (DbError error = target.prepareInsert(table.name, table.fields, isBirdList)) {
                return error;
            }
        }
        const RowSink sink = [&](qint64 rowid, const QVariantList& values) {
            ++saved;
            if (isBirdList) {
                highestNumber = std::max(highestNumber.value_or(rowid), rowid);
            }
            return target.insert(rowid, values);
        };
        if (found) {
            damaged = false;
            if (DbError error = source.readRows(*found, sink, damaged)) {
                return error;
            }
        } else if (isBirdList) {
            // The file's list of tables is lost: the sightings are looked for page by page.
            for (const ScannedRecord& record :
                 scanRecords(source.path(), 1 + table.fields.size())) {
                if (DbError error = sink(record.rowid, record.values)) {
                    return error;
                }
            }
            report.pagesScanned = true;
        }
        report.rowsSaved[table.name] = saved;
        if (damaged) {
            report.damagedTables.append(table.name);
        }
        if (!isBirdList && saved == 0) {
            emptyLookups.append(table.name);
        }
    }

    // No later sighting may get a Number that was ever stored, even one deleted since.
    DbError error;
    const std::optional<qint64> sequence = source.sequence(lifelist::kBirdList, error);
    if (error) {
        return error;
    }
    const qint64 highest = std::max(highestNumber.value_or(0), sequence.value_or(0));
    if (highest > 0) {
        if (DbError raised = target.raiseSequence(highest)) {
            return raised;
        }
    }

    if (!highestNumber) {
        if (DbError added = lifelist::addStarterRecord(db)) {
            return added;
        }
        report.starterRecordAdded = true;
    }
    if (!emptyLookups.isEmpty()) {
        if (DbError filled = lifelist::fillLookupTables(db, data, emptyLookups)) {
            return filled;
        }
        report.refilledTables = emptyLookups;
    }
    return {};
}

}  // namespace

DbError salvageLifeList(const QString& source, const QString& target, const ShippedData& data,
                        SalvageReport* report) {
    if (DbError error = checkReadable(source)) {
        return error;
    }
    if (fileops::exists(target)) {
        return {DbError::CannotOpen, QStringLiteral("The file '%1' already exists.").arg(target)};
    }
    Source reader(source);
    if (DbError error = reader.open()) {
        return error;
    }

    SalvageReport saved;
    DbError error;
    {
        std::unique_ptr<Database> database = Database::create(target, error);
        if (!database) {
            return error;
        }
        QSqlDatabase db = database->sql();
        if (!db.transaction()) {
            error = DbError::fromSql(db.lastError());
        } else {
            error = copyLifeList(reader, db, data, saved);
            if (error) {
                db.rollback();
            } else if (!db.commit()) {
                error = DbError::fromSql(db.lastError());
                db.rollback();
            }
        }
    }
    if (error) {
        fileops::removeFile(target);
        fileops::removeFile(target + QStringLiteral("-journal"));
        return error;
    }
    if (report) {
        *report = saved;
    }
    return {};
}
