// The zip reader: the CSV file taken out of an eBird download that arrives zipped, read from the
// archive with seeks and unpacked a piece at a time.
//
// Input: the bytes of the chosen file, as the import reads them.
#include "FuzzInput.h"
#include "exchange/ZipEntry.h"

#include <zlib.h>
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = fuzz::bytesOf(data, size);
    const bool archive = zip::isArchive(bytes);
    FUZZ_CHECK(archive == (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06")));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);

    // The import asks for the download's own name; any other .csv file is taken when it is
    // missing. Both are read here, whatever the bytes start with, in small pieces and large.
    for (const QString& preferred : {QStringLiteral("MyEBirdData.csv"), QStringLiteral("x")}) {
        QString error = QStringLiteral("not set");
        const std::optional<zip::Entry> entry = zip::csvEntry(file, preferred, error);
        if (!entry) {
            FUZZ_CHECK(!error.isEmpty() && error != QLatin1String("not set"));
            continue;
        }
        FUZZ_CHECK(error.isEmpty());
        for (const qint64 piece : {qint64(1) + qint64(size % 7), qint64(1) << 20}) {
            QByteArray contents;
            int share = 0;
            error = QStringLiteral("not set");
            const bool read = zip::readEntry(
                file, *entry, piece,
                [&](QByteArrayView bytes, int percent) {
                    FUZZ_CHECK(!bytes.isEmpty() && bytes.size() <= piece);
                    FUZZ_CHECK(percent >= share && percent <= 100);
                    share = percent;
                    contents += bytes;
                    return true;
                },
                error);
            // Never more handed over than the entry declares, and all of it, with its checksum,
            // when it was read.
            FUZZ_CHECK(contents.size() <= entry->size);
            if (read) {
                FUZZ_CHECK(error.isEmpty());
                FUZZ_CHECK(contents.size() == entry->size);
                FUZZ_CHECK(quint32(crc32(0, reinterpret_cast<const Bytef*>(contents.constData()),
                                         uInt(contents.size()))) == entry->crc);
            } else {
                FUZZ_CHECK(!error.isEmpty() && error != QLatin1String("not set"));
            }
        }
    }
    return 0;
}
