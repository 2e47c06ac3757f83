#include "database/PageScan.h"

#include <QFile>
#include <QStringDecoder>
#include <map>
#include <optional>

namespace {

constexpr int kHeaderSize = 100;
constexpr quint8 kTableLeaf = 0x0D;
// What the scan may take of the file's bytes for records: sixteen times its size, and 1 MB more.
// A sound file is taken about once over, as each cell and each overflow page belongs to one
// record. A damaged page can point any number of cells at the same bytes, or many records at one
// long chain of overflow pages: the rest of such a file is given up on once the budget is spent,
// instead of being read over and over for hours.
constexpr qint64 kBudgetPerByte = 16;
constexpr qint64 kLeastBudget = 1 << 20;

// A variable-length whole number of the file format at `at`, which moves past it; nothing when
// it would run past `end`.
std::optional<quint64> readVarint(const QByteArray& bytes, qsizetype& at, qsizetype end) {
    quint64 value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at >= end) {
            return std::nullopt;
        }
        const quint8 byte = quint8(bytes[at++]);
        if (i == 8) {
            return (value << 8) | byte;
        }
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80)) {
            return value;
        }
    }
    return std::nullopt;
}

class Pages {
public:
    explicit Pages(QByteArray file)
        : m_file(std::move(file)), m_budget(kLeastBudget + kBudgetPerByte * m_file.size()) {
        // The page size and reserved bytes from the file header, or the usual 4096 and none
        // when the header is lost.
        const bool header =
            m_file.size() >= kHeaderSize && m_file.startsWith(QByteArray("SQLite format 3", 16));
        const int stored = header ? be16(16) : 0;
        const int size = stored == 1 ? 65536 : stored;
        if (size >= 512 && size <= 65536 && (size & (size - 1)) == 0) {
            m_pageSize = size;
            const int reserved = quint8(m_file[20]);
            m_usable = m_pageSize - (reserved < m_pageSize - 480 ? reserved : 0);
        }
    }

    int pageCount() const { return int(m_file.size() / m_pageSize); }
    int usable() const { return m_usable; }

    // Records of every table leaf page, until the budget is spent.
    void scan(int columnCount, std::map<qint64, QVariantList>& records) {
        for (int page = 1; page <= pageCount() && m_budget > 0; ++page) {
            const qsizetype start = qsizetype(page - 1) * m_pageSize;
            const qsizetype header = start + (page == 1 ? kHeaderSize : 0);
            if (quint8(m_file[header]) != kTableLeaf) {
                continue;
            }
            const int cells = be16(header + 3);
            for (int i = 0; i < cells; ++i) {
                const qsizetype pointer = header + 8 + 2 * i;
                if (pointer + 2 > start + m_pageSize) {
                    break;
                }
                const qsizetype cell = start + be16(pointer);
                if (cell < header + 8 || cell >= start + m_usable) {
                    continue;
                }
                readCell(cell, start + m_usable, columnCount, records);
            }
        }
    }

private:
    int be16(qsizetype at) const { return (quint8(m_file[at]) << 8) | quint8(m_file[at + 1]); }
    quint32 be32(qsizetype at) const { return (quint32(be16(at)) << 16) | quint32(be16(at + 2)); }

    // Takes `bytes` from the budget; false once it is spent.
    bool spend(qint64 bytes) {
        m_budget -= bytes;
        return m_budget >= 0;
    }

