#pragma once

#include <QString>

class Checklist;
class Program;

// The progress bar the record form shows while an import works, with its Cancel button.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // The bar appears (true), saying what is being done, or goes (false).
    virtual void show(bool working, const QString& caption) = 0;
    // The share done, in percent; false once the user has cancelled.
    virtual bool advance(int percent) = 0;
};

enum class ImportSource { EBird, Spreadsheet };

// Asks for the file and reads it; asks whether to add the species new to the life list; keeps a
// backup copy of the life list, then adds them in one step, and tells the user how it went.
// `checklist` (may be null) names the species of an eBird file; `starterNumber`, when not 0,
// is the Number of the untouched starter record, which the first new sighting replaces.
// Returns the number of sightings added.
int importSightings(Program& program, ImportSource source, const Checklist* checklist,
                    qint64 starterNumber, ImportProgress& progress);

// The title of the import's messages.
inline const QString kImportTitle = QStringLiteral("Import Sightings");
