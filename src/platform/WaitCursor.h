#pragma once

// The screen's mouse pointer: the hourglass while a long operation runs, the default otherwise.
class WaitCursor {
public:
    enum Pointer : int { Default = 0, Hourglass = 11 };
    virtual ~WaitCursor() = default;
    virtual void setMousePointer(int pointer) = 0;
    virtual int mousePointer() const = 0;
};

// Keeps the pointer shape without showing it (tests and tools).
class RecordingWaitCursor : public WaitCursor {
public:
    void setMousePointer(int pointer) override {
        m_pointer = pointer;
        if (pointer == Hourglass) {
            ++m_hourglassCount;
        }
    }
    int mousePointer() const override { return m_pointer; }
    int hourglassCount() const { return m_hourglassCount; }

private:
    int m_pointer = Default;
    int m_hourglassCount = 0;
};
