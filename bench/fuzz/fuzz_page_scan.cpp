// The page scanner: the last way a salvage finds the sightings of a damaged life list, reading
// the records of the Bird List straight from the file's pages when its list of tables, or a page
// on the way to the sightings, is lost.
//
// Input: the bytes of the damaged file.
#include "FuzzInput.h"
#include "database/PageScan.h"
#include "database/Schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// In memory where the system has a folder for it, as for the settings file's target.
QString scratchTemplate() {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/plovix-fuzz-XXXXXX");
}

const QString& lifeListPath() {
    static QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("Bird List.mdb"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder for the life list\n");
        std::abort();
    }
    return path;
}

void writeLifeList(const QByteArray& bytes) {
    QFile file(lifeListPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(lifeListPath()));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lifeListPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeLifeList(fuzz::bytesOf(data, size));
    // The key Number and the fields after it, as the salvage asks for them.
    const int columns = 1 + int(lifelist::birdListFields().size());
    const QList<ScannedRecord> records = scanRecords(lifeListPath(), columns);

    // Each rowid once, in order; every record with the fields the salvage saves, each a text or
    // Null, as the salvage's insert takes them. A text is whole: one that could not be decoded
    // is Null.
    for (qsizetype i = 0; i < records.size(); ++i) {
        FUZZ_CHECK(i == 0 || records[i - 1].rowid < records[i].rowid);
        FUZZ_CHECK(records[i].values.size() == columns - 1);
        for (const QVariant& value : records[i].values) {
            FUZZ_CHECK(!value.isValid() || value.typeId() == QMetaType::QString);
            FUZZ_CHECK(!value.isValid() || value.toString().isValidUtf16());
        }
    }
    return 0;
}
