#pragma once

// Stand-ins for the desktop that record what the program asks of them.
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/WaitCursor.h"

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime time) : m_time(std::move(time)) {}
    QDateTime now() const override { return m_time; }
    void set(QDateTime time) { m_time = std::move(time); }

private:
    QDateTime m_time;
};

// Keeps the pointer shape without showing it, and counts the hourglasses.
class RecordingWaitCursor : public WaitCursor {
public:
    void setMousePointer(int pointer) override {
        m_pointer = pointer;
        m_hourglassCount += pointer == Hourglass;
    }
    int mousePointer() const override { return m_pointer; }
    int hourglassCount() const { return m_hourglassCount; }

private:
    int m_pointer = Default;
    int m_hourglassCount = 0;
};

// Records what would be opened.
class RecordingShell : public Shell {
public:
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return works;
    }
    QList<QUrl> opened;
    bool works = true;  // false: no program opens anything
};
