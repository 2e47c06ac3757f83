#pragma once

#include <QList>
#include <QStringList>

// Rows of a CSV text (RFC 4180: fields in double quotes may hold commas, quotes doubled and line
// breaks). Every field is text: "NA" stays "NA". Blank lines are skipped.
QList<QStringList> parseCsv(const QString& text);
// The rows of a CSV file below its heading line; none when it cannot be read.
QList<QStringList> readCsvFile(const QString& path);
