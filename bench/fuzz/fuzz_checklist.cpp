// The world checklist: its CSV file read, and names completed and looked up in it.
//
// Input: the first line is a name typed into Common Name or Binomial; the rest is the checklist
// file (data/species.csv).
#include "FuzzInput.h"
#include "checklist/Checklist.h"

#include <QSet>

namespace {

// Every species of the checklist is found by its own name, and offered when that name is typed.
void checkFindsItsSpecies(const Checklist& checklist, Checklist::Names kind, qsizetype index) {
    const ChecklistSpecies& species = checklist.at(index);
    const QString& name = kind == Checklist::Names::English ? species.english : species.scientific;
    const auto nameOf = [&](qsizetype i) {
        return kind == Checklist::Names::English ? checklist.at(i).english
                                                 : checklist.at(i).scientific;
    };
    const QString key = foldName(name);
    FUZZ_CHECK(foldName(key) == key);

    // A name listed twice finds its first species.
    const std::optional<qsizetype> found = checklist.find(kind, name);
    FUZZ_CHECK(found && *found <= index && foldName(nameOf(*found)) == key);

    const QList<qsizetype> offered = checklist.complete(kind, name);
    FUZZ_CHECK(key.isEmpty() ? offered.isEmpty() : offered.contains(index));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = fuzz::fileText(data, size);
    const qsizetype lineEnd = input.indexOf(u'\n');
    const QString typed = lineEnd < 0 ? input : input.left(lineEnd);
    const QString file = lineEnd < 0 ? QString() : input.mid(lineEnd + 1);

    QString error;
    const std::optional<Checklist> checklist = Checklist::fromCsv(file, error);
    if (!checklist) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(checklist->size() > 0);

    for (const Checklist::Names kind : {Checklist::Names::English, Checklist::Names::Scientific}) {
        const QList<qsizetype> offered = checklist->complete(kind, typed);
        FUZZ_CHECK(QSet<qsizetype>(offered.begin(), offered.end()).size() == offered.size());
        for (const qsizetype index : offered) {
            FUZZ_CHECK(index >= 0 && index < checklist->size());
        }
        if (const std::optional<qsizetype> found = checklist->find(kind, typed)) {
            FUZZ_CHECK(*found >= 0 && *found < checklist->size());
            FUZZ_CHECK(foldName(typed).isEmpty() || offered.contains(*found));
        }
        // The first species, enough of them to see every row kind, not all of a large file.
        for (qsizetype i = 0; i < std::min<qsizetype>(checklist->size(), 64); ++i) {
            checkFindsItsSpecies(*checklist, kind, i);
        }
    }
    return 0;
}
