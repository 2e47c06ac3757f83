#pragma once

#include "output/ReportLayout.h"

class PrintCanvas;
class SightingTable;

// The values the texts of the page show besides the sightings.
struct ReportValues {
    QString title;
    QString companyTag;
    QString printDate;
};

// One text or rule on a page, in twips from the top left of the printable area.
struct ReportItem {
    bool rule = false;
    QString font;
    double x = 0;
    double y = 0;
    QString text;
};
// Its texts move with it, so a page grows without copying its items.
Q_DECLARE_TYPEINFO(ReportItem, Q_RELOCATABLE_TYPE);
using ReportPage = QList<ReportItem>;

// Lays the sightings out on pages of the canvas's size, measuring texts in its fonts: the
// header, column headings and footer on every page, a heading with its count where a group
// starts, the rows with their texts wrapped within their columns. A group's heading is always
// followed on its page by the group's first row.
QList<ReportPage> layOutReport(const ReportLayout& layout, const SightingTable& table,
                               const ReportValues& values, PrintCanvas& canvas);

// Draws the pages on the canvas and ends the document; the failure of the print job, if any.
QString drawReport(const ReportLayout& layout, const QList<ReportPage>& pages, PrintCanvas& canvas);
