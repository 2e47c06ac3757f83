#include "images/MetafileParts.h"
#include "images/WmfFonts.h"

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <memory>

// After Qt's headers (see WmfFonts.h).
#include <libwmf/api.h>
#include <libwmf/gd.h>

using namespace Qt::StringLiterals;

namespace metafile {
namespace {

constexpr double kPointsPerInch = 72.0;

// The frame a placeable WMF was made for, in libwmf's device units: points from the window
// origin, which is how libwmf maps a placeable file whose records choose no mapping of their own.
wmfD_Rect placeableFrame(const QByteArray& data, QPointF windowOrigin) {
    const double scale = kPointsPerInch / word(data, kPlaceableUnitsPerInch);
    const double left = (qint16(word(data, 6)) - windowOrigin.x()) * scale;
    const double top = (qint16(word(data, 8)) - windowOrigin.y()) * scale;
    const double right = (qint16(word(data, 10)) - windowOrigin.x()) * scale;
    const double bottom = (qint16(word(data, 12)) - windowOrigin.y()) * scale;
    wmfD_Rect frame{};
    frame.TL.x = float(std::min(left, right));
    frame.TL.y = float(std::min(top, bottom));
    frame.BR.x = float(std::max(left, right));
    frame.BR.y = float(std::max(top, bottom));
    return frame;
}

// libwmf hands the PNG it writes to this, piece by piece.
int appendPng(void* context, char* buffer, int length) {
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

bool overlap(const wmfD_Rect& a, const wmfD_Rect& b) {
    return a.TL.x < b.BR.x && b.TL.x < a.BR.x && a.TL.y < b.BR.y && b.TL.y < a.BR.y;
}

QString wmfFailure(wmf_error_t status) {
    switch (status) {
        case wmf_E_InsMem:
            return u"not enough memory for the metafile"_s;
        case wmf_E_EOF:
            return u"the metafile ends too soon"_s;
        case wmf_E_BadFormat:
            return u"the metafile is damaged"_s;
        default:
            return u"the metafile cannot be drawn"_s;
    }
}

// Plays the metafile opened in `api` into libwmf's gd device. What is drawn is fitted to the frame
// when there is one (and it holds any of the drawing); otherwise to the bounding box of the
// drawing.
QImage playWmf(wmfAPI* api, bool placeable, const wmfD_Rect* frame, double dpiX, double dpiY,
               QString* error) {
    wmfD_Rect drawn{};
    wmf_error_t status = wmf_scan(api, 0, &drawn);
    if (status != wmf_E_None) {
        return failure(error, wmfFailure(status));
    }
    // A placeable file gives its frame and units per inch, and libwmf sizes the picture from them.
    // A plain WMF says neither: it is taken at the size of what it draws, one of libwmf's device
    // units to the point. (libwmf would take them as twips once the drawing is over 1024 × 1024
    // units, which makes a drawing slightly larger than that twenty times smaller.)
    double width = std::round((drawn.BR.x - drawn.TL.x) / kPointsPerInch * dpiX);
    double height = std::round((drawn.BR.y - drawn.TL.y) / kPointsPerInch * dpiY);
    if (placeable) {
        unsigned int placeableWidth = 0;
        unsigned int placeableHeight = 0;
        status = wmf_display_size(api, &placeableWidth, &placeableHeight, dpiX, dpiY);
        width = placeableWidth;
        height = placeableHeight;
    }
    if (status != wmf_E_None) {
        return failure(error, wmfFailure(status));
    }
    if (const QString problem = sizeProblem(width, height); !problem.isEmpty()) {
        return failure(error, problem);
    }

    // The gd device could hand over its image itself, but this libwmf exports nothing that frees
    // it again: it writes a PNG instead, which we collect and read back.
    wmf_gd_t* device = WMF_GD_GetData(api);
    if (!(device->flags & WMF_GD_SUPPORTS_PNG)) {
        return failure(error, u"this libwmf cannot draw metafiles"_s);
    }
    QByteArray png;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendPng;
    device->width = unsigned(width);
    device->height = unsigned(height);
    device->bbox = frame && overlap(*frame, drawn) ? *frame : drawn;
    status = wmf_play(api, 0, &drawn);
    if (status != wmf_E_None) {
        return failure(error, wmfFailure(status));
    }
    // gd starts from opaque white and blends what it draws into it.
    const QImage image = QImage::fromData(png, "PNG");
    if (image.isNull()) {
        return failure(error, wmfFailure(wmf_E_DeviceError));
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QImage renderWmf(const QByteArray& data, double dpiX, double dpiY, QString* error) {
    QPointF windowOrigin;
    bool ownMapping = false;
    if (const QString damage = walkWmf(data, &windowOrigin, &ownMapping); !damage.isEmpty()) {
        return failure(error, damage);
    }
    const bool placeable = isPlaceableWmf(data);
    const wmfD_Rect frame = placeable ? placeableFrame(data, windowOrigin) : wmfD_Rect{};

    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    // libwmf writes its complaints to stderr unless told not to; they come back as a status too.
    unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    addWmfFonts(&options, &flags);
    wmfAPI* created = nullptr;
    const wmf_error_t status = wmf_api_create(&created, flags, &options);
    std::unique_ptr<wmfAPI, decltype(&wmf_api_destroy)> api(created, &wmf_api_destroy);
    if (status != wmf_E_None || !api) {
        return failure(error, wmfFailure(status));
    }
    // libwmf only reads the bytes, though it asks for them without const.
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(data.constData()));
    if (wmf_mem_open(api.get(), bytes, long(data.size())) != wmf_E_None) {
        return failure(error, wmfFailure(wmf_E_BadFile));
    }
    const wmfD_Rect* fitTo = placeable && !ownMapping ? &frame : nullptr;
    QImage image = playWmf(api.get(), placeable, fitTo, dpiX, dpiY, error);
    wmf_mem_close(api.get());
    return image;
}

}  // namespace metafile
