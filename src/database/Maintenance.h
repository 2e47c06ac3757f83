#pragma once

#include "database/DbError.h"
#include "database/Salvage.h"

#include <QString>

// What compacting or repairing a life list file came to.
struct MaintenanceReport {
    enum class Outcome { Done, Missing, Failed };
    Outcome outcome = Outcome::Done;
    DbError error;          // why it failed
    int backupNumber = 0;   // the backup a repair made
    SalvageReport salvage;  // what a repair saved
};

// Compacts the closed life list `baseName` (".mdb" in `folder`) through a scratch copy that
// then takes its place in one step. The file is never without a sound copy under its name.
MaintenanceReport compactLifeList(const QString& folder, const QString& baseName);

// Keeps a numbered backup of the closed life list, then rebuilds it from every readable row
// and puts the rebuilt copy in its place. With every backup number taken nothing is done.
MaintenanceReport repairLifeList(const QString& folder, const QString& baseName);

// The first free backup number from 1 to 500, or 0 when all 500 backups exist.
int freeBackupNumber(const QString& folder, const QString& baseName);
QString backupPath(const QString& folder, const QString& baseName, int number);
// Copies the life list to its backup `number` through a scratch copy, with its permissions: a
// copy cut short never stands under a backup's name.
DbError copyToBackup(const QString& folder, const QString& baseName, int number);
