#include "services/MDatabase.h"

#include "database/FileOps.h"
#include "database/Maintenance.h"
#include "database/OpenLifeList.h"
#include "services/Program.h"

namespace {

const QString kInUseTitle = QStringLiteral("Life List In Use");

// A life list that another program holds is busy, not damaged.
QString inUseText(const QString& name) {
    return QStringLiteral(
               "Your life list (%1.mdb) is in use by another program.\n"
               "Close that program, then try again.")
        .arg(name);
}

// Shows how a compaction or repair ended; true when it was done.
bool reportMaintenance(Program& program, const QString& name, const MaintenanceReport& report,
                       const QString& errorTitle, const QString& doneText) {
    program.cursor.setMousePointer(WaitCursor::Default);
    const QString exe = program.app.exeName;
    switch (report.outcome) {
        case MaintenanceReport::Outcome::Missing:
            program.dialogs.msgBox(
                QStringLiteral("%1 database (%2.mdb) not found.\n"
                               "It should be located in the same folder as your %1 program (%1)")
                    .arg(exe, name),
                mb::Exclamation | mb::OKOnly, QStringLiteral("Missing Database"));
            return false;
        case MaintenanceReport::Outcome::Failed:
            if (report.error.number == DbError::Locked) {
                program.dialogs.msgBox(inUseText(name), mb::Exclamation | mb::OKOnly, kInUseTitle);
            } else {
                program.dialogs.msgBox(report.error.description, mb::Exclamation | mb::OKOnly,
                                       errorTitle);
            }
            return false;
        case MaintenanceReport::Outcome::Done:
            break;
    }
    program.dialogs.msgBox(exe + doneText, mb::Information | mb::OKOnly);
    return true;
}

}  // namespace

bool compactBirdList(Program& program, const QString& name) {
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    return reportMaintenance(program, name, compactLifeList(program.app.path, name),
                             QStringLiteral("Database Compacting Error"),
                             QStringLiteral(" database compacted successfully."));
}

bool repairBirdList(Program& program, const QString& name) {
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    return reportMaintenance(program, name, repairLifeList(program.app.path, name),
                             QStringLiteral("Database Repairing Error"),
                             QStringLiteral(" database repair procedure complete."));
}

bool openBirdListDatabase(Program& program) {
    for (;;) {
        program.closeBirdList();
        OpenLifeList list;
        const DbError error = openLifeList(program.birdListPath(), list);
        if (!error) {
            program.gdbBirdList = std::move(list.database);
            program.grsBirdList = std::move(list.birdList);
            program.grsOrders = std::move(list.orders);
            program.grsFamilies = std::move(list.families);
            program.grsCountries = std::move(list.countries);
            program.grsRegions = std::move(list.regions);
            return true;
        }
        if (error.number == DbError::FileNotFound) {
            program.dialogs.msgBox(
                QStringLiteral(
                    "%1 can not locate the Bird List database.\n"
                    "Please check that the database is named correctly ('Bird List.mdb')\n"
                    "and is located in the same folder as %1 ('%2')")
                    .arg(program.app.title, program.app.exeName),
                mb::Critical | mb::OKOnly, QStringLiteral("Application Startup Error"));
            return false;
        }
        if (error.number == DbError::Locked) {
            // Nothing to repair: the user may close the other program and try again.
            if (program.dialogs.msgBox(inUseText(Program::birdListName()),
                                       mb::Exclamation | mb::RetryCancel,
                                       kInUseTitle) != mb::Retry) {
                return false;
            }
            continue;
        }
        // A repair writes the file and its folder: asking again and again would not help.
        const QString path = program.birdListPath();
        if (fileops::isReadOnly(path) || fileops::isReadOnly(program.app.path)) {
            program.dialogs.msgBox(
                QStringLiteral("There was an error in opening the Plovix database:\n%1\n\n"
                               "It cannot be repaired while it is read-only. Make the file "
                               "'%2' and its folder writable (in your file manager's "
                               "Properties, Permissions), then start %3 again.")
                    .arg(error.description, path, program.app.title),
                mb::Exclamation | mb::OKOnly, QStringLiteral("Application Startup Error"));
            return false;
        }
        const int answer = program.dialogs.msgBox(
            QStringLiteral("There was an error in opening the Plovix database:\n%1\n\n"
                           "Would you like to attempt to repair the database?")
                .arg(error.description),
            mb::Question | mb::OKCancel);
        if (answer != mb::OK) {
            return false;
        }
        repairBirdList(program, Program::birdListName());
    }
}

bool claimBirdList(Program& program) {
    auto lock = std::make_unique<QLockFile>(
        program.app.filePath(Program::birdListName() + QStringLiteral(".lock")));
    // Never stale by age: only a lock whose program is no longer running is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        program.listLock = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        return true;  // a folder where no lock can be made: the list is used without one
    }
    program.dialogs.msgBox(QStringLiteral("%1 is already running with this life list (%2.mdb).\n"
                                          "Switch to the %1 window that is open.")
                               .arg(program.app.title, Program::birdListName()),
                           mb::Exclamation | mb::OKOnly, program.app.title);
    return false;
}

void reportDatabaseError(Program& program, const DbError& error) {
    program.cursor.setMousePointer(WaitCursor::Default);
    if (error.number == DbError::Cancelled) {
        return;  // the check that refused has told the user
    }
    program.dialogs.msgBox(QStringLiteral("Error %1:\n%2").arg(error.number).arg(error.description),
                           mb::Critical | mb::OKOnly, QStringLiteral("Database Error"));
}
