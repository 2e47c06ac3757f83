#pragma once

#include <QString>

class Program;

// The life list file seen from the program: opening it at start-up, compacting and repairing
// it, each with the messages and the pointer the user sees.

// Opens "Bird List.mdb" in the program folder with the five program-wide recordsets. A missing
// file is reported and false returned: the program must end. A file that cannot be used is
// offered for repair; OK repairs it and opens it again, Cancel returns false. A file that
// another program holds is not offered for repair: Retry tries again, Cancel returns false.
bool openBirdListDatabase(Program& program);

// Claims the life list for this copy of the program ("Bird List.lock" beside it). When another
// running copy holds it, tells the user and returns false: the program must end. The lock of a
// copy that was killed is taken over.
bool claimBirdList(Program& program);

// Compacts the closed life list `name` in the program folder and reports the outcome in a
// message box; true when the file was compacted.
bool compactBirdList(Program& program, const QString& name);

// Keeps a numbered backup of the closed life list, then rebuilds it from every readable row.
// Reports the outcome in a message box; true when the file was repaired.
bool repairBirdList(Program& program, const QString& name);

struct DbError;

// Reports a failure of the database engine: "Error" and its number, then its description.
void reportDatabaseError(Program& program, const DbError& error);
