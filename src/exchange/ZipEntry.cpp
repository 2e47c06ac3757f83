#include "exchange/ZipEntry.h"

#include <zlib.h>
#include <QList>
#include <QtEndian>

namespace zip {

namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
// Larger entries are refused rather than read into memory.
constexpr qint64 kLargestEntry = qint64(1) << 30;

struct Entry {
    QString name;
    quint16 method = 0;
    quint32 crc = 0;
    quint32 packedSize = 0;
    quint32 size = 0;
    quint32 localHeader = 0;
};

// Little-endian numbers at `at`; false when the archive is too short for them.
struct Reader {
    const QByteArray& bytes;
    bool fits(qint64 at, qint64 length) const {
        return at >= 0 && length >= 0 && at + length <= bytes.size();
    }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(bytes.constData() + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(bytes.constData() + at); }
};

std::optional<QList<Entry>> directory(const Reader& in) {
    // The end record is the last thing in the file, followed by a comment of at most 64 KiB.
    qint64 end = in.bytes.size() - 22;
    const qint64 lowest = std::max<qint64>(0, end - 0xFFFF);
    while (end >= lowest && in.u32(end) != kEndOfDirectory) {
        --end;
    }
    if (end < lowest || !in.fits(end, 22)) {
        return std::nullopt;
    }
    const int count = in.u16(end + 10);
    qint64 at = in.u32(end + 16);
    QList<Entry> entries;
    for (int i = 0; i < count; ++i) {
        if (!in.fits(at, 46) || in.u32(at) != kDirectoryEntry) {
            return std::nullopt;
        }
        const int nameLength = in.u16(at + 28);
        const qint64 next = at + 46 + nameLength + in.u16(at + 30) + in.u16(at + 32);
        if (!in.fits(at + 46, nameLength)) {
            return std::nullopt;
        }
        entries.append({QString::fromUtf8(in.bytes.mid(at + 46, nameLength)), in.u16(at + 10),
                        in.u32(at + 16), in.u32(at + 20), in.u32(at + 24), in.u32(at + 42)});
        at = next;
    }
    return entries;
}

std::optional<QByteArray> inflated(const QByteArray& packed, qint64 size) {
    QByteArray out(size, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == uLong(size);
    inflateEnd(&stream);
    return whole ? std::optional<QByteArray>(out) : std::nullopt;
}

std::optional<QByteArray> contents(const Reader& in, const Entry& entry, QString& error) {
    error = QStringLiteral("The entry %1 of the zip file is damaged.").arg(entry.name);
    const qint64 header = entry.localHeader;
    if (!in.fits(header, 30) || in.u32(header) != kLocalHeader) {
        return std::nullopt;
    }
    const qint64 start = header + 30 + in.u16(header + 26) + in.u16(header + 28);
    if (!in.fits(start, entry.packedSize) || entry.size > kLargestEntry) {
        return std::nullopt;
    }
    const QByteArray packed = in.bytes.mid(start, entry.packedSize);
    std::optional<QByteArray> data;
    if (entry.method == 0) {
        data = packed;
    } else if (entry.method == Z_DEFLATED) {
        data = inflated(packed, entry.size);
    } else {
        error = QStringLiteral(
                    "The entry %1 of the zip file is packed in a way Plovix cannot "
                    "read; unpack the zip file and choose the CSV file in it.")
                    .arg(entry.name);
        return std::nullopt;
    }
    const auto crc = [](const QByteArray& bytes) {
        return quint32(
            crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
    };
    if (!data || crc(*data) != entry.crc) {
        return std::nullopt;
    }
    error.clear();
    return data;
}

}  // namespace

bool isArchive(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayLiteral("PK\x03\x04")) ||
           bytes.startsWith(QByteArrayLiteral("PK\x05\x06"));
}

std::optional<QByteArray> csvEntry(const QByteArray& archive, const QString& preferred,
                                   QString& error) {
    const Reader in{archive};
    const std::optional<QList<Entry>> entries = directory(in);
    if (!entries) {
        error = QStringLiteral("The zip file is damaged or incomplete.");
        return std::nullopt;
    }
    const Entry* chosen = nullptr;
    for (const Entry& entry : *entries) {
        const QString base = entry.name.section(u'/', -1);
        if (base.compare(preferred, Qt::CaseInsensitive) == 0) {
            chosen = &entry;
            break;
        }
        if (!chosen && base.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            chosen = &entry;
        }
    }
    if (!chosen) {
        error = QStringLiteral("The zip file holds no CSV file.");
        return std::nullopt;
    }
    return contents(in, *chosen, error);
}

}  // namespace zip
