#pragma once

#include <QString>

class Dialogs;

// True when `text` is at most `lMaxLength` characters long; otherwise tells the user how long
// it is and returns false (the caller puts the focus back).
bool checkTextLength(Dialogs& dialogs, const QString& text, int lMaxLength);

// Gives `fileName` the extension `strExtension` (without the dot) unless it already ends in it,
// ignoring case. When a file of that name exists, asks whether to replace it. True when the
// file may be written; the writer then replaces the old file in one step, so the old file is
// kept until the new one is complete.
bool confirmOverwrite(Dialogs& dialogs, QString& fileName, const QString& strExtension);
