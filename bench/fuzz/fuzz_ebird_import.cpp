// The eBird import: a "Download My Data" file read, and what it would add to a life list
// worked out, as "Import Sightings > eBird Data" does before it asks.
//
// Input: the CSV text of the download (MyEBirdData.csv).
#include "FuzzInput.h"
#include "app/MValidation.h"
#include "checklist/Checklist.h"
#include "database/ShippedData.h"
#include "exchange/EBirdImport.h"

#include <QLocale>

namespace {

// A small world checklist: two species under an order and family of their own, one that eBird
// names differently, and one whose names are longer than the life list's fields take.
const Checklist& checklist() {
    static const Checklist list = [] {
        QString error;
        std::optional<Checklist> loaded = Checklist::fromCsv(
            QStringLiteral(
                "common_name,scientific_name,order,family_scientific,family_english\n"
                "American Robin,Turdus migratorius,Passeriformes,Turdidae,Thrushes\n"
                "Yellow-rumped Warbler,Setophaga coronata,Passeriformes,Parulidae,Warblers\n"
                "Common Moorhen,Gallinula chloropus,Gruiformes,Rallidae,Rails\n"
                "Eurasian Wren,Troglodytes troglodytes,Passeriformes,Troglodytidae,Wrens\n"
                "A Very Long English Name Of A Bird Far Beyond Fifty Characters,"
                "Longus nominatus,Passeriformes,Familiaridae,Long names\n"),
            error);
        if (!loaded) {
            std::fprintf(stderr, "the checklist: %s\n", qPrintable(error));
            std::abort();
        }
        return *loaded;
    }();
    return list;
}

const QList<ShippedData::Country>& countries() {
    static const QList<ShippedData::Country> codes =
        ShippedData::loadFrom(QStringLiteral(PLOVIX_DATA_DIR)).countryCodes;
    return codes;
}

ListedSpecies listedSpecies() {
    ListedSpecies listed;
    listed.add(QStringLiteral("Mallard"), QStringLiteral("Anas platyrhynchos"));
    listed.add(QStringLiteral("Eurasian wren"), QString());
    return listed;
}

void checkRecord(const QStringList& record) {
    FUZZ_CHECK(record.size() == field::Count);
    for (int i = 0; i < field::Count; ++i) {
        const int limit =
            i == field::Comments || i == field::Additional ? kLongTextLimit : kShortTextLimit;
        FUZZ_CHECK(record[i].size() <= limit);
        FUZZ_CHECK(record[i].isValidUtf16());  // a value is never cut inside a character
    }
    static const QLocale english(QLocale::English);
    bool isMonth = false;
    for (int month = 1; month <= 12; ++month) {
        isMonth = isMonth || record[field::Month] == english.monthName(month);
    }
    FUZZ_CHECK(isMonth);
    bool isYear = false;
    FUZZ_CHECK(record[field::Year].toInt(&isYear) > 0 && isYear);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    checklist();
    if (countries().isEmpty()) {
        std::fprintf(stderr, "no countries read from %s\n", PLOVIX_DATA_DIR);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    const std::optional<EBirdFile> file = readEBirdFile(fuzz::fileText(data, size), error);
    if (!file) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    int line = 1;
    for (const EBirdRow& row : file->rows) {
        FUZZ_CHECK(row.date.isValid());
        FUZZ_CHECK(!row.common.isEmpty() || !row.scientific.isEmpty());
        FUZZ_CHECK(row.line > line);
        FUZZ_CHECK(row.minutes == -1 || (row.minutes >= 0 && row.minutes < 24 * 60));
        line = row.line;
    }

    const ListedSpecies listed = listedSpecies();
    for (const Checklist* list : {&checklist(), static_cast<const Checklist*>(nullptr)}) {
        const ImportPlan plan = planEBirdImport(*file, list, countries(), listed);
        FUZZ_CHECK(plan.notCounted >= file->undated.size());
        // Every row counted as a species is on one record, added or already listed.
        const qsizetype speciesRows = file->rows.size() - (plan.notCounted - file->undated.size());
        FUZZ_CHECK(plan.records.size() + plan.alreadyListed <= speciesRows);
        FUZZ_CHECK(speciesRows == 0 || plan.records.size() + plan.alreadyListed > 0);
        for (const QStringList& record : plan.records) {
            checkRecord(record);
        }
        (void)plan.question();
        (void)plan.details();
    }
    return 0;
}
