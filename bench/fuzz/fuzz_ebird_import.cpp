// The eBird import: a "Download My Data" file read, and what it would add to a life list
// worked out, as "Import Sightings > eBird Data" does before it asks.
//
// Input: the bytes of the download (MyEBirdData.csv), read as the import reads a file, a piece
// at a time.
#include "FuzzInput.h"
#include "database/Schema.h"
#include "checklist/Checklist.h"
#include "database/ShippedData.h"
#include "exchange/EBirdImport.h"
#include "exchange/ImportPlan.h"

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
    FUZZ_CHECK(record.size() == planField::Count);
    for (int i = 0; i < planField::Count; ++i) {
        const int limit =
            i == planField::Comments || i == planField::Additional ? kLongTextLimit : kShortTextLimit;
        FUZZ_CHECK(characterCount(record[i]) <= limit);
        FUZZ_CHECK(record[i].isValidUtf16());  // a value is never cut inside a character
    }
    static const QLocale english(QLocale::English);
    bool isMonth = false;
    for (int month = 1; month <= 12; ++month) {
        isMonth = isMonth || record[planField::Month] == english.monthName(month);
    }
    FUZZ_CHECK(isMonth);
    bool isYear = false;
    FUZZ_CHECK(record[planField::Year].toInt(&isYear) > 0 && isYear);
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

// The download's bytes handed over in pieces of `piece` bytes.
CsvInput inPieces(const uint8_t* data, size_t size, qsizetype piece) {
    return [=](CsvStream& stream, QString&) {
        const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        for (qsizetype at = 0; at < bytes.size(); at += piece) {
            stream.addBytes(bytes.sliced(at, std::min(piece, bytes.size() - at)));
        }
        return true;
    };
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    const std::optional<EBirdSightings> file =
        readEBirdFile(inPieces(data, size, qMax<qsizetype>(1, qsizetype(size))), error);
    QString again;
    const std::optional<EBirdSightings> inSmallPieces =
        readEBirdFile(inPieces(data, size, 1 + qsizetype(size % 11)), again);
    FUZZ_CHECK(file.has_value() == inSmallPieces.has_value() && error == again);
    if (!file) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    int line = 1;
    for (const EBirdSightings::Row& row : file->rows()) {
        FUZZ_CHECK(row.date().isValid());
        FUZZ_CHECK(row.taxon >= 0 && row.taxon < file->taxa().size());
        const EBirdSightings::Taxon& taxon = file->taxa()[row.taxon];
        FUZZ_CHECK(taxon.name.isSpecies() && taxon.earliest >= 0);
        FUZZ_CHECK(!EBirdSightings::earlier(row, file->rows()[taxon.earliest]));
        FUZZ_CHECK(row.line > line);
        FUZZ_CHECK(row.minutes == -1 || (row.minutes >= 0 && row.minutes < 24 * 60));
        line = row.line;
    }
    qint64 taxonRows = 0;
    for (const EBirdSightings::Taxon& taxon : file->taxa()) {
        FUZZ_CHECK(!taxon.common.isEmpty() || !taxon.scientific.isEmpty());
        taxonRows += taxon.rows;
    }
    FUZZ_CHECK(taxonRows == file->datedRows());
    FUZZ_CHECK(file->listedUndated().size() ==
               std::min<qint64>(file->undatedCount(), EBirdSightings::kListedUndated));

    const ListedSpecies listed = listedSpecies();
    for (const Checklist* list : {&checklist(), static_cast<const Checklist*>(nullptr)}) {
        const ImportPlan plan = planEBirdImport(*file, list, countries(), listed);
        FUZZ_CHECK(plan.undated == file->undatedCount());
        // Every dated row is a species' or not counted, and every species' row is on one
        // record, added or already listed.
        FUZZ_CHECK(plan.notCounted + file->rows().size() == file->datedRows());
        FUZZ_CHECK(plan.records.size() + plan.alreadyListed <= file->rows().size());
        FUZZ_CHECK(file->rows().isEmpty() || plan.records.size() + plan.alreadyListed > 0);
        for (const QStringList& record : plan.records) {
            checkRecord(record);
        }
        // However the pieces fell, the same plan.
        const ImportPlan same = planEBirdImport(*inSmallPieces, list, countries(), listed);
        FUZZ_CHECK(same.records == plan.records && same.details() == plan.details());
        (void)plan.question();
    }
    return 0;
}
