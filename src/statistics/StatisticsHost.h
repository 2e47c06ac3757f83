#pragma once

#include "statistics/StatisticsPass.h"

// What the statistics window reads from the record form, and what it shows there while it
// counts.
class StatisticsHost {
public:
    virtual ~StatisticsHost() = default;

    // The region, month and year lists as the form's boxes hold them now.
    virtual FixedLists fixedLists() const = 0;
    // The form's total: "Total Sightings: " and the number of sightings.
    virtual QString totalCaption() const = 0;
    // Stores a change the user made to the sighting shown, so that it is counted; a failure is
    // told to the user and the counting goes on.
    virtual void storePendingChange() = 0;
    // True: the form shows "Processing data..." and the progress bar instead of its title, and
    // takes no input. False: the other way round.
    virtual void showCounting(bool counting) = 0;
    virtual void setProgress(int percent) = 0;
};
