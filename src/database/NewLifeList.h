#pragma once

#include "database/DbError.h"

#include <QString>

struct ShippedData;

// Makes a new life list at `path`: the starter record and lookup tables filled with the shipped
// entries. Never replaces an existing file.
DbError createNewLifeList(const QString& path, const ShippedData& data);
DbError createNewLifeList(const QString& path);
