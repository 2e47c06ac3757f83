#pragma once

#include "platform/Clock.h"

// The desktop's own clock.
class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
