#include "record_form/LifeListReport.h"

#include "platform/DateText.h"
#include "platform/PrinterCanvas.h"
#include "services/Program.h"

#include <QPrinter>

namespace {

constexpr double kTwipsPerPoint = 20;

}  // namespace

ReportError LifeListReport::load(Program& program) {
    if (ReportError error = readReportLayout(program.app.filePath(layoutFileName()), m_layout)) {
        return error;
    }
    if (!program.gdbBirdList) {
        const DbError closed = DbError::objectClosed();
        return {closed.number, closed.description};
    }
    if (DbError error = SightingTable::read(*program.gdbBirdList, m_layout.sortOrder(), m_table,
                                            m_layout.fieldsRead(), m_layout.groups.size())) {
        return {error.number, error.description};
    }
    m_values.title = QStringLiteral("Bird Sightings Life List for ") + program.gstrUserName;
    m_values.companyTag = program.app.titleAndVersion() + QStringLiteral(" by Tenvane Software");
    m_values.printDate = datetext::shortDate(program.clock.today());
    return {};
}

QPageLayout LifeListReport::pageLayout() const {
    return QPageLayout(QPageSize(m_layout.paper / kTwipsPerPoint, QPageSize::Point),
                       m_layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       m_layout.margins / kTwipsPerPoint, QPageLayout::Point);
}

QString LifeListReport::print(QPrinter& printer) const {
    PrinterCanvas canvas(printer);
    const QList<ReportPage> pages = layOutReport(m_layout, m_table, m_values, canvas);
    return drawReport(m_layout, pages, canvas);
}

void showReportError(Dialogs& dialogs, const ReportError& error) {
    const QString numbered =
        QStringLiteral("Error %1:\n%2").arg(error.number).arg(error.description);
    switch (error.number) {
        case ReportError::kPrintFailed:
            if (dialogs.msgBox(QStringLiteral("Cancel Life List print order?"),
                               mb::Question | mb::YesNo,
                               QStringLiteral("Print Cancellation")) == mb::No) {
                dialogs.msgBox(numbered, mb::Critical | mb::OKOnly,
                               QStringLiteral("Life List Printing Error"));
            }
            break;
        case ReportError::kLayoutNotFound:
            dialogs.msgBox(QStringLiteral("Bird List Report not found.\n\nPlease check that "
                                          "'birdlist.rpt' is named correctly\n and installed in "
                                          "the same folder as Plovix."),
                           mb::Exclamation | mb::OKOnly, QStringLiteral("Report File Not Found"));
            break;
        default:
            dialogs.msgBox(numbered, mb::Critical | mb::OKOnly, QStringLiteral("Report Error"));
            break;
    }
}
