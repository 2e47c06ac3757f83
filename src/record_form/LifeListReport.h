#pragma once

#include "output/ReportPages.h"
#include "output/SightingTable.h"

#include <QPageLayout>

class Dialogs;
class Program;
class QPrinter;

// The printed life list: its layout file "birdlist.rpt", the sightings and the values of its
// texts, read together and then laid out on whatever page it is printed on.
class LifeListReport {
public:
    static QString layoutFileName() { return QStringLiteral("birdlist.rpt"); }

    // Reads the layout file from the program folder and the whole life list.
    ReportError load(Program& program);
    // The page the layout asks for.
    QPageLayout pageLayout() const;
    // Lays the report out on the printer's page and prints every page; the print job's
    // failure, if any.
    QString print(QPrinter& printer) const;

private:
    ReportLayout m_layout;
    SightingTable m_table;
    ReportValues m_values;
};

// Tells the user of a failure of the report: the missing layout file, the print job that
// failed (the user may cancel the print order silently), or any other failure.
void showReportError(Dialogs& dialogs, const ReportError& error);
