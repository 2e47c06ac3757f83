#pragma once

#include "database/DbError.h"

#include <QList>
#include <QStringList>

class Database;

// The life list read whole for output: every field of every sighting as text (an empty field
// as ""), sorted by some of its fields in the desktop's alphabetical order, and by Number
// where they are the same. The first sort fields may group the sightings: there, values that
// differ only in letter case are the same, as they are to the engine's comparisons, and the
// later fields order the sightings of a group.
class SightingTable {
public:
    // Reads "Bird List" with one statement: the fields named in `fields`, or every field when
    // none are; the first `grouped` of `sortFields` group. An empty list is a table without rows.
    static DbError read(Database& db, const QStringList& sortFields, SightingTable& table,
                        const QStringList& fields = {}, qsizetype grouped = 0);

    // Whether two values of a grouping field belong to one group.
    static bool sameGroup(const QString& a, const QString& b);

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
