#pragma once

#include "platform/Shell.h"

// Opens addresses and documents with the desktop's own programs.
class QtShell : public Shell {
public:
    bool openUrl(const QUrl& url) override;
};
