#pragma once

#include "database/Database.h"

#include <QStringList>
#include <QVariantList>
#include <functional>

// Reads every row of `table` once, in the order the rows were stored, with one statement:
// `visit` gets the values of `fields` (Null as a null QVariant) and the row's position as
// 0 (first) to 100 (last). A table without rows is the error NoCurrentRecord, as moving to
// the first record of an empty recordset is.
DbError scanTable(Database& db, const QString& table, const QStringList& fields,
                  const std::function<void(const QVariantList& values, double percent)>& visit);
