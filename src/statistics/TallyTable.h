#pragma once

#include "statistics/StatRow.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

// The sightings of one field, counted by value. A growing table starts with the "Unspecified"
// entry, for sightings without a value, and gains an entry for every new value in the order
// the values are met. A fixed table holds the values of a list in the list's order, then
// "Unspecified"; a value that is not in the list is counted nowhere.
//
// A value counts as empty when it is Null or holds nothing but spaces. Otherwise values are
// taken as they stand: values that differ in letter case or by a trailing space are separate
// entries.
class TallyTable {
public:
    TallyTable() : TallyTable(true, {}) {}
    static TallyTable growing() { return TallyTable(true, {}); }
    static TallyTable fixed(const QStringList& values) { return TallyTable(false, values); }

    void count(const QVariant& value);
    // The entries counted at least once, in the table's order, each with its count.
    QList<StatRow> countedRows() const;

    static bool isEmptyValue(const QVariant& value);
    static inline const QString kUnspecified = QStringLiteral("Unspecified");

private:
    TallyTable(bool growing, const QStringList& values);

    struct Entry {
        QString text;
        qint64 count = 0;
    };
    bool m_growing;
    QList<Entry> m_entries;
    QHash<QString, qsizetype> m_index;  // the first entry holding a text
    qsizetype m_unspecified = 0;
};
