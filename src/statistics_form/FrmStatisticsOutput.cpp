// The statistics window's printout and text file.
#include "statistics_form/FrmStatistics.h"

#include "database/FileOps.h"
#include "platform/DateText.h"
#include "platform/PrinterCanvas.h"
#include "services/MValidation.h"
#include "services/Program.h"
#include "statistics/StatisticsPrint.h"

#include <QLabel>

namespace {

// The sections of the printout and the file, in their order.
constexpr Category kSections[] = {Category::Order,   Category::Family, Category::Location,
                                  Category::Country, Category::Region, Category::Year,
                                  Category::Month};

}  // namespace

StatisticsReport FrmStatistics::report() const {
    StatisticsReport report;
    report.title = QStringLiteral("%1 - Lifetime Statistics for %2")
                       .arg(m_program.app.title, m_program.gstrUserName);
    report.totalCaption = lblTotal->text();
    for (Category category : kSections) {
        for (const ListView& view : m_lists) {
            if (view.category == category) {
                report.sections.append({categorySection(category), view.list->rows()});
            }
        }
    }
    return report;
}

void FrmStatistics::cmdPrint_Click() {
    QPrinter* printer = m_program.dialogs.showPrinter();
    if (!printer) {
        return;
    }
    const AppInfo& app = m_program.app;
    const PrintedPage page{
        QStringLiteral("Printed ") + datetext::shortDate(m_program.clock.today()),
        app.titleAndVersion() + QStringLiteral(" by Tenvane Software")};
    PrinterCanvas canvas(*printer);
    const QString failure = printStatistics(canvas, report(), page);
    if (failure.isEmpty()) {
        return;
    }
    const QString title = QStringLiteral("Printer Error");
    if (m_program.dialogs.msgBox(QStringLiteral("Cancel print order?"), mb::Question | mb::YesNo,
                                 title) == mb::No) {
        m_program.dialogs.msgBox(failure, mb::Critical | mb::OKOnly, title);
    }
}

void FrmStatistics::cmdSave_Click() {
    if (const std::optional<QString> fileName = chooseSaveFile(
            m_program.dialogs, QStringLiteral("Save Lifetime Statistics As Text File"),
            QStringLiteral("Text File (*.txt)"),
            m_program.app.filePath(QStringLiteral("My Lifetime Statistics.txt")),
            QStringLiteral("txt"))) {
        SaveStatisticsFile(*fileName);
    }
}

void FrmStatistics::SaveStatisticsFile(const QString& path) {
    const QByteArray text = statisticsText(
        report(), QStringLiteral("Printed ") + datetext::dateTimeValue(m_program.clock.now()));
    if (DbError error = fileops::writeWhole(path, text)) {
        m_program.dialogs.msgBox(error.description, mb::Critical | mb::OKOnly,
                                 QStringLiteral("Statistics File Saving Error"));
        return;
    }
    m_program.dialogs.msgBox(QStringLiteral("[%1] successfully saved.").arg(path),
                             mb::Information | mb::OKOnly, QStringLiteral("File Saved"));
}
