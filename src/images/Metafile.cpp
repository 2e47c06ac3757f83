#include "images/Metafile.h"

#include "images/MetafileParts.h"

#include <QImageReader>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Neither side may be longer than a QPainter draws into.
constexpr double kMaxSide = 32767;
// Beyond any screen or printer; it keeps libwmf's sizes within an unsigned int.
constexpr double kMaxDpi = 10000;

constexpr qsizetype kWmfRecordHeaderBytes = 6;
constexpr quint16 kWmfEof = 0x0000;
constexpr quint16 kWmfSetMapMode = 0x0103;
constexpr quint16 kWmfSetWindowOrg = 0x020B;
constexpr quint16 kWmfSetWindowExt = 0x020C;

constexpr quint32 kEmrEof = 14;
constexpr qsizetype kEmfHeaderBytes = 88;   // the header record without its later extensions
constexpr qsizetype kEmfDevicePixels = 72;  // the reference device's size in pixels (x, y)
constexpr qsizetype kEmfDeviceMm = 80;      // and in millimetres

}  // namespace

namespace metafile {

QImage failure(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return {};
}

// The same memory limit as QImageReader sets for raster pictures.
QString sizeProblem(double width, double height) {
    if (!(width >= 1 && height >= 1)) {
        return u"the metafile has no size"_s;
    }
    const double limitMb = QImageReader::allocationLimit();
    if (width > kMaxSide || height > kMaxSide ||
        (limitMb > 0 && width * height * 4 > limitMb * 1024 * 1024)) {
        return u"the metafile is too large to draw"_s;
    }
    return {};
}

QString walkWmf(const QByteArray& data, QPointF* windowOrigin, bool* ownMapping) {
    qsizetype at = isPlaceableWmf(data) ? kPlaceableHeaderBytes : 0;
    if (!isStandardWmf(data, at) || data.size() < at + kWmfHeaderBytes) {
        return u"the metafile header is incomplete"_s;
    }
    if (at > 0 && word(data, kPlaceableUnitsPerInch) == 0) {
        return u"the metafile does not give its units per inch"_s;
    }
    bool originSet = false;
    at += kWmfHeaderBytes;
    while (data.size() - at >= kWmfRecordHeaderBytes) {
        const qint64 bytes = qint64(dword(data, at)) * 2;
        if (bytes < kWmfRecordHeaderBytes) {
            return u"a record of the metafile has no length"_s;
        }
        if (bytes > data.size() - at) {
            return u"the metafile ends in the middle of a record"_s;
        }
        const quint16 function = word(data, at + 4);
        const bool twoParameters = bytes >= kWmfRecordHeaderBytes + 4;
        if (function == kWmfEof) {
            return {};
        }
        if (function == kWmfSetMapMode) {
            *ownMapping = true;
        } else if (function == kWmfSetWindowExt && twoParameters) {
            *ownMapping =
                *ownMapping || qint16(word(data, at + 6)) < 0 || qint16(word(data, at + 8)) < 0;
        } else if (function == kWmfSetWindowOrg && twoParameters && !originSet) {
            // y comes before x
            *windowOrigin = QPointF(qint16(word(data, at + 8)), qint16(word(data, at + 6)));
            originSet = true;
        }
        at += bytes;
    }
    return u"the metafile ends before its last record"_s;
}

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

}  // namespace metafile

bool isMetafile(const QByteArray& head) {
    using namespace metafile;
    return isPlaceableWmf(head) || isStandardWmf(head, 0) || isEmf(head);
}

QImage renderMetafile(const QByteArray& data, double dpiX, double dpiY, QString* error) {
    using namespace metafile;
    if (!(dpiX > 0 && dpiX <= kMaxDpi && dpiY > 0 && dpiY <= kMaxDpi)) {
        return failure(error, u"no resolution to draw the metafile at"_s);
    }
    if (isEmf(data)) {
        return renderEmf(data, dpiX, dpiY, error);
    }
    if (isPlaceableWmf(data) || isStandardWmf(data, 0)) {
        return renderWmf(data, dpiX, dpiY, error);
    }
    return failure(error, u"not a metafile"_s);
}
