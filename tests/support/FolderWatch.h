#pragma once

#include <sys/inotify.h>
#include <unistd.h>
#include <QFile>
#include <QStringList>
#include <cstdint>

// The names in a folder that met the watched events (by default: deleted or renamed away) while
// it is watched, from the kernel's queue of events: nothing that happened is missed.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder, uint32_t events = IN_DELETE | IN_MOVED_FROM)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), events);
    }
    ~FolderWatch() { ::close(m_fd); }
    QStringList names() const {
        QStringList names;
        alignas(inotify_event) char buffer[1 << 16];
        for (ssize_t size; (size = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                names.append(QFile::decodeName(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int m_fd;
};
