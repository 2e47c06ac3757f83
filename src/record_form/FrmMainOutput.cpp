// The life list printed, previewed and saved as a web page.
#include "record_form/FrmMain.h"

#include "record_form/LifeListReport.h"
#include "record_form/SaveWebPage.h"
#include "services/MValidation.h"
#include "services/Program.h"

#include <QPrinter>

void FrmMain::cmdReport_Click() {
    PrintLifeList(QStringLiteral("View"));
}

void FrmMain::mnuPrintList_Click() {
    PrintLifeList(QStringLiteral("Print"));
}

void FrmMain::mnuSaveCopyHTML_Click() {
    // A record without its name is neither stored nor asked about after the file is chosen.
    if (!CommonNameEntered()) {
        return;
    }
    if (const std::optional<QString> fileName = chooseSaveFile(
            m_program.dialogs, QStringLiteral("Save Life List As Web Page"),
            QStringLiteral("Web Page (*.html)"),
            m_program.app.filePath(QStringLiteral("My Life List.html")), QStringLiteral("html"))) {
        PrintLifeList(QStringLiteral("File"), *fileName);
    }
}

void FrmMain::PrintLifeList(const QString& destination, const QString& fileName) {
    // Edits of the sighting shown go into the output; when they cannot be stored, the output
    // is made from the file as it is. A record without its name is not stored, as on every
    // other command.
    if (!CommonNameEntered()) {
        return;
    }
    Data1.updateRecord();
    const bool print = destination == u"Print";
    if (destination == u"File") {
        saveLifeListAsWebPage(m_program, fileName, [this](bool writing) { setEnabled(!writing); });
        return;
    }
    if (!print && destination != u"View") {
        return;
    }
    Dialogs& dialogs = m_program.dialogs;
    const auto busy = [this](bool working) {
        m_program.cursor.setMousePointer(working ? WaitCursor::Hourglass : WaitCursor::Default);
        setEnabled(!working);
    };
    LifeListReport report;
    busy(true);
    const ReportError error = report.load(m_program);
    busy(false);
    if (error) {
        showReportError(dialogs, error);
        return;
    }
    const auto printOn = [&](QPrinter& printer) {
        busy(true);
        const QString failure = report.print(printer);
        busy(false);
        if (!failure.isEmpty()) {
            showReportError(dialogs, {ReportError::kPrintFailed, failure});
        }
    };
    if (!print) {
        dialogs.showPreview(m_program.app.title +
                                QStringLiteral(" - Bird Sightings Life List for ") +
                                m_program.gstrUserName,
                            report.pageLayout(), printOn);
        return;
    }
    if (QPrinter* printer = dialogs.showPrinter()) {
        printer->setPageLayout(report.pageLayout());
        printer->setCopyCount(1);
        printOn(*printer);
    }
}
