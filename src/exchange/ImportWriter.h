#pragma once

#include "database/DbError.h"

#include <QList>
#include <QStringList>
#include <functional>

class Database;

// Stores the records of an import (values for every field of the life list in its order) as
// one transaction: all of them, with the orders, families, countries and regions that are new
// to the lookup tables, or nothing. `replaceNumber`, when not 0, is the Number of a record
// that the first one takes the place of. `goOn` is told the share done, in percent, and
// returning false stops the import with nothing changed (the error Cancelled).
DbError storeImport(Database& db, const QList<QStringList>& records, qint64 replaceNumber,
                    const std::function<bool(int)>& goOn);
