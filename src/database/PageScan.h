#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

// Reads table records straight from the pages of a database file, without its list of tables:
// the last way to find the sightings of a file whose first page is destroyed.
struct ScannedRecord {
    qint64 rowid = 0;
    QVariantList values;  // the columns after the first, Null as an invalid QVariant
};

// Every record of `columnCount` columns whose first column is Null (the stored form of a key
// that is the rowid) and whose other columns are texts, whole numbers or Null, found on the
// file's table leaf pages, in rowid order; a rowid found twice is taken once. A text that is not
// valid UTF-8 is Null; records whose pages run outside the file are passed over. A file whose
// pages lead the scan over the same bytes again and again is given up on part of the way through.
QList<ScannedRecord> scanRecords(const QString& path, int columnCount);
