// Preloaded into a child of plovix-faults: counts the calls that change files (writes to
// regular files, syncs, truncations, renames, links and deletions) while the child has armed it,
// and ends the process with SIGKILL at the n-th of them, before or after the call is made.
// It can also keep a record of every change it sees (what was written where, which file or
// folder was synced, every new, renamed, linked or deleted name), from which plovix-faults
// builds the files as a disk would hold them after a power cut.
//
//   PLOVIX_FAULT_AT=n      the call to stop at; 0 or unset: only count
//   PLOVIX_FAULT_AFTER=1   let that call happen first
//   PLOVIX_FAULT_LOG=path  append a record of each change to this file (see DiskLog.h)
#include "ShimRecord.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

std::atomic<bool> armed{false};
std::atomic<long> calls{0};
long stopAt = -1;  // read once, at the first armed call
bool stopAfter = false;
const char* logPath = nullptr;
std::recursive_mutex lock;  // one call counted and recorded at a time

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void readSettings() {
    if (stopAt >= 0) {
        return;
    }
    const char* at = std::getenv("PLOVIX_FAULT_AT");
    const char* after = std::getenv("PLOVIX_FAULT_AFTER");
    logPath = std::getenv("PLOVIX_FAULT_LOG");
    shim::setLog(logPath);
    stopAfter = after && after[0] == '1';
    stopAt = at ? std::atol(at) : 0;
}

bool recording() {
    return armed.load() && logPath && logPath[0];
}

// A counted call: its number, and whether it is the one to stop at after it is made. Ends the
// process here when it is the one to stop at before it is made.
struct Call {
    long number = 0;
    bool stopAfterIt = false;
    explicit Call(bool counted) {
        if (!counted || !armed.load()) {
            return;
        }
        readSettings();
        number = ++calls;
        if (number == stopAt) {
            if (!stopAfter) {
                ::kill(::getpid(), SIGKILL);
            }
            stopAfterIt = true;
        }
    }
    long long at() const { return 2LL * number; }
    bool recorded() const { return number > 0 && recording(); }
    template <typename Result>
    Result done(Result result) const {
        if (stopAfterIt) {
            ::kill(::getpid(), SIGKILL);
        }
        return result;
    }
};

ssize_t recordedWrite(const Call& call, int fd, long long offset, ssize_t result,
                      const iovec* parts, int count) {
    if (call.recorded() && result > 0) {
        shim::record(disklog::Kind::Write, call.at(), shim::inodeOf(fd), offset, result, {}, {},
                     parts, count);
    }
    return call.done(result);
}

int recordedSync(const Call& call, int fd, int result) {
    if (call.recorded()) {
        if (shim::isKind(fd, S_IFDIR)) {
            shim::record(disklog::Kind::SyncFolder, call.at(), -1, 0, 0, shim::fdPath(fd));
        } else {
            shim::record(disklog::Kind::Sync, call.at(), shim::inodeOf(fd), 0, 0, {});
        }
    }
    return call.done(result);
}

// Opens are not counted, but a new name or a file emptied by its opening is recorded.
int recordedOpen(int dir, const char* path, int flags, int fd, bool existed) {
    if (fd < 0 || !recording() || !shim::isKind(fd, S_IFREG)) {
        return fd;
    }
    std::lock_guard<std::recursive_mutex> guard(lock);
    const long long at = 2LL * calls.load() + 1;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        shim::record(disklog::Kind::Unnamed, at, shim::inodeOf(fd), 0, 0, {});
    } else if ((flags & O_CREAT) && !existed) {
        shim::record(disklog::Kind::Create, at, shim::inodeOf(fd), 0, 0, shim::absolute(dir, path));
    } else if (flags & O_TRUNC) {
        shim::record(disklog::Kind::Truncate, at, shim::inodeOf(fd), 0, 0, {});
    }
    return fd;
}

bool existsAt(int dir, const char* path) {
    struct stat status {};
    return ::fstatat(dir, path, &status, 0) == 0;
}

mode_t modeArgument(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(arguments, int))
                                                                 : 0;
}

// The mode an open's variadic third argument carries, when its flags call for one.
#define PLOVIX_READ_MODE(flags, mode)          \
    mode_t mode = 0;                           \
    {                                          \
        va_list arguments;                     \
        va_start(arguments, flags);            \
        mode = modeArgument(flags, arguments); \
        va_end(arguments);                     \
    }

template <typename Open>
int openFile(Open next, int dir, const char* path, int flags, mode_t mode) {
    const bool existed = recording() && (flags & O_CREAT) && existsAt(dir, path);
    return recordedOpen(dir, path, flags, next(path, flags, mode), existed);
}

template <typename Open>
int openFileAt(Open next, int dir, const char* path, int flags, mode_t mode) {
    const bool existed = recording() && (flags & O_CREAT) && existsAt(dir, path);
    return recordedOpen(dir, path, flags, next(dir, path, flags, mode), existed);
}

int renamed(const Call& call, int result, const std::string& from, const std::string& to) {
    if (call.recorded() && result == 0) {
        shim::record(disklog::Kind::Rename, call.at(), shim::inodeAt(to), 0, 0, to, from);
    }
    return call.done(result);
}

int linked(const Call& call, int result, const std::string& to) {
    if (call.recorded() && result == 0) {
        shim::record(disklog::Kind::Link, call.at(), shim::inodeAt(to), 0, 0, to);
    }
    return call.done(result);
}

