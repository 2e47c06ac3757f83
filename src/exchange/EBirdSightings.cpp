#include "exchange/EBirdSightings.h"

bool EBirdSightings::add(const EBirdRow& row) {
    const std::pair<QString, QString> names{row.common, row.scientific};
    auto known = m_taxonIds.constFind(names);
    if (known == m_taxonIds.constEnd()) {
        if (m_taxa.size() >= kMostTaxa) {
            return false;
        }
        known = m_taxonIds.insert(names, qint32(m_taxa.size()));
        m_taxa.append(
            {row.common, row.scientific, taxonName(row.common, row.scientific), 0, -1, {}});
    }
    Taxon& taxon = m_taxa[*known];
    ++taxon.rows;
    ++m_datedRows;
    if (!taxon.name.isSpecies()) {
        return true;
    }
    const Row kept{
        *known,           textId(row.location), textId(row.state), qint32(row.date.toJulianDay()),
        qint32(row.line), qint16(row.minutes)};
    if (taxon.earliest < 0 || earlier(kept, m_rows[taxon.earliest])) {
        taxon.earliest = m_rows.size();
        taxon.details = row.details;
    }
    m_rows.append(kept);
    return true;
}

void EBirdSightings::addUndated(const QString& name, int line, const QString& date) {
    ++m_undated;
    if (m_listedUndated.size() < kListedUndated) {
        m_listedUndated.append(
            QStringLiteral("%1 (row %2: date \"%3\")").arg(name, QString::number(line), date));
    }
}

bool EBirdSightings::earlier(const Row& a, const Row& b) {
    if (a.day != b.day) {
        return a.day < b.day;
    }
    if (a.minutes != b.minutes) {
        return a.minutes < b.minutes;
    }
    return a.line < b.line;
}

qint32 EBirdSightings::textId(const QString& text) {
    auto known = m_textIds.constFind(text);
    if (known == m_textIds.constEnd()) {
        known = m_textIds.insert(text, qint32(m_texts.size()));
        m_texts.append(text);
    }
    return *known;
}
