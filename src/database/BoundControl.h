#pragma once

#include <QString>

// A control that shows one field of the current record as text.
class BoundControl {
public:
    virtual ~BoundControl() = default;
    virtual QString text() const = 0;
    // Shows a value without running the control's change handlers.
    virtual void setText(const QString& text) = 0;
};
