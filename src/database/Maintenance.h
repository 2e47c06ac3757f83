#pragma once

#include <QString>

class Program;

// Compacts the closed life list `strName` (".mdb" in the program folder) through a scratch copy
// that then takes its place in one step. Reports the outcome in a message box; true when the
// file was compacted.
bool compactBirdList(Program& program, const QString& strName);

// Keeps a numbered backup of the closed life list, then rebuilds it from every readable row.
// Reports the outcome in a message box; true when the file was repaired.
bool repairBirdList(Program& program, const QString& strName);

// The first free backup number from 1 to 500, or 0 when all 500 backups exist.
int freeBackupNumber(const QString& folder, const QString& strName);
QString backupPath(const QString& folder, const QString& strName, int number);
