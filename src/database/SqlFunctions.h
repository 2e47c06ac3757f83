#pragma once

class QSqlDatabase;
struct sqlite3;

// The engine's text comparisons, for every letter and not only for ASCII:
//   plovix_fold(text)          the text folded for comparisons that ignore case
//   plovix_like(pattern, text) 1 when text matches the LIKE pattern, 0 otherwise
// They are used in queries only, never in the schema, so the file stays readable by any tool.
// Returns false when the connection is not a SQLite one.
bool registerSqlFunctions(QSqlDatabase& db);

// The engine's own handle of a SQLite connection; null for any other.
sqlite3* engineHandle(const QSqlDatabase& db);
