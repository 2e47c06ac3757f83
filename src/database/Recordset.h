#pragma once

#include "database/Database.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

// The rows of one table, with a current record. The set of records is fixed when the
// recordset opens (records added through it join at its end, records deleted through it
// leave it); the current record's values are read from the file each time it becomes current.
//
// Positions run from 0 to RecordCount - 1; before the first record BOF is true, after the last
// EOF is true, and in an empty recordset both are. A Null field value is an invalid QVariant.
class Recordset {
public:
    enum class EditMode { None, Edit, Add };

    static std::shared_ptr<Recordset> open(std::shared_ptr<Connection> connection,
                                           const RecordSource& source, RecordsetType type,
                                           DbError& error);

    RecordsetType type() const { return m_type; }
    const RecordSource& source() const { return m_source; }
    bool isOpen() const { return m_connection && m_connection->open; }
    void close() { m_connection.reset(); }

    // Moving. Moves drop a pending AddNew or Edit.
    bool eof() const;
    bool bof() const;
    DbError moveFirst();
    DbError moveLast();
    DbError moveNext();
    DbError movePrevious();
    DbError move(int rows);

    int recordCount() const { return int(m_keys.size()); }
    // The current record's zero-based position, -1 when there is none.
    int absolutePosition() const;
    // Whether the current record's values could be read (or a new record or a change of one is
    // pending): false when there is no current record, or reading it failed.
    bool valuesRead() const {
        return m_mode != EditMode::None ||
               (absolutePosition() >= 0 && !m_currentDeleted && m_row.size() == m_fields.size());
    }
    DbError setAbsolutePosition(int position);
    // The current record's position as 0 (first) to 100 (last).
    double percentPosition() const;
    DbError setPercentPosition(double percent);

    // A bookmark names one record; an invalid QVariant when there is no current record.
    QVariant bookmark() const;
    DbError setBookmark(const QVariant& bookmark);

    // Finding: the first, last, next or previous record (from the current one) that meets the
    // criteria becomes current. When none does, NoMatch is true and the current record stays.
    DbError findFirst(const Criteria& criteria);
    DbError findLast(const Criteria& criteria);
    DbError findNext(const Criteria& criteria);
    DbError findPrevious(const Criteria& criteria);
    bool noMatch() const { return m_noMatch; }

    // Editing: AddNew starts a new record, Edit changes the current one; Update stores the
    // change (a new record gets its key from the engine) and CancelUpdate drops it. After a
    // failed Update the change is still pending, so it can be stored again or dropped.
    EditMode editMode() const { return m_mode; }
    DbError addNew();
    DbError edit();
    DbError update();
    DbError cancelUpdate();
    DbError deleteRecord();
    // The bookmark of the record last added or changed.
    QVariant lastModified() const { return m_lastModified; }

    // Fields. During AddNew or Edit the values are those of the pending change.
    const QStringList& fieldNames() const { return m_fields; }
    DbError getValue(const QString& field, QVariant& value) const;
    QVariant value(const QString& field) const;
    DbError setValue(const QString& field, const QVariant& value);

    // Every record's value of `field`, in the recordset's order, read with one statement; the
    // current record stays. A read that fails part way gives the values read so far.
    DbError readColumn(const QString& field, QVariantList& values) const;

    // Reads the set of records again from the file; the first record becomes current.
    DbError requery();

private:
    Recordset() = default;
    DbError checkOpen() const;
    DbError checkCurrent() const;
    DbError loadKeys();
    DbError loadCurrent();
    DbError goTo(qsizetype position);
    DbError findFrom(const Criteria& criteria, qsizetype start, int step);
    int fieldIndex(const QString& field) const;
    void dropPendingChange();

    std::shared_ptr<Connection> m_connection;
    RecordSource m_source;
    RecordsetType m_type = RecordsetType::Dynaset;
    QStringList m_fields;
    QString m_rowSql;  // reads the current record

    QList<qint64> m_keys;           // rowids, in the recordset's order
    qsizetype m_pos = -1;           // -1: BOF; m_keys.size(): EOF
    bool m_currentDeleted = false;  // the record at the position was deleted; m_pos is the next
    QVariantList m_row;             // values of the current record
    bool m_noMatch = false;

    EditMode m_mode = EditMode::None;
    QVariantList m_buffer;
    QList<bool> m_dirty;
    QVariant m_lastModified;
};

// A field value as text: "" for Null.
QString nullToEmpty(const QVariant& value);
