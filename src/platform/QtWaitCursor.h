#pragma once

#include "platform/WaitCursor.h"

// The application-wide mouse pointer.
class QtWaitCursor : public WaitCursor {
public:
    void setMousePointer(int pointer) override;
    int mousePointer() const override { return m_pointer; }

private:
    int m_pointer = Default;
};
