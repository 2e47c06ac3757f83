#pragma once

class Program;

// Opens "Bird List.mdb" in the program folder with the five program-wide recordsets. A missing
// file is reported and false returned: the program must end. A file that cannot be used is
// offered for repair; OK repairs it and opens it again, Cancel returns false.
bool openBirdListDatabase(Program& program);