int unlinked(const Call& call, int result, const std::string& path) {
    if (call.recorded() && result == 0) {
        shim::record(disklog::Kind::Unlink, call.at(), -1, 0, 0, path);
    }
    return call.done(result);
}

template <typename Truncate, typename Length>
int truncateFile(Truncate next, int fd, Length length) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    const int result = next(fd, length);
    if (call.recorded() && result == 0) {
        shim::record(disklog::Kind::Truncate, call.at(), shim::inodeOf(fd), 0, length, {});
    }
    return call.done(result);
}

}  // namespace

extern "C" {

// The child's switch: counting and stopping happen only between arming and disarming.
void plovixFaultArm(int on) {
    readSettings();
    armed.store(on != 0);
}
long plovixFaultCalls() {
    return calls.load();
}

ssize_t write(int fd, const void* buffer, size_t size) {
    static auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    const bool file = armed.load() && shim::isKind(fd, S_IFREG);
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(file);
    const long long offset = call.recorded() ? shim::writeOffset(fd) : 0;
    const iovec part{const_cast<void*>(buffer), size};
    return recordedWrite(call, fd, offset, next(fd, buffer, size), &part, 1);
}
ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    const iovec part{const_cast<void*>(buffer), size};
    return recordedWrite(call, fd, offset, next(fd, buffer, size, offset), &part, 1);
}
ssize_t pwrite64(int fd, const void* buffer, size_t size, off64_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    const iovec part{const_cast<void*>(buffer), size};
    return recordedWrite(call, fd, offset, next(fd, buffer, size, offset), &part, 1);
}
ssize_t writev(int fd, const struct iovec* parts, int count) {
    static auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    const bool file = armed.load() && shim::isKind(fd, S_IFREG);
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(file);
    const long long offset = call.recorded() ? shim::writeOffset(fd) : 0;
    return recordedWrite(call, fd, offset, next(fd, parts, count), parts, count);
}
int fsync(int fd) {
    static auto next = real<int (*)(int)>("fsync");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return recordedSync(call, fd, next(fd));
}
int fdatasync(int fd) {
    static auto next = real<int (*)(int)>("fdatasync");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return recordedSync(call, fd, next(fd));
}
int ftruncate(int fd, off_t length) {
    static auto next = real<int (*)(int, off_t)>("ftruncate");
    return truncateFile(next, fd, length);
}
int ftruncate64(int fd, off64_t length) {
    static auto next = real<int (*)(int, off64_t)>("ftruncate64");
    return truncateFile(next, fd, length);
}
int rename(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("rename");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return renamed(call, next(from, to), shim::absolute(AT_FDCWD, from),
                   shim::absolute(AT_FDCWD, to));
}
int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return renamed(call, next(fromDir, from, toDir, to), shim::absolute(fromDir, from),
                   shim::absolute(toDir, to));
}
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return renamed(call, next(fromDir, from, toDir, to, flags), shim::absolute(fromDir, from),
                   shim::absolute(toDir, to));
}
int link(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("link");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return linked(call, next(from, to), shim::absolute(AT_FDCWD, to));
}
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    return linked(call, next(fromDir, from, toDir, to, flags), shim::absolute(toDir, to));
}
int unlink(const char* path) {
    static auto next = real<int (*)(const char*)>("unlink");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    const std::string name = shim::absolute(AT_FDCWD, path);
    return unlinked(call, next(path), name);
}
int unlinkat(int dir, const char* path, int flags) {
    static auto next = real<int (*)(int, const char*, int)>("unlinkat");
    std::lock_guard<std::recursive_mutex> guard(lock);
    const Call call(true);
    const std::string name = shim::absolute(dir, path);
    return unlinked(call, next(dir, path, flags), name);
}

// The opens, every way the C library offers them.
int open(const char* path, int flags, ...) {
    static auto next = real<int (*)(const char*, int, ...)>("open");
    PLOVIX_READ_MODE(flags, mode);
    return openFile(next, AT_FDCWD, path, flags, mode);
}
int open64(const char* path, int flags, ...) {
    static auto next = real<int (*)(const char*, int, ...)>("open64");
    PLOVIX_READ_MODE(flags, mode);
    return openFile(next, AT_FDCWD, path, flags, mode);
}
int __open_2(const char* path, int flags) {
    static auto next = real<int (*)(const char*, int, ...)>("open");
    return openFile(next, AT_FDCWD, path, flags, 0);
}
int __open64_2(const char* path, int flags) {
    static auto next = real<int (*)(const char*, int, ...)>("open64");
    return openFile(next, AT_FDCWD, path, flags, 0);
}
int openat(int dir, const char* path, int flags, ...) {
    static auto next = real<int (*)(int, const char*, int, ...)>("openat");
    PLOVIX_READ_MODE(flags, mode);
    return openFileAt(next, dir, path, flags, mode);
}
int openat64(int dir, const char* path, int flags, ...) {
    static auto next = real<int (*)(int, const char*, int, ...)>("openat64");
    PLOVIX_READ_MODE(flags, mode);
    return openFileAt(next, dir, path, flags, mode);
}
int creat(const char* path, mode_t mode) {
    static auto next = real<int (*)(const char*, int, ...)>("open");
    return openFile(next, AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}
int creat64(const char* path, mode_t mode) {
    static auto next = real<int (*)(const char*, int, ...)>("open64");
    return openFile(next, AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

}  // extern "C"
