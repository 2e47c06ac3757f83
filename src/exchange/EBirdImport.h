#pragma once

#include "database/ShippedData.h"
#include "exchange/ImportPlan.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Checklist;

// One row of an eBird data download: a species (or other taxon) seen on a checklist.
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

struct EBirdFile {
    QList<EBirdRow> rows;
    QStringList undated;  // rows whose date could not be read, by name and row
};

// The rows of an eBird download ("MyEBirdData.csv"), columns found by name. No value when the
// text is not such a file, with what is wrong in `error`.
std::optional<EBirdFile> readEBirdFile(const QString& text, QString& error);

// Where the sightings of the file go on a life list: one record per species, taken from its
// earliest sighting, with the later ones listed under further sightings. The names, order and
// family come from the world checklist where it has the species.
ImportPlan planEBirdImport(const EBirdFile& file, const Checklist* checklist,
                           const QList<ShippedData::Country>& countries,
                           const ListedSpecies& listed);
