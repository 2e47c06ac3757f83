#pragma once

#include <QString>

struct DbError;

// A life list written for measuring: `sightings` records, every species of the world checklist
// once (from the start again past its end) with its order and family, and locations, countries
// with their regions, months, years, comments, further sightings and picture links drawn from a
// seeded generator, so that the same size always gives the same file. Every tenth sighting was
// made in the country kTenthCountry.
namespace generated {

inline constexpr const char* kTenthCountry = "Peru";

// Creates the life list at `path` (which must not exist yet) from the checklist and the
// countries list of the data folder `dataDir`.
DbError writeLifeList(const QString& path, int sightings, const QString& dataDir);

}  // namespace generated
