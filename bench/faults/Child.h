#pragma once

#include <QString>

// How a child meets its operation: as it is (counted or killed by the preloaded library, or
// killed from outside), under a file-size limit of `limit` bytes, with its program folder
// made read-only (the life list itself is made read-only by the parent before it starts), or
// as it is once the parent has taken an image of its folder (for a power cut).
enum class ChildMode { Plain, DiskFull, ReadOnlyFolder, ReadOnlyFile, PowerCut };

ChildMode childModeNamed(const QString& name);
QString childModeName(ChildMode mode);

// The child's side: opens the record form on the life list in `folder`, prepares the operation,
// says "ready" (for a power cut, then waits for a line on its standard input), does it, and tells
// what it showed. Under a limit it then waits for a line on
// its standard input, lifts the limit and tries the operation again. Never returns.
[[noreturn]] void runChild(const QString& operation, const QString& folder, ChildMode mode,
                           qint64 limit);
