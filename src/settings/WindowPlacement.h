#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class CRegSettings;

// What the screens look like when a window is put back: pixel rectangles and the twips per
// pixel. The primary screen comes first.
struct PlacementEnvironment {
    QList<QRect> screens;  // each screen's whole area, in pixels, virtual-desktop coordinates
    QRect workArea;        // the primary screen less its panels, in pixels
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
};

// A stored coordinate as a 16-bit whole number (nearest, halves to even); nothing when the
// text is not a number or lies outside -32768 to 32767.
std::optional<qint16> toInteger16(const QString& text);

// The centred default position, in twips, of a form of the given size in twips.
QPointF centredPosition(QSizeF formSizeTwips, const PlacementEnvironment& env);

// Where a form comes back, in twips: its stored "<name> Left" and "<name> Top" from the
// "Position" section, or the centred default when nothing usable is stored or the stored place
// would put the window on no present screen.
QPoint restoredPosition(const CRegSettings& settings, const QString& formName, QSizeF formSizeTwips,
                        const PlacementEnvironment& env);

// Stores a form's position (twips, made whole with halves to even) as "<name> Left"/"Top".
void storePosition(CRegSettings& settings, const QString& formName, QPointF positionTwips);
