#include "exchange/ZipEntry.h"

#include <zlib.h>
#include <QIODevice>
#include <QtEndian>

namespace zip {

namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr qint64 kEndRecord = 22;
constexpr qint64 kLongestComment = 0xFFFF;
constexpr qint64 kZip64 = 0xFFFFFFFF;  // a size or place given in a Zip64 record instead

quint16 u16(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// `length` bytes from `at`; fewer when the archive ends before them.
QByteArray bytesAt(QIODevice& archive, qint64 at, qint64 length) {
    if (at < 0 || !archive.seek(at)) {
        return {};
    }
    return archive.read(length);
}

QString damaged(const Entry& entry) {
    return QStringLiteral("The entry %1 of the zip file is damaged.").arg(entry.name);
}

QString packedOtherwise(const Entry& entry) {
    return QStringLiteral(
               "The entry %1 of the zip file is packed in a way Plovix cannot read; unpack the "
               "zip file and choose the CSV file in it.")
        .arg(entry.name);
}

int shareRead(const Entry& entry, qint64 packedLeft) {
    return entry.packedSize > 0 ? int((entry.packedSize - packedLeft) * 100 / entry.packedSize)
                                : 100;
}

// Reads the packed bytes and hands them over unpacked; false with `error` set on a failure.
class Unpacker {
public:
    Unpacker(QIODevice& archive, const Entry& entry, qint64 pieceSize, QString& error)
        : m_archive(archive),
          m_entry(entry),
          m_piece(pieceSize),
          m_error(error),
          m_left(entry.packedSize) {}

    // Hands `bytes` over unless they take the entry past its declared size.
    bool give(QByteArrayView bytes, const std::function<bool(QByteArrayView, int)>& take,
              bool& more) {
        if (bytes.size() > m_entry.size - m_given) {
            m_error = QStringLiteral(
                          "The zip file is damaged or not what it claims: its entry %1 unpacks "
                          "to more than the %2 bytes it declares.")
                          .arg(m_entry.name)
                          .arg(m_entry.size);
            return false;
        }
        m_given += bytes.size();
        m_crc = crc32(m_crc, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
        more = bytes.isEmpty() || take(bytes, shareRead(m_entry, m_left));
        return true;
    }

    // The next packed bytes into `buffer`; false when the archive has none left to give.
    bool readPacked(QByteArray& buffer) {
        const qint64 length = std::min(m_piece, m_left);
        buffer.resize(length);
        const qint64 read = length > 0 ? m_archive.read(buffer.data(), length) : 0;
        if (read <= 0) {
            m_error = read < 0 ? m_archive.errorString() : damaged(m_entry);
            return false;
        }
        buffer.resize(read);
        m_left -= read;
        return true;
    }

    bool stored(const std::function<bool(QByteArrayView, int)>& take) {
        QByteArray buffer;
        bool more = true;
        while (m_left > 0 && more) {
            if (!readPacked(buffer) || !give(buffer, take, more)) {
                return false;
            }
        }
        return !more || whole();
    }

    bool deflated(const std::function<bool(QByteArrayView, int)>& take) {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            m_error = damaged(m_entry);
            return false;
        }
        QByteArray in;
        QByteArray out(m_piece, Qt::Uninitialized);
        bool more = true;
        bool ok = true;
        int result = Z_OK;
        while (ok && more && result != Z_STREAM_END) {
            if (stream.avail_in == 0) {
                if (!readPacked(in)) {
                    ok = false;
                    break;
                }
                stream.next_in = reinterpret_cast<Bytef*>(in.data());
                stream.avail_in = uInt(in.size());
            }
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = uInt(out.size());
            result = inflate(&stream, Z_NO_FLUSH);
            const qint64 produced = out.size() - qint64(stream.avail_out);
            if (result != Z_OK && result != Z_STREAM_END &&
                (result != Z_BUF_ERROR || stream.avail_in > 0)) {
                m_error = damaged(m_entry);
                ok = false;
            } else {
                ok = give(QByteArrayView(out.constData(), produced), take, more);
            }
        }
        inflateEnd(&stream);
        return ok && (!more || whole());
    }

private:
    // The whole entry was read: as long as declared, with its checksum.
    bool whole() {
        if (m_given != m_entry.size || m_crc != m_entry.crc) {
            m_error = damaged(m_entry);
            return false;
        }
        return true;
    }

    QIODevice& m_archive;
    const Entry& m_entry;
    qint64 m_piece;
    QString& m_error;
    qint64 m_left;  // packed bytes not read yet
    qint64 m_given = 0;
    uLong m_crc = crc32(0, nullptr, 0);
};

}  // namespace

bool isArchive(const QByteArray& start) {
    return start.startsWith(QByteArrayLiteral("PK\x03\x04")) ||
           start.startsWith(QByteArrayLiteral("PK\x05\x06"));
}

std::optional<Entry> csvEntry(QIODevice& archive, const QString& preferred, QString& error) {
    error = QStringLiteral("The zip file is damaged or incomplete.");
    // The end record is the last thing in the file, followed by a comment of at most 64 KiB.
    const qint64 size = archive.size();
    const qint64 tailStart = std::max<qint64>(0, size - kEndRecord - kLongestComment);
    const QByteArray tail = bytesAt(archive, tailStart, size - tailStart);
    qint64 end = tail.size() - kEndRecord;
    while (end >= 0 && u32(tail, end) != kEndOfDirectory) {
        --end;
    }
    if (end < 0) {
        return std::nullopt;
    }
    const int count = u16(tail, end + 10);
    qint64 at = u32(tail, end + 16);
    std::optional<Entry> chosen;
    for (int i = 0; i < count; ++i) {
        const QByteArray header = bytesAt(archive, at, 46);
        if (header.size() < 46 || u32(header, 0) != kDirectoryEntry) {
            return std::nullopt;
        }
        const int nameLength = u16(header, 28);
        const QByteArray name = archive.read(nameLength);
        if (name.size() < nameLength) {
            return std::nullopt;
        }
        const Entry entry{QString::fromUtf8(name), u16(header, 10), u32(header, 16),
                          u32(header, 20),         u32(header, 24), u32(header, 42)};
        at += 46 + nameLength + u16(header, 30) + u16(header, 32);
        const QString base = entry.name.section(u'/', -1);
        if (base.compare(preferred, Qt::CaseInsensitive) == 0) {
            chosen = entry;
            break;
        }
        if (!chosen && base.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            chosen = entry;
        }
    }
    if (!chosen) {
        error = QStringLiteral("The zip file holds no CSV file.");
        return std::nullopt;
    }
    if (chosen->size == kZip64 || chosen->packedSize == kZip64 || chosen->localHeader == kZip64) {
        error = packedOtherwise(*chosen);  // its sizes are in a Zip64 record
        return std::nullopt;
    }
    error.clear();
    return chosen;
}

bool readEntry(QIODevice& archive, const Entry& entry, qint64 pieceSize,
               const std::function<bool(QByteArrayView, int)>& take, QString& error) {
    error.clear();
    const QByteArray header = bytesAt(archive, entry.localHeader, 30);
    if (header.size() < 30 || u32(header, 0) != kLocalHeader) {
        error = damaged(entry);
        return false;
    }
    const qint64 start = entry.localHeader + 30 + u16(header, 26) + u16(header, 28);
    if (start + entry.packedSize > archive.size() || !archive.seek(start)) {
        error = damaged(entry);
        return false;
    }
    Unpacker unpacker(archive, entry, std::max<qint64>(1, pieceSize), error);
    if (entry.method == 0) {
        return unpacker.stored(take);
    }
    if (entry.method == Z_DEFLATED) {
        return unpacker.deflated(take);
    }
    error = packedOtherwise(entry);
    return false;
}

}  // namespace zip
