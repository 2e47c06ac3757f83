#pragma once

#include "platform/Shell.h"

// Opens addresses and documents with the desktop's own programs, through its opener
// (xdg-open), whose answer is heard: an opener that finds no program for the address fails.
class QtShell : public Shell {
public:
    // An opener still at work after `waitMs` has started a program that stays in the
    // foreground (a browser on a desktop without its own opener): that is taken as success.
    explicit QtShell(int waitMs = 3000) : m_waitMs(waitMs) {}
    bool openUrl(const QUrl& url) override;

private:
    int m_waitMs;
};
