#pragma once

#include "statistics/StatisticsReport.h"

class PrintCanvas;

// What goes on every page besides the lists.
struct PrintedPage {
    QString printedLine;  // "Printed " and today's date, under the title
    QString credits;      // the program's name and version, in the footer
};

// Prints the statistics on `canvas` as pages: a title block on each page, the sections with
// their rows in two columns, and a footer with the credits and "Page No. n", counted from 1.
// A section that runs onto a new page repeats its heading there. Returns the canvas's failure,
// empty when the whole document went to the printer.
QString printStatistics(PrintCanvas& canvas, const StatisticsReport& report,
                        const PrintedPage& page);
