#include "images/MetafileParts.h"

#include <QPainter>
#include <QSizeF>
#include <QSvgRenderer>
#include <cmath>
#include <cstdlib>
#include <memory>

#include <emf2svg.h>

using namespace Qt::StringLiterals;

namespace metafile {
namespace {

constexpr double kMm100PerInch = 2540.0;

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