    // The payload of a cell, with what stands on its overflow pages.
    std::optional<QByteArray> payload(qsizetype at, qsizetype end, quint64 size) {
        const qint64 x = m_usable - 35;
        qint64 local = qint64(size);
        if (qint64(size) > x) {
            const qint64 m = ((m_usable - 12) * 32 / 255) - 23;
            const qint64 k = m + ((qint64(size) - m) % (m_usable - 4));
            local = k <= x ? k : m;
        }
        if (at + local > end || !spend(local)) {
            return std::nullopt;
        }
        QByteArray bytes = m_file.mid(at, local);
        if (quint64(local) == size) {
            return bytes;
        }
        if (at + local + 4 > end) {
            return std::nullopt;
        }
        quint32 next = be32(at + local);
        int hops = 0;
        while (quint64(bytes.size()) < size) {
            if (next < 2 || qint64(next) > pageCount() || ++hops > pageCount()) {
                return std::nullopt;
            }
            const qsizetype page = qsizetype(next - 1) * m_pageSize;
            const qsizetype take =
                std::min<qsizetype>(m_usable - 4, qsizetype(size) - bytes.size());
            if (!spend(take)) {
                return std::nullopt;
            }
            bytes += m_file.mid(page + 4, take);
            next = be32(page);
        }
        return bytes;
    }

    void readCell(qsizetype at, qsizetype end, int columnCount,
                  std::map<qint64, QVariantList>& records) {
        const auto size = readVarint(m_file, at, end);
        const auto rowid = readVarint(m_file, at, end);
        if (!size || !rowid || *size == 0 || *size > quint64(1) << 30) {
            return;
        }
        const auto bytes = payload(at, end, *size);
        if (!bytes) {
            return;
        }
        if (auto values = decodeRecord(*bytes, columnCount)) {
            records.emplace(qint64(*rowid), std::move(*values));
        }
    }

    static std::optional<QVariantList> decodeRecord(const QByteArray& record, int columnCount) {
        qsizetype at = 0;
        const auto headerSize = readVarint(record, at, record.size());
        if (!headerSize || *headerSize > quint64(record.size())) {
            return std::nullopt;
        }
        QList<quint64> types;
        while (at < qsizetype(*headerSize)) {
            const auto type = readVarint(record, at, qsizetype(*headerSize));
            if (!type) {
                return std::nullopt;
            }
            types.append(*type);
        }
        if (types.size() != columnCount || types[0] != 0) {
            return std::nullopt;
        }
        QVariantList values;
        qsizetype body = qsizetype(*headerSize);
        for (int i = 1; i < types.size(); ++i) {
            const quint64 type = types[i];
            if (type == 0) {
                values.append(QVariant());
            } else if (type >= 1 && type <= 6) {
                static const int widths[] = {0, 1, 2, 3, 4, 6, 8};
                const int width = widths[type];
                if (body + width > record.size()) {
                    return std::nullopt;
                }
                qint64 number = qint8(record[body]);
                for (int b = 1; b < width; ++b) {
                    number = (number << 8) | quint8(record[body + b]);
                }
                body += width;
                values.append(QString::number(number));
            } else if (type == 8 || type == 9) {
                values.append(QString::number(type - 8));
            } else if (type >= 13 && type % 2 == 1) {
                // Against what is left of the record: a damaged header can give a length near
                // 2^63, past any sum.
                if ((type - 13) / 2 > quint64(record.size() - body)) {
                    return std::nullopt;
                }
                const qsizetype length = qsizetype((type - 13) / 2);
                QStringDecoder decoder(QStringDecoder::Utf8);
                const QString text = decoder(record.mid(body, length));
                body += length;
                // A text that is not valid is left empty; the rest of the record is kept.
                values.append(decoder.hasError() ? QVariant() : QVariant(text));
            } else {
                return std::nullopt;  // reals and blobs have no place in a life list
            }
        }
        return values;
    }

    QByteArray m_file;
    int m_pageSize = 4096;
    int m_usable = 4096;
    qint64 m_budget;
};

}  // namespace

QList<ScannedRecord> scanRecords(const QString& path, int columnCount) {
    QFile file(path);
    if (columnCount < 1 || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    Pages pages(file.readAll());
    std::map<qint64, QVariantList> found;
    pages.scan(columnCount, found);
    QList<ScannedRecord> records;
    for (auto& [rowid, values] : found) {
        records.append({rowid, std::move(values)});
    }
    return records;
}
