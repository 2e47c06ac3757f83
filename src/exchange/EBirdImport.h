#pragma once

#include "database/ShippedData.h"
#include "exchange/EBirdSightings.h"
#include "exchange/ImportPlan.h"

#include <QList>
#include <QString>
#include <optional>

class Checklist;

// The rows of an eBird download, columns found by name: the data download ("MyEBirdData.csv",
// those before October 2019 with "Species Comments" for the observation details, those before
// March 2019 with dates month first) or the life list download (the state in "S/P", no time, no
// details). No value when the text is not such a file, with what is wrong in `error`.
std::optional<EBirdSightings> readEBirdFile(const CsvInput& input, QString& error);

// Where the sightings of the file go on a life list: one record per species, taken from its
// earliest sighting, with the later ones listed under further sightings. The names, order and
// family come from the world checklist where it has the species.
ImportPlan planEBirdImport(const EBirdSightings& file, const Checklist* checklist,
                           const QList<ShippedData::Country>& countries,
                           const ListedSpecies& listed);
