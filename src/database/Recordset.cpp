#include "database/Recordset.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

QVariant valueOf(const QSqlQuery& query, int index) {
    return query.isNull(index) ? QVariant() : query.value(index);
}

}  // namespace

QString nullToEmpty(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    return value.toString();
}

std::shared_ptr<Recordset> Recordset::open(std::shared_ptr<Connection> connection,
                                           const RecordSource& source, RecordsetType type,
                                           DbError& error) {
    error = {};
    if (type == RecordsetType::Table && (!source.filter.isEmpty() || !source.orderBy.isEmpty())) {
        error = {DbError::NotSupported,
                 QStringLiteral("A table recordset cannot be filtered or ordered.")};
        return nullptr;
    }
    std::shared_ptr<Recordset> recordset(new Recordset);
    recordset->m_connection = std::move(connection);
    recordset->m_source = source;
    recordset->m_type = type;

    QSqlQuery query(recordset->m_connection->db());
    error = runSql(query,
                   QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(source.table)), {});
    while (!error && query.next()) {
        recordset->m_fields.append(query.value(1).toString());
    }
    recordset->m_rowSql =
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(quoteIdentifiers(recordset->m_fields), quoteIdentifier(source.table));
    if (!error && recordset->m_fields.isEmpty()) {
        error = {DbError::CannotFindTable,
                 QStringLiteral("Cannot find the table '%1'.").arg(source.table)};
    }
    if (!error) {
        error = recordset->requery();
    }
    return error ? nullptr : recordset;
}

DbError Recordset::checkOpen() const {
    return isOpen() ? DbError{} : DbError::objectClosed();
}

DbError Recordset::checkCurrent() const {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (m_currentDeleted) {
        return DbError::recordDeleted();
    }
    return absolutePosition() < 0 ? DbError::noCurrentRecord() : DbError{};
}

DbError Recordset::loadKeys() {
    QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE %2")
                      .arg(quoteIdentifier(m_source.table), m_source.filter.sqlCondition());
    sql += m_source.orderBy.isEmpty()
               ? QStringLiteral(" ORDER BY rowid")
               : QStringLiteral(" ORDER BY %1, rowid").arg(quoteIdentifier(m_source.orderBy));
    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    if (DbError error = runSql(query, sql, m_source.filter.sqlParameters())) {
        return error;
    }
    QList<qint64> keys;
    while (query.next()) {
        keys.append(query.value(0).toLongLong());
    }
    if (query.lastError().isValid()) {
        return DbError::fromSql(query.lastError());
    }
    m_keys = std::move(keys);
    return {};
}

DbError Recordset::readColumn(const QString& field, QVariantList& values) const {
    values.clear();
    if (DbError error = checkOpen()) {
        return error;
    }
    const int index = fieldIndex(field);
    if (index < 0) {
        return {DbError::FieldNotFound,
                QStringLiteral("Item not found in this collection: '%1'.").arg(field)};
    }
    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    if (DbError error =
            runSql(query,
                   QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3")
                       .arg(quoteIdentifier(m_fields[index]), quoteIdentifier(m_source.table),
                            m_source.filter.sqlCondition()),
                   m_source.filter.sqlParameters())) {
        return error;
    }
    QHash<qint64, QVariant> byKey;
    while (query.next()) {
        byKey.insert(query.value(0).toLongLong(), valueOf(query, 1));
    }
    for (const qint64 key : m_keys) {
        if (const auto found = byKey.constFind(key); found != byKey.cend()) {
            values.append(*found);
        }
    }
    return query.lastError().isValid() ? DbError::fromSql(query.lastError()) : DbError();
}

DbError Recordset::requery() {
    if (DbError error = checkOpen()) {
        return error;
    }
    dropPendingChange();
    if (DbError error = loadKeys()) {
        return error;
    }
    m_noMatch = false;
    return goTo(m_keys.isEmpty() ? -1 : 0);
}

DbError Recordset::loadCurrent() {
    m_row.clear();
    DbError error;
    QSqlQuery* query = m_connection->statement(m_rowSql, error);
    if (!query) {
        return error;
    }
    query->bindValue(0, m_keys[m_pos]);
    if (!query->exec()) {
        return DbError::fromSql(query->lastError());
    }
    if (!query->next()) {
        error = query->lastError().isValid() ? DbError::fromSql(query->lastError())
                                             : DbError::recordDeleted();
        query->finish();
        return error;
    }
    for (int i = 0; i < m_fields.size(); ++i) {
        m_row.append(valueOf(*query, i));
    }
    query->finish();
    return {};
}

