#pragma once

#include "database/DbError.h"

#include <QList>
#include <QStringList>

class Database;

// The life list read whole for output: every field of every sighting as text (an empty field
// as ""), sorted by some of its fields in the desktop's alphabetical order, and by Number
// where they are the same.
class SightingTable {
public:
    // Reads "Bird List" with one statement: the fields named in `fields`, or every field when
    // none are. An empty list is a table without rows.
    static DbError read(Database& db, const QStringList& sortFields, SightingTable& table,
                        const QStringList& fields = {});

    const QStringList& fields() const { return m_fields; }
    // The column of a field, or -1.
    int fieldIndex(const QString& name) const { return int(m_fields.indexOf(name)); }
    qsizetype size() const { return m_rows.size(); }
    const QStringList& row(qsizetype index) const { return m_rows[index]; }
    QString value(qsizetype row, int field) const { return m_rows[row][field]; }

private:
    QStringList m_fields;
    QList<QStringList> m_rows;
};
