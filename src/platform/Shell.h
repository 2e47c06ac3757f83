#pragma once

#include <QUrl>

// Opens a web address or a document in the desktop's program for it.
class Shell {
public:
    virtual ~Shell() = default;
    // False when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;
};

// Records what would be opened (tests).
class RecordingShell : public Shell {
public:
    bool openUrl(const QUrl& url) override {
        m_opened = url;
        return m_succeeds;
    }
    void setSucceeds(bool succeeds) { m_succeeds = succeeds; }
    QUrl lastOpened() const { return m_opened; }

private:
    QUrl m_opened;
    bool m_succeeds = true;
};