DbError Recordset::goTo(qsizetype position) {
    dropPendingChange();
    m_currentDeleted = false;
    m_pos = std::clamp<qsizetype>(position, -1, m_keys.size());
    m_row.clear();
    if (m_pos >= 0 && m_pos < m_keys.size()) {
        return loadCurrent();
    }
    return {};
}

bool Recordset::eof() const {
    return m_keys.isEmpty() || (!m_currentDeleted && m_pos >= m_keys.size());
}

bool Recordset::bof() const {
    return m_keys.isEmpty() || (!m_currentDeleted && m_pos < 0);
}

DbError Recordset::moveFirst() {
    if (DbError error = checkOpen()) {
        return error;
    }
    return m_keys.isEmpty() ? DbError::noCurrentRecord() : goTo(0);
}

DbError Recordset::moveLast() {
    if (DbError error = checkOpen()) {
        return error;
    }
    return m_keys.isEmpty() ? DbError::noCurrentRecord() : goTo(m_keys.size() - 1);
}

DbError Recordset::moveNext() {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (m_currentDeleted) {
        return goTo(m_pos);
    }
    if (eof()) {
        return DbError::noCurrentRecord();
    }
    return goTo(m_pos + 1);
}

DbError Recordset::movePrevious() {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (bof()) {
        return DbError::noCurrentRecord();
    }
    return goTo(m_pos - 1);
}

DbError Recordset::move(int rows) {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (absolutePosition() < 0) {
        return DbError::noCurrentRecord();
    }
    return goTo(m_pos + rows);
}

int Recordset::absolutePosition() const {
    if (m_currentDeleted || m_pos < 0 || m_pos >= m_keys.size()) {
        return -1;
    }
    return int(m_pos);
}

DbError Recordset::setAbsolutePosition(int position) {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (position < 0 || position >= m_keys.size()) {
        return {DbError::General, QStringLiteral("Invalid argument.")};
    }
    return goTo(position);
}

double Recordset::percentPosition() const {
    const int position = absolutePosition();
    if (position < 0) {
        return 0.0;
    }
    return m_keys.size() == 1 ? 100.0 : 100.0 * position / double(m_keys.size() - 1);
}

DbError Recordset::setPercentPosition(double percent) {
    if (m_keys.isEmpty()) {
        return DbError::noCurrentRecord();
    }
    const double clamped = std::clamp(percent, 0.0, 100.0);
    return setAbsolutePosition(int(clamped / 100.0 * double(m_keys.size() - 1) + 0.5));
}

QVariant Recordset::bookmark() const {
    const int position = absolutePosition();
    return position < 0 ? QVariant() : QVariant(m_keys[position]);
}

DbError Recordset::setBookmark(const QVariant& bookmark) {
    if (DbError error = checkOpen()) {
        return error;
    }
    bool ok = false;
    const qint64 key = bookmark.toLongLong(&ok);
    const qsizetype position = ok ? m_keys.indexOf(key) : -1;
    if (position < 0) {
        return {DbError::InvalidBookmark, QStringLiteral("Not a valid bookmark.")};
    }
    return goTo(position);
}

DbError Recordset::findFirst(const Criteria& criteria) {
    return findFrom(criteria, 0, 1);
}

DbError Recordset::findLast(const Criteria& criteria) {
    return findFrom(criteria, m_keys.size() - 1, -1);
}

DbError Recordset::findNext(const Criteria& criteria) {
    qsizetype start = m_pos + 1;
    if (m_currentDeleted) {
        start = m_pos;
    }
    return findFrom(criteria, std::max<qsizetype>(start, 0), 1);
}

DbError Recordset::findPrevious(const Criteria& criteria) {
    return findFrom(criteria, std::min<qsizetype>(m_pos - 1, m_keys.size() - 1), -1);
}

DbError Recordset::findFrom(const Criteria& criteria, qsizetype start, int step) {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (m_type == RecordsetType::Table) {
        return {DbError::NotSupported,
                QStringLiteral("Operation is not supported for this type of object.")};
    }
    const Criteria condition = m_source.filter && criteria;
    QSqlQuery query(m_connection->db());
    query.setForwardOnly(true);
    if (DbError error = runSql(query,
                               QStringLiteral("SELECT rowid FROM %1 WHERE %2")
                                   .arg(quoteIdentifier(m_source.table), condition.sqlCondition()),
                               condition.sqlParameters())) {
        return error;
    }
    QSet<qint64> matches;
    while (query.next()) {
        matches.insert(query.value(0).toLongLong());
    }
    if (query.lastError().isValid()) {
        return DbError::fromSql(query.lastError());
    }
    for (qsizetype i = start; i >= 0 && i < m_keys.size(); i += step) {
        if (matches.contains(m_keys[i])) {
            m_noMatch = false;
            return goTo(i);
        }
    }
    m_noMatch = true;
    return {};
}
