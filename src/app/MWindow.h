#pragma once

class CRegSettings;
class QWidget;

// Saves (bSave true) or restores a form's place on the desktop under its object name. A form
// that is minimized, maximized or full screen is left alone and nothing is stored for it.
void formPosition(QWidget* frm, bool bSave, CRegSettings& settings);
