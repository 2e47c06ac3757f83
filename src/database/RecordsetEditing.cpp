// The current record's values, and adding, changing and deleting records.
#include "database/Recordset.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

int Recordset::fieldIndex(const QString& field) const {
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

DbError Recordset::getValue(const QString& field, QVariant& value) const {
    value = QVariant();
    const int index = fieldIndex(field);
    if (index < 0) {
        return {DbError::FieldNotFound,
                QStringLiteral("Item not found in this collection: '%1'.").arg(field)};
    }
    if (m_mode != EditMode::None) {
        value = m_buffer[index];
        return {};
    }
    if (m_currentDeleted) {
        return DbError::recordDeleted();
    }
    if (absolutePosition() < 0 || m_row.size() != m_fields.size()) {
        return DbError::noCurrentRecord();
    }
    value = m_row[index];
    return {};
}

QVariant Recordset::value(const QString& field) const {
    QVariant value;
    getValue(field, value);
    return value;
}

DbError Recordset::setValue(const QString& field, const QVariant& value) {
    if (m_mode == EditMode::None) {
        return DbError::updateWithoutEdit();
    }
    const int index = fieldIndex(field);
    if (index < 0) {
        return {DbError::FieldNotFound,
                QStringLiteral("Item not found in this collection: '%1'.").arg(field)};
    }
    m_buffer[index] = value;
    m_dirty[index] = true;
    return {};
}

void Recordset::dropPendingChange() {
    m_mode = EditMode::None;
    m_buffer.clear();
    m_dirty.clear();
}

DbError Recordset::addNew() {
    if (DbError error = checkOpen()) {
        return error;
    }
    dropPendingChange();
    m_mode = EditMode::Add;
    m_buffer = QVariantList(m_fields.size());
    m_dirty = QList<bool>(m_fields.size(), false);
    return {};
}

DbError Recordset::edit() {
    if (DbError error = checkCurrent()) {
        return error;
    }
    if (m_mode == EditMode::Edit) {
        return {};
    }
    if (DbError error = loadCurrent()) {
        return error;
    }
    m_mode = EditMode::Edit;
    m_buffer = m_row;
    m_dirty = QList<bool>(m_fields.size(), false);
    return {};
}

DbError Recordset::cancelUpdate() {
    if (m_mode == EditMode::None) {
        return DbError::updateWithoutEdit();
    }
    dropPendingChange();
    return {};
}

DbError Recordset::update() {
    if (DbError error = checkOpen()) {
        return error;
    }
    if (m_mode == EditMode::None) {
        return DbError::updateWithoutEdit();
    }
    QStringList fields;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_dirty[i]) {
            fields.append(m_fields[i]);
            values.append(m_buffer[i].isValid() ? m_buffer[i] : QVariant());
        }
    }
    const QString table = quoteIdentifier(m_source.table);
    if (m_mode == EditMode::Add) {
        const QString sql =
            fields.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, quoteIdentifiers(fields),
                           QStringList(fields.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        qint64 key = 0;
        if (DbError error = m_connection->write(sql, values, &key)) {
            return error;
        }
        m_keys.append(key);
        m_lastModified = key;
        dropPendingChange();
        // The record that was current before AddNew stays current.
        if (m_pos >= m_keys.size() - 1 && !m_currentDeleted) {
            m_pos = m_keys.size();  // was EOF: stays EOF past the new record
        }
        return {};
    }
    if (!fields.isEmpty()) {
        QStringList assignments;
        for (const QString& field : fields) {
            assignments.append(quoteIdentifier(field) + QStringLiteral(" = ?"));
        }
        values.append(m_keys[m_pos]);
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(table, assignments.join(QStringLiteral(", ")));
        int changed = 0;
        if (DbError error = m_connection->write(sql, values, nullptr, &changed)) {
            return error;
        }
        if (changed == 0) {
            return DbError::recordDeleted();
        }
    }
    m_lastModified = m_keys[m_pos];
    dropPendingChange();
    return loadCurrent();
}

DbError Recordset::deleteRecord() {
    if (DbError error = checkCurrent()) {
        return error;
    }
    dropPendingChange();
    if (DbError error = m_connection->write(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdentifier(m_source.table)),
            {m_keys[m_pos]})) {
        return error;
    }
    m_keys.removeAt(m_pos);
    m_currentDeleted = true;
    m_row.clear();
    return {};
}
