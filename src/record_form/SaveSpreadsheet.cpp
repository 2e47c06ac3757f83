#include "record_form/SaveSpreadsheet.h"

#include "database/FileOps.h"
#include "exchange/Spreadsheet.h"
#include "services/Program.h"

#include <QUrl>

void saveLifeListAsSpreadsheet(Program& program, const QString& fileName,
                               const std::function<void(bool)>& writing) {
    Dialogs& dialogs = program.dialogs;
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    writing(true);
    QByteArray csv;
    DbError error = program.gdbBirdList ? spreadsheet::lifeListCsv(*program.gdbBirdList, csv)
                                        : DbError::objectClosed();
    if (!error) {
        error = fileops::writeWhole(fileName, csv);
    }
    writing(false);
    program.cursor.setMousePointer(WaitCursor::Default);
    if (error) {
        dialogs.msgBox(error.description, mb::Critical | mb::OKOnly,
                       QStringLiteral("File Creation Error"));
        return;
    }
    const int answer = dialogs.msgBox(QStringLiteral("[%1] successfully saved as a spreadsheet.\n\n"
                                                     "Would you like to open it now?")
                                          .arg(fileName),
                                      mb::Question | mb::YesNo, QStringLiteral("Life List Copy"));
    if (answer == mb::Yes && !program.shell.openUrl(QUrl::fromLocalFile(fileName))) {
        dialogs.msgBox(
            QStringLiteral("No program could be found to open the file '%1'.").arg(fileName),
            mb::Critical | mb::OKOnly, QStringLiteral("Open File Error"));
    }
}
