#pragma once

#include <QString>
#include <optional>

class Dialogs;

// True when `text` is at most `maxLength` characters long; otherwise tells the user how long
// it is and returns false (the caller puts the focus back).
bool checkTextLength(Dialogs& dialogs, const QString& text, int maxLength);

// Gives `fileName` the extension `extension` (without the dot) unless it already ends in it,
// ignoring case. When a file of that name exists, asks whether to replace it. True when the
// file may be written; the writer then replaces the old file in one step, so the old file is
// kept until the new one is complete.
bool confirmOverwrite(Dialogs& dialogs, QString& fileName, const QString& extension);

// The save dialog (its title, filter and proposed file), asked again until the file chosen may
// be written (confirmOverwrite); the file's name, or nothing when the user cancelled.
std::optional<QString> chooseSaveFile(Dialogs& dialogs, const QString& title, const QString& filter,
                                      const QString& proposedPath, const QString& extension);
