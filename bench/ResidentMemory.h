#pragma once

#include <QString>

// The resident memory of the program once it has opened a life list: measured in a process of
// its own, since memory a process has once used stays counted.
namespace rss {

inline constexpr const char* kProbeOption = "--resident-memory-of";

// Runs this program again with kProbeOption and `folder`, `runs` times; the median of what
// the runs tell, in MiB, or a negative number with `failure` set.
double afterOpening(const QString& folder, int runs, QString& failure);

// The probe's side: opens the life list in the program folder `folder`, shows the record form
// on its last record, lets it read the checklist, then prints its resident memory in KiB.
int probe(const QString& folder);

}  // namespace rss
