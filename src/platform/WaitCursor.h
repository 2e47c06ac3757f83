#pragma once

// The screen's mouse pointer: the hourglass while a long operation runs, the default otherwise.
class WaitCursor {
public:
    enum Pointer : int { Default = 0, Hourglass = 11 };
    virtual ~WaitCursor() = default;
    virtual void setMousePointer(int pointer) = 0;
    virtual int mousePointer() const = 0;
};
