#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

// Life lists for tests, and ways of damaging them the way a failing disk or a crash would.
// Everything here reads and writes the files through SQLite itself or byte by byte, never
// through the program's own database layer, so that it can judge that layer.
struct sqlite3;

namespace damage {

// Rows of a table, each the value of every column; Null is an invalid QVariant.
using Rows = QList<QVariantList>;

// A new life list with `sightings` sightings after the starter record (Numbers 2 and up). Their
// Comments are `commentLength` characters long, so that a few rows fill a page.
bool makeLifeList(const QString& path, int sightings, int commentLength = 700);

// Runs statements on a database file (made when missing) in one transaction.
bool execute(const QString& path, const QStringList& statements);

// Holds the lock of a database file, as another program in the middle of a change does, until
// the connection returned is gone; none when the lock cannot be taken.
std::shared_ptr<sqlite3> holdExclusiveLock(const QString& path);

// Every row of a table in rowid order; no value when the table cannot be read.
std::optional<Rows> readRows(const QString& path, const QString& table);
// One value (the first column of the first row) of a query; invalid when there is none.
QVariant queryValue(const QString& path, const QString& sql);

// The table's leaf pages, ordered by the rowids they hold.
QList<int> leafPages(const QString& path, const QString& table);

struct Cell {
    qint64 rowid = 0;
    quint32 overflowPage = 0;  // first page of the rest of the row, 0 when it fits
};
// The cells of a table leaf page, read from the file's bytes.
QList<Cell> cellsOnLeafPage(const QString& path, int page);

// Overwrites the header of a page: the page can no longer be read as part of a table.
bool damagePageHeader(const QString& path, int page);
// Overwrites a whole page with bytes that mean nothing.
bool overwritePage(const QString& path, int page);

// A file of `size` bytes that is not a database (or, with `sqliteHeader`, only looks like one).
bool writeGarbage(const QString& path, int size, bool sqliteHeader = false);
QByteArray fileBytes(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace damage
