#pragma once

#include <QList>
#include <QStringList>
#include <functional>

// Rows of a CSV text (RFC 4180: fields in double quotes may hold commas, quotes doubled and line
// breaks). Every field is text: "NA" stays "NA". Blank lines are skipped.
QList<QStringList> parseCsv(const QString& text);
// The same rows handed over one at a time, for texts too large to hold as a list of rows.
void forEachCsvRow(const QString& text, const std::function<void(const QStringList&)>& take);
// The rows of a CSV file below its heading line; none when it cannot be read.
QList<QStringList> readCsvFile(const QString& path);
