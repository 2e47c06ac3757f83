#pragma once

#include "statistics/StatRow.h"

#include <QByteArray>

// The statistics as they are printed or saved: the lists in the order and with the counts they
// show, section by section.
struct StatisticsReport {
    struct Section {
        QString
            name;  // "Orders", "Families", "Locations", "Countries", "Regions", "Years", "Months"
        QList<StatRow> rows;
    };
    QString title;         // "Plovix - Lifetime Statistics for <owner>"
    QString totalCaption;  // "Total Sightings: <n>"
    QList<Section> sections;

    // The length in characters of the longest row text of any section; 0 when all are empty.
    qsizetype longestText() const;
    // A section's heading on paper: "12 Orders (Number of Sightings)", "Yearly Totals".
    static QString printedHeading(const Section& section);
    // True for the two sections that are headed by their totals ("Years", "Months").
    static bool isCalendar(const Section& section);
};

// The statistics as a text file: the title, `printedLine`, the total, an empty line, then each
// section with its counts in one column; UTF-8, every line ending in CR LF.
QByteArray statisticsText(const StatisticsReport& report, const QString& printedLine);
