#pragma once

#include "exchange/TaxonName.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One row of an eBird download as read: a species (or other taxon) seen on a checklist.
struct EBirdRow {
    QString common;
    QString scientific;
    QString state;  // "US-NY": the country's two-letter code, a dash, the state's code
    QString location;
    QString details;  // the observation details
    QDate date;
    int minutes = -1;  // the time of day the checklist began, -1 when not given
    int line = 0;      // the row's place in the file, the heading being row 1
};

// The dated rows of an eBird download, kept small enough for millions of them: every text the
// rows repeat (a taxon's names, a place, a state) is held once, a row is a few numbers, and the
// observation details are kept only for each taxon's earliest row, the one a record takes them
// from. Rows that name no single species are only counted.
class EBirdSightings {
public:
    // More different names than eBird's whole taxonomy holds: the file is no eBird download.
    static constexpr qsizetype kMostTaxa = 100'000;
    // The rows without a date that are listed by name; the others are only counted.
    static constexpr qsizetype kListedUndated = 1000;

    struct Taxon {
        QString common;  // as the rows give them, trimmed
        QString scientific;
        TaxonName name;
        qint64 rows = 0;
        qsizetype earliest = -1;  // its earliest row in rows(); -1 for a taxon that is no species
        QString details;          // that row's observation details
    };

    struct Row {
        qint32 taxon;
        qint32 location;  // text()
        qint32 state;     // text()
        qint32 day;       // the Julian day
        qint32 line;
        qint16 minutes;

        QDate date() const { return QDate::fromJulianDay(day); }
    };

    // False, and nothing kept, when the row names a taxon beyond the kMostTaxa different ones.
    bool add(const EBirdRow& row);
    // A row whose date could not be read: its name, its row number and the date as written.
    void addUndated(const QString& name, int line, const QString& date);

    const QList<Taxon>& taxa() const { return m_taxa; }
    // The rows of species, in the order of the file.
    const QList<Row>& rows() const { return m_rows; }
    const QString& text(qint32 id) const { return m_texts[id]; }
    // Every dated row, species or not.
    qint64 datedRows() const { return m_datedRows; }
    qint64 undatedCount() const { return m_undated; }
    // The first kListedUndated of those, as "Name (row 12: date "12/05/2015")".
    const QStringList& listedUndated() const { return m_listedUndated; }

    // Earlier in the day, or first in the file on a tie.
    static bool earlier(const Row& a, const Row& b);

private:
    qint32 textId(const QString& text);

    QList<Taxon> m_taxa;
    QHash<std::pair<QString, QString>, qint32> m_taxonIds;
    QStringList m_texts;
    QHash<QString, qint32> m_textIds;
    QList<Row> m_rows;
    qint64 m_datedRows = 0;
    qint64 m_undated = 0;
    QStringList m_listedUndated;
};
