#include "statistics/TallyTable.h"

#include <algorithm>

TallyTable::TallyTable(bool growing, const QStringList& values) : m_growing(growing) {
    for (const QString& value : values) {
        // A value the list holds twice is counted in its first entry.
        m_index.insert(value, m_index.value(value, m_entries.size()));
        m_entries.append({value, 0});
    }
    m_unspecified = growing ? 0 : m_entries.size();
    m_entries.insert(m_unspecified, {kUnspecified, 0});
    if (growing) {
        // A value that is literally "Unspecified" joins the sightings without one.
        m_index.insert(kUnspecified, 0);
    }
}

bool TallyTable::isEmptyValue(const QVariant& value) {
    if (value.isNull()) {
        return true;
    }
    const QString text = value.toString();
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

void TallyTable::count(const QVariant& value) {
    if (isEmptyValue(value)) {
        ++m_entries[m_unspecified].count;
        return;
    }
    const QString text = value.toString();
    const auto found = m_index.constFind(text);
    if (found != m_index.constEnd()) {
        ++m_entries[*found].count;
    } else if (m_growing) {
        m_index.insert(text, m_entries.size());
        m_entries.append({text, 1});
    }
}

QList<StatRow> TallyTable::countedRows() const {
    QList<StatRow> rows;
    for (const Entry& entry : m_entries) {
        if (entry.count > 0) {
            rows.append({entry.text, QString::number(entry.count)});
        }
    }
    return rows;
}
