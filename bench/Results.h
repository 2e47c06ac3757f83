#pragma once

#include "Measures.h"

#include <QList>

// The figures of one run of the benchmark, shown as a table and written as JSON.
struct BenchRun {
    QString machine;
    QString date;
    int runs = 0;
    QList<SizeResult> sizes;  // smallest first
    // The eBird import into a new life list: rows of the download, species added, median ms.
    int eBirdRows = 0;
    int eBirdSpecies = 0;
    double eBirdMs = 0;
};

// The most an eBird download of kEBirdRows rows may take to be read, shown and imported.
inline constexpr int kEBirdRows = 100000;
inline constexpr double kEBirdMostMs = 3000;

// The size the targets are set for.
inline constexpr int kTargetSize = 11131;
// The most a measure may grow from kTargetSize to the largest size measured.
inline constexpr double kMostGrowth = 6;
// The most memory the target size may take beyond the starter list, in MiB.
inline constexpr double kMostExtraMib = 30;

// This machine: processor, cores, memory and system.
QString machineDescription();
// The run as a Markdown table, with a column for the targets and one for the growth, then the
// eBird import.
QString resultTable(const BenchRun& run);
QByteArray resultJson(const BenchRun& run);
// The targets the run missed, one line each.
QStringList missedTargets(const BenchRun& run);
