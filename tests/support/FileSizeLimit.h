#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <QtGlobal>

// Files may grow to a number of bytes only while this lives, as on a disk that is full: a write
// past the limit fails (the signal it would raise is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes) { set(bytes); }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void lift() { set(-1); }

private:
    static void set(qint64 bytes) {
        ::signal(SIGXFSZ, bytes < 0 ? SIG_DFL : SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = bytes < 0 ? RLIM_INFINITY : rlim_t(bytes);
        limit.rlim_max = RLIM_INFINITY;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
};
