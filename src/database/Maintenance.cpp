#include "database/Maintenance.h"

#include "app/Program.h"
#include "database/Database.h"
#include "database/FileOps.h"
#include "database/Salvage.h"
#include "database/ShippedData.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <functional>

namespace {

constexpr int kMaxBackups = 500;

struct Files {
    QString database;
    QString scratch;
};

Files filesOf(const Program& program, const QString& strName) {
    return {program.app.filePath(strName + QStringLiteral(".mdb")),
            program.app.filePath(strName + QStringLiteral(" Temp.mdb"))};
}

void showMissingDatabase(Program& program, const QString& strName) {
    const QString exe = program.app.exeName;
    program.dialogs.msgBox(
        QStringLiteral("%1 database (%2.mdb) not found.\n"
                       "It should be located in the same folder as your %1 program (%1)")
            .arg(exe, strName),
        mb::Exclamation | mb::OKOnly, QStringLiteral("Missing Database"));
}

// Writes a compacted copy of a database file to a new file.
DbError compactInto(const QString& source, const QString& target) {
    DbError error;
    std::unique_ptr<Database> database = Database::open(source, error);
    if (!database) {
        return error;
    }
    QSqlQuery query(database->sql());
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(target);
    if (!query.exec()) {
        error = DbError::fromSql(query.lastError());
    }
    query.finish();
    return error;
}

// Checks that a finished scratch copy is a sound database before it takes the file's place.
DbError checkCopy(const QString& path) {
    DbError error;
    std::unique_ptr<Database> copy = Database::open(path, error);
    return error;
}

// The scratch copy reaches the disk, is checked, and takes the database file's place at once:
// there is never a moment without the database file.
DbError putInPlace(const Files& files) {
    DbError error = fileops::syncFile(files.scratch);
    if (!error) {
        error = checkCopy(files.scratch);
    }
    if (!error) {
        // A rollback journal left beside the old file must never meet the new one.
        error = fileops::removeFile(files.database + QStringLiteral("-journal"));
    }
    if (!error) {
        error = fileops::replaceFile(files.scratch, files.database);
    }
    return error;
}

bool fail(Program& program, const DbError& error, const QString& title) {
    program.cursor.setMousePointer(WaitCursor::Default);
    program.dialogs.msgBox(error.description, mb::Exclamation | mb::OKOnly, title);
    return false;
}

// Makes the scratch copy afresh, puts it in the database file's place and reports the outcome.
bool replaceWithScratch(Program& program, const Files& files, const QString& errorTitle,
                        const std::function<DbError()>& makeScratch, const QString& doneText) {
    DbError error = fileops::removeFile(files.scratch);
    if (!error) {
        error = makeScratch();
        if (!error) {
            error = putInPlace(files);
        }
        if (error) {
            fileops::removeFile(files.scratch);
        }
    }
    if (error) {
        return fail(program, error, errorTitle);
    }
    program.cursor.setMousePointer(WaitCursor::Default);
    program.dialogs.msgBox(doneText, mb::Information | mb::OKOnly);
    return true;
}

}  // namespace

QString backupPath(const QString& folder, const QString& strName, int number) {
    return folder + QStringLiteral("/Old %1 Backup(%2).mdb").arg(strName).arg(number);
}

int freeBackupNumber(const QString& folder, const QString& strName) {
    for (int n = 1; n <= kMaxBackups; ++n) {
        // A number is free only when no backup and no journal of one carries it.
        const QString path = backupPath(folder, strName, n);
        if (!fileops::exists(path) && !fileops::exists(path + QStringLiteral("-journal"))) {
            return n;
        }
    }
    return 0;
}

bool compactBirdList(Program& program, const QString& strName) {
    const Files files = filesOf(program, strName);
    if (!QFileInfo(files.database).isFile()) {
        showMissingDatabase(program, strName);
        return false;
    }
    program.cursor.setMousePointer(WaitCursor::Hourglass);
    return replaceWithScratch(
        program, files, QStringLiteral("Database Compacting Error"),
        [&] { return compactInto(files.database, files.scratch); },
        program.app.exeName + QStringLiteral(" database compacted successfully."));
}

bool repairBirdList(Program& program, const QString& strName) {
    const Files files = filesOf(program, strName);
    if (!QFileInfo(files.database).isFile()) {
        showMissingDatabase(program, strName);
        return false;
    }
    const QString title = QStringLiteral("Database Repairing Error");
    program.cursor.setMousePointer(WaitCursor::Hourglass);

    // A numbered backup of the file as it is, with its rollback journal if one was left.
    if (const int number = freeBackupNumber(program.app.path, strName)) {
        const QString backup = backupPath(program.app.path, strName, number);
        if (DbError error = fileops::copyFile(files.database, backup)) {
            return fail(program, error, title);
        }
        const QString journal = files.database + QStringLiteral("-journal");
        if (fileops::exists(journal)) {
            if (DbError error = fileops::copyFile(journal, backup + QStringLiteral("-journal"))) {
                return fail(program, error, title);
            }
        }
    }

    return replaceWithScratch(
        program, files, title,
        [&] { return salvageLifeList(files.database, files.scratch, ShippedData::load()); },
        program.app.exeName + QStringLiteral(" database repair procedure complete."));
}
