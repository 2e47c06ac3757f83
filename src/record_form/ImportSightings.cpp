#include "record_form/ImportSightings.h"

#include "database/FileOps.h"
#include "database/Maintenance.h"
#include "database/ShippedData.h"
#include "exchange/EBirdImport.h"
#include "exchange/ImportFile.h"
#include "exchange/ImportWriter.h"
#include "exchange/Spreadsheet.h"
#include "services/Program.h"

#include <QFileInfo>

namespace {

const QString kErrorTitle = QStringLiteral("Import Error");
const QString kCancelledText =
    QStringLiteral("The import was cancelled. Your life list has not been changed.");

// What the file would add; no value when it cannot be read, with the message to show and its
// style in `problem` and `style`, or with `problem` empty when the user cancelled the reading.
// The bar shows the share of the file read.
std::optional<ImportPlan> readPlan(Program& program, ImportSource source,
                                   const Checklist* checklist, const QString& path,
                                   ImportProgress& progress, QString& problem, int& style) {
    style = mb::Critical | mb::OKOnly;
    ListedSpecies listed;
    if (DbError error = ListedSpecies::read(*program.gdbBirdList, listed)) {
        problem = QStringLiteral("Error %1:\n%2").arg(error.number).arg(error.description);
        return std::nullopt;
    }
    // Cancel on the bar stops the reading: nothing has been changed yet.
    const ImportFile file(path);
    bool unreadable = false;
    bool cancelled = false;
    const CsvInput input = [&](CsvStream& stream, QString& error) {
        unreadable = !file.readInto(stream, error, [&](int percent) {
            cancelled = !progress.advance(percent);
            return !cancelled;
        });
        return !unreadable;
    };
    std::optional<ImportPlan> plan;
    if (source == ImportSource::EBird) {
        if (const std::optional<EBirdSightings> read = readEBirdFile(input, problem)) {
            plan = planEBirdImport(*read, checklist, ShippedData::load().countryCodes, listed);
        }
    } else {
        plan = spreadsheet::planImport(input, listed, problem);
    }
    if (cancelled) {
        problem.clear();
        return std::nullopt;
    }
    if (unreadable) {
        problem = QStringLiteral("The file [%1] could not be read:\n%2").arg(path, problem);
    } else if (!plan) {
        problem += QStringLiteral("\n\n[%1]").arg(path);
        style = mb::Exclamation | mb::OKOnly;
    }
    return plan;
}

}  // namespace

int importSightings(Program& program, ImportSource source, const Checklist* checklist,
                    qint64 starterNumber, ImportProgress& progress) {
    Dialogs& dialogs = program.dialogs;
    if (!program.gdbBirdList) {
        return 0;
    }
    const bool eBird = source == ImportSource::EBird;
    const std::optional<QString> path = dialogs.showOpen(
        eBird ? QStringLiteral("Import eBird Data") : QStringLiteral("Import Plovix Spreadsheet"),
        eBird ? QStringLiteral("eBird Data (*.csv *.zip);;All Files (*)")
              : QStringLiteral("Plovix Spreadsheet (*.csv);;All Files (*)"));
    if (!path) {
        return 0;
    }
    progress.show(true, QStringLiteral("Reading sightings..."));
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    QString problem;
    int style = 0;
    const std::optional<ImportPlan> plan =
        readPlan(program, source, checklist, *path, progress, problem, style);
    program.cursor.setMousePointer(WaitCursor::Default);
    progress.show(false, {});
    if (!plan && problem.isEmpty()) {
        dialogs.msgBox(kCancelledText, mb::Information | mb::OKOnly, kImportTitle);
        return 0;
    }
    if (!plan) {
        dialogs.msgBox(problem, style, kErrorTitle);
        return 0;
    }
    if (plan->records.isEmpty()) {
        QString text = plan->question();
        text.replace(0, text.indexOf(u'\n'),
                     QStringLiteral("There are no new species to add to your life list."));
        dialogs.msgBoxWithDetails(text, plan->details(), mb::Information | mb::OKOnly,
                                  kImportTitle);
        return 0;
    }
    if (dialogs.msgBoxWithDetails(plan->question(), plan->details(), mb::Question | mb::YesNo,
                                  kImportTitle) != mb::Yes) {
        return 0;
    }

    // A copy of the life list as it was, kept beside it.
    const QString name = Program::birdListName();
    const int number = freeBackupNumber(program.app.path, name);
    if (number == 0) {
        dialogs.msgBox(QStringLiteral("No backup copy of your life list can be made: the backups "
                                      "1 to 500 of \"Old %1 Backup(n).mdb\" all exist. Move some "
                                      "of them away and import again.")
                           .arg(name),
                       mb::Critical | mb::OKOnly, kErrorTitle);
        return 0;
    }
    const QString backup = backupPath(program.app.path, name, number);
    if (DbError error = copyToBackup(program.app.path, name, number)) {
        dialogs.msgBox(error.description + QStringLiteral("\n\nYour life list has not been "
                                                          "changed."),
                       mb::Critical | mb::OKOnly, kErrorTitle);
        return 0;
    }

    progress.show(true, QStringLiteral("Adding sightings..."));
    const DbError error =
        storeImport(*program.gdbBirdList, plan->records, starterNumber,
                    [&progress](int percent) { return progress.advance(percent); });
    progress.show(false, {});
    if (error.number == DbError::Cancelled) {
        fileops::removeFile(backup);
        dialogs.msgBox(kCancelledText, mb::Information | mb::OKOnly, kImportTitle);
        return 0;
    }
    if (error) {
        dialogs.msgBox(QStringLiteral("Error %1:\n%2\n\nYour life list has not been changed.")
                           .arg(error.number)
                           .arg(error.description),
                       mb::Critical | mb::OKOnly, kErrorTitle);
        return 0;
    }
    const int added = int(plan->records.size());
    dialogs.msgBox(QStringLiteral("%1 species added to your life list.\n\nYour life list as it "
                                  "was before is kept as \"%2\".")
                       .arg(added)
                       .arg(QFileInfo(backup).fileName()),
                   mb::Information | mb::OKOnly, kImportTitle);
    return added;
}
