#include "images/Metafile.h"

#include "images/MetafileParts.h"

#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

// Neither side may be longer than a QPainter draws into.
constexpr double kMaxSide = 32767;
// Beyond any screen or printer; it keeps libwmf's sizes within an unsigned int.
constexpr double kMaxDpi = 10000;

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
