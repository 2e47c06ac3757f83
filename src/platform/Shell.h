#pragma once

#include <QUrl>

// Opens a web address or a document in the desktop's program for it.
class Shell {
public:
    virtual ~Shell() = default;
    // False when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;
};
