#include "images/PictureFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace picturefiles {
namespace {

constexpr int kUnitsPerInch = 1440;  // of the WMF
constexpr int kMm100PerInch = 2540;  // the EMF's frame is in 0.01 mm
constexpr int kEmfPixelsPerMm = 10;  // of the device the EMF says it was made on

QImage solidImage() {
    QImage image(kRasterSize, QImage::Format_RGB32);
    image.fill(kColour);
    return image;
}

quint32 colorRef() {
    return quint32(kColour.red()) | quint32(kColour.green()) << 8 | quint32(kColour.blue()) << 16;
}

// The pixels are all colour 0 of a two-colour table, in 3-bit LZW codes; a clear code before every
// second pixel keeps the decoder's table too small to widen them. Sixteen pixels, (clear, 0, 0)
// eight times packed from the lowest bit up, fill exactly nine bytes; the end code follows.
QByteArray gifBytes() {
    const quint16 width = kRasterSize.width();
    const quint16 height = kRasterSize.height();
    static_assert(kRasterSize.width() * kRasterSize.height() % 16 == 0);
    const QByteArray lzw =
        QByteArray("\x04\x08\x10\x20\x40\x80\x00\x01\x02", 9).repeated(width * height / 16) +
        '\x05';
    static_assert(kRasterSize.width() * kRasterSize.height() / 16 * 9 + 1 <= 255);  // one block

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("GIF89a", 6);
    out << width << height << quint8(0x80) << quint8(0) << quint8(0);
    out << quint8(kColour.red()) << quint8(kColour.green()) << quint8(kColour.blue());
    out << quint8(0) << quint8(0) << quint8(0);
    out << quint8(0x2C) << quint16(0) << quint16(0) << width << height << quint8(0);
    out << quint8(2) << quint8(lzw.size());  // the LZW minimum code size, the block's length
    out.writeRawData(lzw.constData(), int(lzw.size()));
    out << quint8(0) << quint8(0x3B);
    return bytes;
}

// A WMF record: its length in words, its function and its parameters.
void wmfRecord(QDataStream& out, quint16 function, std::initializer_list<qint16> parameters) {
    out << quint32(3 + parameters.size()) << function;
    for (qint16 parameter : parameters) {
        out << parameter;
    }
}

// A placeable WMF: no pen, a solid brush, and a rectangle over all but the left quarter.
QByteArray wmfBytes() {
    const qint16 width = qint16(kMetafileInches.width() * kUnitsPerInch);
    const qint16 height = qint16(kMetafileInches.height() * kUnitsPerInch);
    QByteArray records;
    QDataStream out(&records, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    wmfRecord(out, 0x020B, {0, 0});                                                // window org
    wmfRecord(out, 0x020C, {height, width});                                       // window ext
    wmfRecord(out, 0x02FA, {5, 0, 0, 0, 0});                                       // null pen
    wmfRecord(out, 0x012D, {0});                                                   // select it
    wmfRecord(out, 0x02FC, {0, qint16(colorRef()), qint16(colorRef() >> 16), 0});  // brush
    wmfRecord(out, 0x012D, {1});                                                   // select it
    wmfRecord(out, 0x041B, {height, width, 0, qint16(width / 4)});                 // rectangle
    wmfRecord(out, 0x0000, {});                                                    // end

    QByteArray bytes;
    QDataStream file(&bytes, QIODevice::WriteOnly);
    file.setByteOrder(QDataStream::LittleEndian);
    file << quint32(0x9AC6CDD7) << quint16(0) << qint16(0) << qint16(0) << width << height
         << quint16(kUnitsPerInch) << quint32(0);
    quint16 checksum = 0;
    for (int at = 0; at < 20; at += 2) {
        checksum ^= qFromLittleEndian<quint16>(bytes.constData() + at);
    }
    file << checksum;
    file << quint16(1) << quint16(9) << quint16(0x0300) << quint32(9 + records.size() / 2)
         << quint16(2) << quint32(8) << quint16(0);
    file.writeRawData(records.constData(), int(records.size()));
    return bytes;
}

void emfRecord(QDataStream& out, quint32 type, std::initializer_list<qint32> parameters) {
    out << type << quint32(8 + 4 * parameters.size());
    for (qint32 parameter : parameters) {
        out << parameter;
    }
}

// An EMF: a solid brush, no pen, and a rectangle over all but the left quarter of the frame.
QByteArray emfBytes() {
    const qint32 width = qint32(kMetafileInches.width() * kMm100PerInch);
    const qint32 height = qint32(kMetafileInches.height() * kMm100PerInch);
    const qint32 pixelsWide = width * kEmfPixelsPerMm / 100;
    const qint32 pixelsHigh = height * kEmfPixelsPerMm / 100;
    const qint32 deviceMm = 200;
    const qint32 devicePixels = deviceMm * kEmfPixelsPerMm;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // The header record. Its bounds are those of what is drawn, inside the frame, as a program
    // writing EMF gives them; the file's length is filled in at the end.
    out << quint32(1) << quint32(108) << pixelsWide / 4 << 0 << pixelsWide - 1 << pixelsHigh - 1;
    out << 0 << 0 << width << height << quint32(0x464D4520) << 0x10000 << 0 << 6;     // 6 records
    out << 2 << 0 << 0 << 0 << devicePixels << devicePixels << deviceMm << deviceMm;  // 2 handles
    out << 0 << 0 << 0 << deviceMm * 1000 << deviceMm * 1000;
    emfRecord(out, 39, {1, 0, qint32(colorRef()), 0});                // solid brush
    emfRecord(out, 37, {1});                                          // select it
    emfRecord(out, 37, {qint32(0x80000008)});                         // the stock null pen
    emfRecord(out, 43, {pixelsWide / 4, 0, pixelsWide, pixelsHigh});  // rectangle
    emfRecord(out, 14, {0, 16, 20});                                  // end
    qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + 48);
    return bytes;
}

// The solid picture in one of the formats Qt writes; empty when it cannot.
QByteArray qtBytes(const QByteArray& format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return solidImage().save(&buffer, format.constData()) ? bytes : QByteArray();
}

}  // namespace

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QStringList formats() {
    return {u"jpg"_s, u"gif"_s, u"bmp"_s, u"dib"_s, u"ico"_s,
            u"wmf"_s, u"emf"_s, u"png"_s, u"tif"_s, u"webp"_s};
}

QString writePicture(const QString& folder, const QString& format) {
    QByteArray bytes;
    if (format == u"gif"_s) {
        bytes = gifBytes();
    } else if (format == u"wmf"_s) {
        bytes = wmfBytes();
    } else if (format == u"emf"_s) {
        bytes = emfBytes();
    } else {
        // A DIB file is a BMP by another name.
        bytes = qtBytes(format == u"dib"_s ? "bmp" : format.toLatin1());
    }
    return bytes.isEmpty() ? QString() : writeFile(folder + u"/picture."_s + format, bytes);
}

}  // namespace picturefiles
