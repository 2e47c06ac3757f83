#pragma once

#include "database/DbError.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Database;
struct ShippedData;

// The tables of a life list.
namespace lifelist {

constexpr int kSchemaVersion = 1;
inline const QString kBirdList = QStringLiteral("Bird List");
inline const QString kStarterName = QStringLiteral("Enter your first sighting record");

struct Table {
    QString name;
    QStringList fields;  // for "Bird List" without its key Number
};

// "Bird List" first, then Orders, Families, Countries, Regions.
const QList<Table>& tables();
const QStringList& birdListFields();

// Makes every table of a life list in an empty database.
DbError createSchema(QSqlDatabase& db);
// Checks that every table and field of a life list is there.
DbError checkSchema(const Database& db);
// Adds the shipped entries to the lookup tables named (all four when the list is empty).
DbError fillLookupTables(QSqlDatabase& db, const ShippedData& data,
                         const QStringList& tableNames = {});
// Adds the record that a new life list starts with.
DbError addStarterRecord(QSqlDatabase& db);

}  // namespace lifelist

// Length limits of the record's text fields, in characters.
inline constexpr int kShortTextLimit = 50;
inline constexpr int kLongTextLimit = 32000;

// A binomial name as stored: first character upper case, the rest lower case. A text of one
// character is kept as typed.
QString capitaliseSpecies(const QString& text);
