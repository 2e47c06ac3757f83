#pragma once

#include "database/DbError.h"

#include <QByteArray>
#include <QString>

// File operations that keep a life list safe: copies and new files reach the disk before they
// are used, and a file takes another's place in one step.
namespace fileops {

enum : int { PathFileAccessError = 75 };

bool exists(const QString& path);
DbError removeFile(const QString& path);
// Copies a file to a new name; fails when the destination exists.
DbError copyFile(const QString& from, const QString& to);
// Flushes a file's contents to the disk.
DbError syncFile(const QString& path);
// Gives `from` the name `to` in one step, replacing `to` if it exists.
DbError replaceFile(const QString& from, const QString& to);
// Gives `to` the permissions of `from`: a copy is readable by no one the original keeps out.
DbError copyMode(const QString& from, const QString& to);
// True when the file is marked read-only: its owner may not write it, or this user may not.
bool isReadOnly(const QString& path);
// Writes a whole file: it appears under its name complete, or an existing file of that name is
// left as it was.
DbError writeWhole(const QString& path, const QByteArray& contents);
// Gives `from` the name `to`; fails when `to` exists.
DbError renameNoReplace(const QString& from, const QString& to);

}  // namespace fileops
