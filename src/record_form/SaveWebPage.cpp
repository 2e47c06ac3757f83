#include "record_form/SaveWebPage.h"

#include "database/FileOps.h"
#include "output/SightingTable.h"
#include "output/WebPage.h"
#include "platform/DateText.h"
#include "services/Program.h"

#include <QUrl>

namespace {

DbError writeWebPage(Program& program, const QString& fileName) {
    if (!program.gdbBirdList) {
        return DbError::objectClosed();
    }
    SightingTable table;
    if (DbError error = SightingTable::read(*program.gdbBirdList, webPageOrder(), table,
                                            webPageFields(), webPageGroups())) {
        return error;
    }
    const WebPageTexts texts{program.gstrUserName, datetext::shortDate(program.clock.today()),
                             program.app.titleAndVersion(), program.app.webSite};
    return fileops::writeWhole(fileName, webPage(table, texts));
}

}  // namespace

void saveLifeListAsWebPage(Program& program, const QString& fileName,
                           const std::function<void(bool)>& writing) {
    Dialogs& dialogs = program.dialogs;
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    writing(true);
    const DbError error = writeWebPage(program, fileName);
    writing(false);
    program.cursor.setMousePointer(WaitCursor::Default);
    if (error) {
        dialogs.msgBox(error.description, mb::Critical | mb::OKOnly,
                       QStringLiteral("File Creation Error"));
        return;
    }
    const int answer =
        dialogs.msgBox(QStringLiteral("[%1] successfully saved as web page.\n\n"
                                      "Would you like to open it now in your browser?")
                           .arg(fileName),
                       mb::Exclamation | mb::YesNo, QStringLiteral("Life List Copy"));
    if (answer != mb::Yes) {
        return;
    }
    if (!program.shell.openUrl(QUrl::fromLocalFile(fileName))) {
        program.cursor.setMousePointer(WaitCursor::Default);
        dialogs.msgBox(
            QStringLiteral("No program could be found to open the file '%1'.").arg(fileName),
            mb::Critical | mb::OKOnly, QStringLiteral("Browser Error"));
    }
}
