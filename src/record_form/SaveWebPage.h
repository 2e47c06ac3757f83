#pragma once

#include <QString>
#include <functional>

class Program;

// Writes the whole life list as a web page into the file `fileName`, replacing it
// only once the new page is complete, then offers to open it in the browser. `writing` is
// told when the writing starts (true) and ends (false): the record form is disabled
// meanwhile. A failure is told to the user.
void saveLifeListAsWebPage(Program& program, const QString& fileName,
                           const std::function<void(bool)>& writing);
