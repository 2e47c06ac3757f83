#pragma once

#include <QString>
#include <functional>

class Program;

// Writes every field of every sighting as a spreadsheet (CSV) file into the file
// `fileName`, replacing it only once the new file is complete, then offers to open it.
// `writing` is told when the writing starts (true) and ends (false). A failure is told to the
// user.
void saveLifeListAsSpreadsheet(Program& program, const QString& fileName,
                               const std::function<void(bool)>& writing);
