// The zip reader: the CSV file taken out of an eBird download that arrives zipped.
//
// Input: the bytes of the chosen file, as the import reads them.
#include "FuzzInput.h"
#include "exchange/ZipEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const bool archive = zip::isArchive(bytes);
    FUZZ_CHECK(archive == (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06")));

    // The import asks for the download's own name; any other .csv file is taken when it is
    // missing. Both are read here, whatever the bytes start with.
    for (const QString& preferred : {QStringLiteral("MyEBirdData.csv"), QStringLiteral("x")}) {
        QString error = QStringLiteral("not set");
        const std::optional<QByteArray> csv = zip::csvEntry(bytes, preferred, error);
        if (csv) {
            FUZZ_CHECK(error.isEmpty());
            FUZZ_CHECK(csv->size() <= (qsizetype(1) << 30));  // larger entries are refused
        } else {
            FUZZ_CHECK(!error.isEmpty() && error != QLatin1String("not set"));
        }
    }
    return 0;
}
