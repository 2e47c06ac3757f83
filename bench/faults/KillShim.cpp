// Preloaded into a child of plovix-faults: counts the calls that change files (writes to
// regular files, syncs, truncations, renames, links and deletions) while the child has armed it,
// and ends the process with SIGKILL at the n-th of them, before or after the call is made.
//
//   PLOVIX_FAULT_AT=n      the call to stop at; 0 or unset: only count
//   PLOVIX_FAULT_AFTER=1   let that call happen first
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<bool> armed{false};
std::atomic<long> calls{0};
long stopAt = -1;  // read once, at the first armed call
bool stopAfter = false;

void readSettings() {
    if (stopAt >= 0) {
        return;
    }
    const char* at = std::getenv("PLOVIX_FAULT_AT");
    const char* after = std::getenv("PLOVIX_FAULT_AFTER");
    stopAt = at ? std::atol(at) : 0;
    stopAfter = after && after[0] == '1';
}

// True when this call is the one to stop at and it is to be made first.
bool before() {
    if (!armed.load()) {
        return false;
    }
    readSettings();
    const long n = ++calls;
    if (n == stopAt) {
        if (!stopAfter) {
            ::kill(::getpid(), SIGKILL);
        }
        return true;
    }
    return false;
}

template <typename Result>
Result after(bool stop, Result result) {
    if (stop) {
        ::kill(::getpid(), SIGKILL);
    }
    return result;
}

bool regularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

// The child's switch: counting and stopping happen only between arming and disarming.
void plovixFaultArm(int on) {
    armed.store(on != 0);
}
long plovixFaultCalls() {
    return calls.load();
}

ssize_t write(int fd, const void* buffer, size_t size) {
    static auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    const bool stop = regularFile(fd) && before();
    return after(stop, next(fd, buffer, size));
}
ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    const bool stop = before();
    return after(stop, next(fd, buffer, size, offset));
}
ssize_t pwrite64(int fd, const void* buffer, size_t size, off64_t offset) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const bool stop = before();
    return after(stop, next(fd, buffer, size, offset));
}
ssize_t writev(int fd, const struct iovec* parts, int count) {
    static auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    const bool stop = regularFile(fd) && before();
    return after(stop, next(fd, parts, count));
}
int fsync(int fd) {
    static auto next = real<int (*)(int)>("fsync");
    const bool stop = before();
    return after(stop, next(fd));
}
int fdatasync(int fd) {
    static auto next = real<int (*)(int)>("fdatasync");
    const bool stop = before();
    return after(stop, next(fd));
}
int ftruncate(int fd, off_t length) {
    static auto next = real<int (*)(int, off_t)>("ftruncate");
    const bool stop = before();
    return after(stop, next(fd, length));
}
int ftruncate64(int fd, off64_t length) {
    static auto next = real<int (*)(int, off64_t)>("ftruncate64");
    const bool stop = before();
    return after(stop, next(fd, length));
}
int rename(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("rename");
    const bool stop = before();
    return after(stop, next(from, to));
}
int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    const bool stop = before();
    return after(stop, next(fromDir, from, toDir, to));
}
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    const bool stop = before();
    return after(stop, next(fromDir, from, toDir, to, flags));
}
int link(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("link");
    const bool stop = before();
    return after(stop, next(from, to));
}
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    const bool stop = before();
    return after(stop, next(fromDir, from, toDir, to, flags));
}
int unlink(const char* path) {
    static auto next = real<int (*)(const char*)>("unlink");
    const bool stop = before();
    return after(stop, next(path));
}
int unlinkat(int dir, const char* path, int flags) {
    static auto next = real<int (*)(int, const char*, int)>("unlinkat");
    const bool stop = before();
    return after(stop, next(dir, path, flags));
}

}  // extern "C"
