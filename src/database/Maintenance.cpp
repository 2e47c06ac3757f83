#include "database/Maintenance.h"

#include "database/Database.h"
#include "database/FileOps.h"
#include "database/SalvageSource.h"
#include "database/ShippedData.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <functional>
#include <optional>

namespace {

constexpr int kMaxBackups = 500;

struct Files {
    QString database;
    QString scratch;
};

Files filesOf(const QString& folder, const QString& baseName) {
    return {folder + QLatin1Char('/') + baseName + QStringLiteral(".mdb"),
            folder + QLatin1Char('/') + baseName + QStringLiteral(" Temp.mdb")};
}

MaintenanceReport failed(const DbError& error) {
    return {MaintenanceReport::Outcome::Failed, error, 0, {}};
}

// A list that is marked read-only is left as it is: rebuilding it would make it writable.
std::optional<MaintenanceReport> refusal(const Files& files) {
    if (!QFileInfo(files.database).isFile()) {
        return MaintenanceReport{
            MaintenanceReport::Outcome::Missing, DbError::fileNotFound(files.database), 0, {}};
    }
    if (fileops::isReadOnly(files.database)) {
        return failed({DbError::ReadOnly,
                       QStringLiteral("The life list '%1' is read-only. Make the file writable, "
                                      "then try again.")
                           .arg(files.database)});
    }
    return std::nullopt;
}

// Copies a file under a scratch name, which it leaves for its own name only when it is whole:
// a copy cut short never stands under that name.
DbError copyWhole(const QString& from, const QString& to, const QString& scratch) {
    DbError error = fileops::removeFile(scratch);
    if (!error) {
        error = fileops::copyFile(from, scratch);
    }
    if (!error) {
        error = fileops::copyMode(from, scratch);
    }
    if (!error) {
        error = fileops::renameNoReplace(scratch, to);
    }
    if (error) {
        fileops::removeFile(scratch);
    }
    return error;
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
        error = fileops::copyMode(files.database, files.scratch);
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

// Removes a scratch copy and the rollback journal the engine may have left beside it when an
// attempt was cut short: the journal goes with its copy.
DbError removeScratch(const QString& scratch) {
    DbError error = fileops::removeFile(scratch + QStringLiteral("-journal"));
    return error ? error : fileops::removeFile(scratch);
}

// Makes the scratch copy afresh and puts it in the database file's place; a failed attempt
// leaves no scratch copy behind.
DbError replaceWithScratch(const Files& files, const std::function<DbError()>& makeScratch) {
    DbError error = removeScratch(files.scratch);
    if (!error) {
        error = makeScratch();
        if (!error) {
            error = putInPlace(files);
        }
        if (error) {
            removeScratch(files.scratch);
        }
    }
    return error;
}

}  // namespace

QString backupPath(const QString& folder, const QString& baseName, int number) {
    return folder + QStringLiteral("/Old %1 Backup(%2).mdb").arg(baseName).arg(number);
}

namespace {

QString backupScratch(const QString& folder, const QString& baseName) {
    return folder + QStringLiteral("/Old %1 Backup Temp.mdb").arg(baseName);
}

}  // namespace

DbError copyToBackup(const QString& folder, const QString& baseName, int number) {
    return copyWhole(filesOf(folder, baseName).database, backupPath(folder, baseName, number),
                     backupScratch(folder, baseName));
}

int freeBackupNumber(const QString& folder, const QString& baseName) {
    for (int n = 1; n <= kMaxBackups; ++n) {
        // A number is free only when no backup and no journal of one carries it.
        const QString path = backupPath(folder, baseName, n);
        if (!fileops::exists(path) && !fileops::exists(path + QStringLiteral("-journal"))) {
            return n;
        }
    }
    return 0;
}

MaintenanceReport compactLifeList(const QString& folder, const QString& baseName) {
    const Files files = filesOf(folder, baseName);
    if (std::optional<MaintenanceReport> refused = refusal(files)) {
        return *refused;
    }
    if (DbError error =
            replaceWithScratch(files, [&] { return compactInto(files.database, files.scratch); })) {
        return failed(error);
    }
    return {};
}

MaintenanceReport repairLifeList(const QString& folder, const QString& baseName) {
    const Files files = filesOf(folder, baseName);
    if (std::optional<MaintenanceReport> refused = refusal(files)) {
        return *refused;
    }
    // A list that cannot be read now (another program holds it) is not damaged: no backup is
    // made and nothing is rebuilt.
    if (DbError error = salvage::Source(files.database).open()) {
        return failed(error);
    }
    MaintenanceReport report;
    // A numbered backup of the file as it is, with its rollback journal if one was left. A
    // repair may leave out what it cannot read: it is never made without one.
    report.backupNumber = freeBackupNumber(folder, baseName);
    if (report.backupNumber == 0) {
        return failed({DbError::General,
                       QStringLiteral("No backup copy of your life list can be made: the backups "
                                      "1 to %1 of \"Old %2 Backup(n).mdb\" all exist. Move some "
                                      "of them away and repair again.\n\nYour life list has not "
                                      "been changed.")
                           .arg(kMaxBackups)
                           .arg(baseName)});
    }
    {
        const QString backup = backupPath(folder, baseName, report.backupNumber);
        const QString scratch = backupScratch(folder, baseName);
        const QString journal = files.database + QStringLiteral("-journal");
        const QString suffix = QStringLiteral("-journal");
        if (fileops::exists(journal)) {
            if (DbError error = copyWhole(journal, backup + suffix, scratch + suffix)) {
                return failed(error);
            }
        }
        if (DbError error = copyWhole(files.database, backup, scratch)) {
            return failed(error);
        }
    }
    if (DbError error = replaceWithScratch(files, [&] {
            return salvageLifeList(files.database, files.scratch, ShippedData::load(),
                                   &report.salvage);
        })) {
        return failed(error);
    }
    return report;
}
