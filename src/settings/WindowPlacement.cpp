#include "settings/WindowPlacement.h"

#include "settings/CRegSettings.h"

#include <QLocale>
#include <QPointF>
#include <QSizeF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kSection = QStringLiteral("Position");

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

qint32 toInt32(double value) {
    const double whole = roundHalfEven(value);
    return static_cast<qint32>(std::clamp(whole, double(std::numeric_limits<qint32>::min()),
                                          double(std::numeric_limits<qint32>::max())));
}

QString numberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// Whether a window of the given place and size (in twips) shows enough of itself on some
// screen to be grabbed: at least 48 by 48 pixels, or all of it if it is smaller than that.
bool onSomeScreen(QPointF topLeftTwips, QSizeF sizeTwips, const PlacementEnvironment& env) {
    const double left = topLeftTwips.x() / env.twipsPerPixelX;
    const double top = topLeftTwips.y() / env.twipsPerPixelY;
    const double width = sizeTwips.width() / env.twipsPerPixelX;
    const double height = sizeTwips.height() / env.twipsPerPixelY;
    const double needX = std::clamp(width, 0.0, 48.0);
    const double needY = std::clamp(height, 0.0, 48.0);
    for (const QRect& screen : env.screens) {
        const double overlapX = std::min(left + width, double(screen.x() + screen.width())) -
                                std::max(left, double(screen.x()));
        const double overlapY = std::min(top + height, double(screen.y() + screen.height())) -
                                std::max(top, double(screen.y()));
        if (overlapX >= needX && overlapY >= needY)
            return true;
    }
    return false;
}

}  // namespace

std::optional<qint16> toInteger16(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = roundHalfEven(value);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(whole);
}

QPointF centredPosition(QSizeF formSizeTwips, const PlacementEnvironment& env) {
    // With no screen known, the work area stands in for the primary screen.
    const QRect primary = env.screens.isEmpty() ? env.workArea : env.screens.first();
    const double workWidth = roundHalfEven(env.workArea.width() * env.twipsPerPixelX);
    const double workHeight = roundHalfEven(env.workArea.height() * env.twipsPerPixelY);
    const double screenWidth = primary.width() * env.twipsPerPixelX;
    const double screenHeight = primary.height() * env.twipsPerPixelY;

    const double width = formSizeTwips.width();
    const double height = formSizeTwips.height();
    const double left = width > workWidth ? (screenWidth - width) / 2 : (workWidth - width) / 2;
    const double top =
        height > workHeight ? (screenHeight - height) / 2 : (workHeight - height) / 2;
    return {primary.x() * env.twipsPerPixelX + left, primary.y() * env.twipsPerPixelY + top};
}

QPoint restoredPosition(const CRegSettings& settings, const QString& formName, QSizeF formSizeTwips,
                        const PlacementEnvironment& env) {
    const QPointF centred = centredPosition(formSizeTwips, env);
    const QPoint centredWhole(toInt32(centred.x()), toInt32(centred.y()));

    const auto left = toInteger16(
        settings.getSetting(kSection, formName + QStringLiteral(" Left"), numberText(centred.x())));
    const auto top = toInteger16(
        settings.getSetting(kSection, formName + QStringLiteral(" Top"), numberText(centred.y())));
    const QPoint position(left ? *left : centredWhole.x(), top ? *top : centredWhole.y());

    // A stored place on a screen that is no longer there would open the window out of sight.
    if (!env.screens.isEmpty() && !onSomeScreen(position, formSizeTwips, env))
        return centredWhole;
    return position;
}

void storePosition(CRegSettings& settings, const QString& formName, QPointF positionTwips) {
    settings.saveSetting(kSection, formName + QStringLiteral(" Left"), QString(),
                         toInt32(positionTwips.x()));
    settings.saveSetting(kSection, formName + QStringLiteral(" Top"), QString(),
                         toInt32(positionTwips.y()));
}
