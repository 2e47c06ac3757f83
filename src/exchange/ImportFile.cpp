#include "exchange/ImportFile.h"

#include "database/CsvStream.h"
#include "exchange/ZipEntry.h"

#include <QFile>

namespace {

// The entry of an eBird download's zip archive.
const QString kDownloadName = QStringLiteral("MyEBirdData.csv");

qint64 megabytes(qint64 bytes) {
    return (bytes + (qint64(1) << 20) - 1) >> 20;
}

QString tooLarge(const QString& what, qint64 bytes) {
    return QStringLiteral("%1 %2 MB of text, more than the %3 MB Plovix can import at once.")
        .arg(what)
        .arg(megabytes(bytes))
        .arg(megabytes(ImportFile::kLargestText));
}

}  // namespace

ImportFile::ImportFile(QString path, qint64 pieceSize)
    : m_path(std::move(path)), m_pieceSize(std::max<qint64>(1, pieceSize)) {}

bool ImportFile::readInto(CsvStream& stream, QString& error,
                          const std::function<bool(int)>& progress) const {
    bool stopped = false;
    const auto report = [&](int percent) {
        stopped = stopped || (progress && !progress(percent));
        return !stopped;
    };
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (zip::isArchive(file.peek(4))) {
        const std::optional<zip::Entry> entry = zip::csvEntry(file, kDownloadName, error);
        if (!entry) {
            return false;
        }
        if (entry->size > kLargestText) {
            error = tooLarge(QStringLiteral("The CSV file in it, %1, holds").arg(entry->name),
                             entry->size);
            return false;
        }
        const bool read = zip::readEntry(
            file, *entry, m_pieceSize,
            [&](QByteArrayView bytes, int percent) {
                return stream.addBytes(bytes) && report(percent);
            },
            error);
        if (stopped) {
            error.clear();
            return false;
        }
        return read && report(100);  // the packed bytes after the last that gave text
    }
    const qint64 size = file.size();
    if (size > kLargestText) {
        error = tooLarge(QStringLiteral("It holds"), size);
        return false;
    }
    QByteArray piece(m_pieceSize, Qt::Uninitialized);
    qint64 read = 0;
    while (true) {
        const qint64 length = file.read(piece.data(), m_pieceSize);
        if (length < 0 || file.error() != QFileDevice::NoError) {
            error = file.errorString();
            return false;
        }
        if (length == 0) {
            return true;
        }
        read += length;
        // What the size did not tell: a file that grows while it is read, or a device.
        if (read > kLargestText) {
            error =
                QStringLiteral("It holds more than the %1 MB of text Plovix can import at once.")
                    .arg(megabytes(kLargestText));
            return false;
        }
        if (!stream.addBytes(QByteArrayView(piece.constData(), length))) {
            return true;
        }
        if (!report(size > 0 ? int(std::min<qint64>(100, read * 100 / size)) : 100)) {
            error.clear();
            return false;
        }
    }
}
