#pragma once

#include <QList>
#include <QString>

// One row of a statistics list: an entry and its number of sightings, as the list shows it.
struct StatRow {
    QString text;
    QString count;
    friend bool operator==(const StatRow&, const StatRow&) = default;
};

// Puts the largest count first; rows with equal counts keep the order they had.
void sortByCount(QList<StatRow>& rows);

// The length of a text in characters as the reader sees them: a letter outside the basic range
// is one character, not two.
qsizetype characterCount(const QString& text);
