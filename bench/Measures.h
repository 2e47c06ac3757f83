#pragma once

#include <QMap>
#include <QString>
#include <array>

// The measures taken at each size of life list, in the order they are shown. A measure's target
// is a ratio to the baseline (the least a pass over the list can cost) or, for the keystroke, a
// time; 0 is none.
struct Measure {
    const char* key;  // its name in the JSON file
    const char* caption;
    double targetRatio = 0;
    double targetMs = 0;
};

inline constexpr std::array kMeasures = {
    Measure{"startup", "Start-up work", 5},
    Measure{"next_step", "One Next Record step", 0.02},
    Measure{"find_next", "Find Next, whole list", 2},
    Measure{"statistics", "Statistics, 7 lists filled", 3},
    Measure{"web_page", "Web page file", 4},
    Measure{"statistics_file", "Statistics text file"},
    Measure{"report", "Report laid out", 6},
    Measure{"editor_rename", "Editor: rename country", 4},
    Measure{"checklist_keystroke", "Checklist keystroke", 0, 5},
    Measure{"compact", "Compact", 10},
    Measure{"repair", "Repair"},
};

// What one size of life list measured: the baseline and the median of each measure, in ms.
struct SizeResult {
    int sightings = 0;
    qint64 fileBytes = 0;
    double baselineMs = 0;
    QMap<QString, double> ms;
    double rssExtraMib = 0;

    double ratio(const QString& key) const {
        return baselineMs > 0 ? ms.value(key) / baselineMs : 0;
    }
};

// Measures the life list "Bird List.mdb" in the program folder `folder` (with the checklist in
// its data folder), each measure `runs` times. `layoutFile` is the report's layout. On a
// failure, `failure` says what went wrong and the result is incomplete.
SizeResult measureLifeList(const QString& folder, const QString& layoutFile, int runs,
                           QString& failure);
