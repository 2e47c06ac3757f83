#pragma once

#include "database/Database.h"
#include "database/Recordset.h"

#include <memory>

// The life list as the program keeps it open for the whole run: the database and the five
// recordsets on its tables.
struct OpenLifeList {
    std::unique_ptr<Database> database;
    std::shared_ptr<Recordset> birdList;  // every sighting, in Number order
    std::shared_ptr<Recordset> orders;
    std::shared_ptr<Recordset> families;
    std::shared_ptr<Recordset> countries;
    std::shared_ptr<Recordset> regions;
};

// Opens the life list file at `path` and checks that it has the tables the program needs. A
// missing file is the error FileNotFound. A list without sightings gets the starter record
// back, as a new list has it. On failure `list` is left empty.
DbError openLifeList(const QString& path, OpenLifeList& list);
