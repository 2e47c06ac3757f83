#pragma once

#include "database/DbError.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Database;
struct ShippedData;

// The names of the life list's tables and fields, for every statement and recordset that
// names one.
namespace table {
inline const QString BirdList = QStringLiteral("Bird List");
inline const QString Orders = QStringLiteral("Orders");
inline const QString Families = QStringLiteral("Families");
inline const QString Countries = QStringLiteral("Countries");
inline const QString Regions = QStringLiteral("Regions");
}  // namespace table

namespace field {
inline const QString Number = QStringLiteral("Number");
inline const QString CommonName = QStringLiteral("CommonName");
inline const QString AlternateName = QStringLiteral("AlternateName");
inline const QString Order = QStringLiteral("Order");
inline const QString Family = QStringLiteral("Family");
inline const QString Species = QStringLiteral("Species");
inline const QString Location = QStringLiteral("Location");
inline const QString Country = QStringLiteral("Country");
inline const QString Region = QStringLiteral("Region");
inline const QString Month = QStringLiteral("Month");
inline const QString Year = QStringLiteral("Year");
inline const QString Comments = QStringLiteral("Comments");
inline const QString Additional = QStringLiteral("Additional");
inline const QString Images = QStringLiteral("Images");
}  // namespace field

// The tables of a life list.
namespace lifelist {

constexpr int kSchemaVersion = 1;
inline const QString kBirdList = table::BirdList;
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
