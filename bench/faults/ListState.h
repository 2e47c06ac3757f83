#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

// A life list file as the fault runs judge it, read through SQLite itself: every row of every
// table with the type and value of each field, so that two states compare field by field.
struct ListState {
    // Table name to its rows, by rowid; a row is its fields' types and values in one text.
    QMap<QString, QMap<qint64, QByteArray>> tables;

    bool operator==(const ListState& other) const { return tables == other.tables; }
    // The sightings: the rows of the life list's table.
    const QMap<qint64, QByteArray>& sightings() const;
};

// Reads a whole file. No state when it cannot be read; `problem` says why.
std::optional<ListState> readState(const QString& path, QString& problem);

// "ok" when SQLite finds the file sound, else what it found.
QString integrityCheck(const QString& path);

// The sightings of `before` that `found` lost: missing, or holding values that neither `before`
// nor `after` (the same list once the operation is done) gives them.
int lostSightings(const ListState& before, const ListState& after, const ListState& found);

// The text values of every table that hold a NUL character.
int valuesWithNul(const ListState& state);
