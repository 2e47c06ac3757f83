#include "images/MetafileParts.h"

#include <QPainter>
#include <QPointF>
#include <QSizeF>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include <emf2svg.h>

using namespace Qt::StringLiterals;

namespace metafile {
namespace {

constexpr quint32 kEmrEof = 14;
constexpr qsizetype kEmfHeaderBytes = 88;  // the header record without its later extensions
// Where the header record keeps its rectangles (left, top, right, bottom) and its sizes (x, y).
constexpr qsizetype kEmfBounds = 8;         // of what is drawn, in the reference device's pixels
constexpr qsizetype kEmfFrame = 24;         // of the picture, in 0.01 mm
constexpr qsizetype kEmfDevicePixels = 72;  // the reference device's size in pixels
constexpr qsizetype kEmfDeviceMm = 80;      // and in millimetres
constexpr double kMm100PerInch = 2540.0;

// Walks the records of an EMF up to its end-of-file record (as WmfPicture.cpp does). The reason the
// file is damaged, or an empty string and in *length the bytes up to the end of that record.
QString emfDamage(const QByteArray& data, qsizetype* length) {
    if (data.size() < kEmfHeaderBytes || !isEmf(data) || dword(data, 4) < kEmfHeaderBytes) {
        return u"the metafile header is incomplete"_s;
    }
    qsizetype at = 0;
    while (data.size() - at >= 8) {
        const quint32 type = dword(data, at);
        const qint64 bytes = dword(data, at + 4);
        if (bytes < 8 || bytes % 4 != 0) {
            return u"a record of the metafile has a wrong length"_s;
        }
        if (bytes > data.size() - at) {
            return u"the metafile ends in the middle of a record"_s;
        }
        at += bytes;
        if (type == kEmrEof) {
            *length = at;
            return {};
        }
    }
    return u"the metafile ends before its last record"_s;
}

// The reference device's pixels per 0.01 mm across and down; zero when the header does not say.
QPointF emfPixelsPerMm100(const QByteArray& data) {
    const double pixelsX = int32(data, kEmfDevicePixels);
    const double pixelsY = int32(data, kEmfDevicePixels + 4);
    const double mmX = int32(data, kEmfDeviceMm);
    const double mmY = int32(data, kEmfDeviceMm + 4);
    if (pixelsX > 0 && pixelsY > 0 && mmX > 0 && mmY > 0) {
        return {pixelsX / (mmX * 100), pixelsY / (mmY * 100)};
    }
    return {};
}

// The size an EMF was made for, in 0.01 mm: its frame, or when the frame is empty its bounds in
// pixels of the device it was made on. Empty when neither says.
QSizeF emfSizeMm100(const QByteArray& data) {
    const double frameWidth = double(int32(data, kEmfFrame + 8)) - int32(data, kEmfFrame);
    const double frameHeight = double(int32(data, kEmfFrame + 12)) - int32(data, kEmfFrame + 4);
    if (frameWidth > 0 && frameHeight > 0) {
        return {frameWidth, frameHeight};
    }
    const double boundsWidth = double(int32(data, kEmfBounds + 8)) - int32(data, kEmfBounds) + 1;
    const double boundsHeight =
        double(int32(data, kEmfBounds + 12)) - int32(data, kEmfBounds + 4) + 1;
    const QPointF perMm100 = emfPixelsPerMm100(data);
    if (boundsWidth > 0 && boundsHeight > 0 && perMm100.x() > 0) {
        return {boundsWidth / perMm100.x(), boundsHeight / perMm100.y()};
    }
    return {};
}

// emf2svg fits the header's bounds (those of what is drawn, in the reference device's pixels) to
// the picture. Setting them to the frame makes it draw the whole frame, margins and all.
void setBoundsToFrame(QByteArray& records) {
    const QPointF perMm100 = emfPixelsPerMm100(records);
    const bool hasFrame = int32(records, kEmfFrame + 8) > int32(records, kEmfFrame) &&
                          int32(records, kEmfFrame + 12) > int32(records, kEmfFrame + 4);
    if (!hasFrame || perMm100.x() <= 0) {
        return;
    }
    for (int side = 0; side < 4; ++side) {
        const double scale = side % 2 == 0 ? perMm100.x() : perMm100.y();
        const double pixels = std::round(int32(records, kEmfFrame + 4 * side) * scale);
        const qint32 clamped = qint32(std::clamp(pixels, -2147483648.0, 2147483647.0));
        qToLittleEndian<qint32>(clamped, records.data() + kEmfBounds + 4 * side);
    }
}

}  // namespace

QImage renderEmf(const QByteArray& data, double dpiX, double dpiY, QString* error) {
    qsizetype length = 0;
    if (const QString damage = emfDamage(data, &length); !damage.isEmpty()) {
        return failure(error, damage);
    }
    const QSizeF mm100 = emfSizeMm100(data);
    if (mm100.isEmpty()) {
        return failure(error, u"the metafile does not give its size"_s);
    }
    const double width = std::round(mm100.width() / kMm100PerInch * dpiX);
    const double height = std::round(mm100.height() / kMm100PerInch * dpiY);
    if (const QString problem = sizeProblem(width, height); !problem.isEmpty()) {
        return failure(error, problem);
    }

    // emf2svg takes the bytes without const: hand it a copy of just the records.
    QByteArray records(data.constData(), length);
    setBoundsToFrame(records);
    char noNamespace[] = "";
    generatorOptions options{};
    options.nameSpace = noNamespace;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = width;
    options.imgHeight = height;
    char* out = nullptr;
    size_t outLength = 0;
    const int converted =
        emf2svg(records.data(), size_t(records.size()), &out, &outLength, &options);
    const std::unique_ptr<char, decltype(&std::free)> svg(out, &std::free);
    if (!converted || !out || outLength == 0) {
        return failure(error, u"the metafile cannot be drawn"_s);
    }

    QSvgRenderer renderer(QByteArray::fromRawData(out, qsizetype(outLength)));
    if (!renderer.isValid()) {
        return failure(error, u"the metafile cannot be drawn"_s);
    }
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull()) {
        return failure(error, u"not enough memory for the metafile"_s);
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

}  // namespace metafile
