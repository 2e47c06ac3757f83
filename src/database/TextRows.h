#pragma once

#include "database/DbError.h"

#include <QList>
#include <QStringList>

class Database;

// Every row a query gives, each field as text (Null as ""), read straight from the engine
// without a value object per field: the quickest way to read a whole table for output. A read
// that stops part way (a damaged page) is a failure.
DbError readTextRows(Database& db, const QString& sql, QStringList& columns,
                     QList<QStringList>& rows);
