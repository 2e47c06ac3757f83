#include "ExchangeFiles.h"

#include <zlib.h>
#include <QDataStream>
#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

const QString kHeading =
    u"Submission ID,Common Name,Scientific Name,Taxonomic Order,Count,State/Province,County,"
    "Location ID,Location,Latitude,Longitude,Date,Time,Protocol,Duration (Min),"
    "All Obs Reported,Distance Traveled (km),Area Covered (ha),Number of Observers,"
    "Breeding Code,Observation Details,Checklist Comments,ML Catalog Numbers\r\n"_s;

QString row(const QString& common, const QString& scientific, const QString& state,
            const QString& location, const QString& date, const QString& time,
            const QString& details) {
    return u"S1000,%1,%2,100,2,%3,Some County,L1,%4,40.7,-73.9,%5,%6,eBird - Traveling Count,"
           "60,1,1.5,,1,,%7,,\r\n"_s.arg(common, scientific, state, location, date, time, details);
}

namespace {

QByteArray deflated(const QByteArray& data) {
    QByteArray packed(qsizetype(compressBound(uLong(data.size()))) + 64, Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return packed;
}

}  // namespace

QByteArray zipOf(const QList<ZipItem>& items, const QByteArray& comment) {
    QByteArray out;
    QDataStream put(&out, QIODevice::WriteOnly);
    put.setByteOrder(QDataStream::LittleEndian);
    QByteArray directory;
    QDataStream listed(&directory, QIODevice::WriteOnly);
    listed.setByteOrder(QDataStream::LittleEndian);
    for (const ZipItem& item : items) {
        const QByteArray packed = item.deflated ? deflated(item.data) : item.data;
        quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(item.data.constData()),
                                    uInt(item.data.size())));
        if (item.wrongChecksum) {
            crc ^= 1;
        }
        const quint32 size = quint32(item.declaredSize < 0 ? item.data.size() : item.declaredSize);
        const QByteArray name = item.name.toUtf8();
        const quint32 localHeader = quint32(out.size());
        const auto header = [&](QDataStream& to, quint32 signature, bool central) {
            to << signature << quint16(20);
            if (central) {
                to << quint16(20);
            }
            to << quint16(0) << quint16(item.deflated ? 8 : 0) << quint32(0) << crc
               << quint32(packed.size()) << size << quint16(name.size()) << quint16(0);
            if (central) {
                to << quint16(0) << quint16(0) << quint16(0) << quint32(0) << localHeader;
            }
            to.writeRawData(name.constData(), int(name.size()));
        };
        header(put, 0x04034b50, false);
        put.writeRawData(packed.constData(), int(packed.size()));
        header(listed, 0x02014b50, true);
    }
    const quint32 start = quint32(out.size());
    put.writeRawData(directory.constData(), int(directory.size()));
    put << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(items.size())
        << quint16(items.size()) << quint32(directory.size()) << start << quint16(comment.size());
    put.writeRawData(comment.constData(), int(comment.size()));
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
