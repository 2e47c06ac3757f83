#pragma once

#include "database/CsvStream.h"
#include "database/DbError.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <functional>

class Database;

// What an import would add to the life list, worked out before anything is changed.
struct ImportPlan {
    // The new sightings, each a value for every field of the life list in its order (without
    // the Number), in the order they are to be stored.
    QList<QStringList> records;
    int alreadyListed = 0;        // species left out because the life list has them
    qint64 notCounted = 0;        // rows that are not a species
    QStringList notCountedNames;  // what those rows are, for the details
    qint64 undated = 0;           // rows left out because their date could not be read
    QStringList undatedRows;      // the first of them, by name, row and date as written
    QStringList shortened;        // values cut to their field's length, for the details

    // The question put to the user before the import, and its details.
    QString question() const;
    QString details() const;
};

// The species on a life list, by English and by scientific name, ignoring case.
class ListedSpecies {
public:
    static DbError read(Database& db, ListedSpecies& listed);
    bool has(const QString& english, const QString& scientific) const;
    void add(const QString& english, const QString& scientific);

private:
    QSet<QString> m_names;
};

// The place of the column headed `name` (ignoring case and spaces around it) in a heading row;
// -1 when there is none.
int columnNamed(const QStringList& heading, const QString& name);

// Where the text of an import comes from: a function that hands it to the stream, piece by
// piece, and returns false when it cannot be read, with the reason in `error`.
using CsvInput = std::function<bool(CsvStream& stream, QString& error)>;
// A text already in memory.
CsvInput csvText(const QString& text);

// Reads a CSV text whose first row names its columns: `heading` gets that row and returns false
// when the file cannot be used, with the reason in `error`; then `take` gets every row below it
// with its row number (the heading being row 1), and returns false, with the reason, to refuse
// the file there. False when the text is empty, cannot be read or was refused.
bool readHeadedCsv(const CsvInput& input, QString& error,
                   const std::function<bool(const QStringList&, QString&)>& heading,
                   const std::function<bool(const QStringList&, int, QString&)>& take);
// The message for a file that lacks a column it needs to be read as `kind`.
QString missingColumn(const QString& column, const QString& kind);

// The characters of `text` as the record form counts them: one beyond the basic range (an
// emoji, written as two UTF-16 units) is one.
qsizetype characterCount(QStringView text);
// The first `limit` characters of `text`, counted so.
QString cutToLength(const QString& text, qsizetype limit);

// Cuts the values of `record` that are longer (in characters) than their field takes and notes each
// cut in `shortened`, naming the sighting by `what`. Returns the fields that were cut.
QStringList fitToFields(QStringList& record, const QString& what, QStringList& shortened);

// The positions of the fields in a record of the plan.
namespace planField {
enum : int {
    CommonName,
    AlternateName,
    Order,
    Family,
    Species,
    Location,
    Country,
    Region,
    Month,
    Year,
    Comments,
    Additional,
    Images,
    Count
};
}
