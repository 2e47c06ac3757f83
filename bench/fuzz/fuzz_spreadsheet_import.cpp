// The spreadsheet import: a CSV file read by its column headings into the sightings it would
// add, as "Import Sightings > Plovix Spreadsheet" does before it asks.
//
// Input: the CSV text of the file.
#include "FuzzInput.h"
#include "database/CsvReader.h"
#include "database/Schema.h"
#include "exchange/Spreadsheet.h"

namespace {

ListedSpecies listedSpecies() {
    ListedSpecies listed;
    listed.add(QStringLiteral("Mallard"), QStringLiteral("Anas platyrhynchos"));
    listed.add(QStringLiteral("Eurasian Wren"), QString());
    return listed;
}

// The records as "Save Copy of Life List As > Spreadsheet" writes a life list holding them:
// heading row, Number first, CR LF line ends.
QString savedAsSpreadsheet(const QList<QStringList>& records) {
    QByteArray csv = "\xEF\xBB\xBF";
    csv += (QStringLiteral("Number,") + lifelist::birdListFields().join(u',')).toUtf8() + "\r\n";
    int number = 1;
    for (const QStringList& record : records) {
        csv += QByteArray::number(number++);
        for (const QString& value : record) {
            csv += ',' + spreadsheet::csvField(value);
        }
        csv += "\r\n";
    }
    csv.remove(0, 3);  // the import drops the byte-order mark before it reads the text
    return QString::fromUtf8(csv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::fileText(data, size);
    const ListedSpecies listed = listedSpecies();
    QString error;
    const std::optional<ImportPlan> plan = spreadsheet::planImport(csvText(text), listed, error);
    if (!plan) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    // Every row below the heading is added, already listed or not counted.
    const qsizetype rows = parseCsv(text).size() - 1;
    FUZZ_CHECK(plan->records.size() + plan->alreadyListed + plan->notCounted == rows);
    FUZZ_CHECK(plan->notCountedNames.size() == plan->notCounted);
    for (const QStringList& record : plan->records) {
        FUZZ_CHECK(record.size() == planField::Count);
        FUZZ_CHECK(!record[planField::CommonName].isEmpty());
        for (const QString& value : record) {
            FUZZ_CHECK(value.isValidUtf16());  // a value is never cut inside a character
        }
        for (int i = 0; i < planField::Count; ++i) {
            if (i == planField::Comments || i == planField::Additional) {
                FUZZ_CHECK(characterCount(record[i]) <= kLongTextLimit);
            } else if (i != planField::Month && i != planField::Year && i != planField::Images) {
                FUZZ_CHECK(characterCount(record[i]) <= kShortTextLimit);
            }
        }
    }
    (void)plan->question();
    (void)plan->details();

    // Saving the sightings and importing the file again gives back the same sightings. Names
    // are judged before they are cut to their field: a name cut down to blanks, or to the name
    // of a listed species, is added the first time and left out the second.
    QList<QStringList> kept;
    for (const QStringList& record : plan->records) {
        const QString& name = record[planField::CommonName];
        if (!name.trimmed().isEmpty() && !listed.has(name, record[planField::Species])) {
            kept.append(record);
        }
    }
    QString again;
    const std::optional<ImportPlan> reread =
        spreadsheet::planImport(csvText(savedAsSpreadsheet(plan->records)), listed, again);
    FUZZ_CHECK(reread && again.isEmpty());
    FUZZ_CHECK(reread->records == kept);
    FUZZ_CHECK(reread->alreadyListed + reread->notCounted == plan->records.size() - kept.size());
    FUZZ_CHECK(reread->shortened.isEmpty());
    return 0;
}
