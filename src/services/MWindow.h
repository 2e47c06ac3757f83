#pragma once

#include <QSize>

class CRegSettings;
class QWidget;

// The desktop's work area (the primary screen less its panels) in twips, and the twips in one
// pixel of that screen.
struct WorkArea {
    QSize twips;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
};
WorkArea workArea();

// Saves (save true) or restores a form's place on the desktop under its object name. A form
// that is minimized, maximized or full screen is left alone and nothing is stored for it.
void formPosition(QWidget* frm, bool save, CRegSettings& settings);
