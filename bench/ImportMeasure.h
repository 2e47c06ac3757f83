#pragma once

#include <QString>

// The eBird import measured: a download of `rows` sightings read, shown in the question and
// added to a new life list through the record form's menu item, `runs` times. `species` gets
// the number added. On a failure, `failure` says what went wrong.
double measureEBirdImport(const QString& dataDir, int rows, int runs, int& species,
                          QString& failure);
