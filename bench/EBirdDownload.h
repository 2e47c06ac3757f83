#pragma once

#include <QString>

// An eBird data download written for measuring the import: `rows` sightings of a birder's
// decade, drawn from a seeded generator so that the same size always gives the same file.
namespace generated {

// Writes the download to `path` from the checklist of the data folder `dataDir`; false when it
// cannot be written.
bool writeEBirdDownload(const QString& path, int rows, const QString& dataDir);

}  // namespace generated
