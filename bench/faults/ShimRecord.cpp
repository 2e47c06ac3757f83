#include "ShimRecord.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>

namespace shim {

namespace {

const char* logPath = nullptr;
int logFd = -1;

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

void setLog(const char* path) {
    logPath = path;
}

namespace {

void writeAll(const void* data, size_t size) {
    static auto realWrite = real<ssize_t (*)(int, const void*, size_t)>("write");
    static auto realOpen = real<int (*)(const char*, int, ...)>("open");
    if (logFd < 0 && logPath) {
        logFd = realOpen(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    const char* bytes = static_cast<const char*>(data);
    while (logFd >= 0 && size > 0) {
        const ssize_t done = realWrite(logFd, bytes, size);
        if (done <= 0) {
            return;
        }
        bytes += done;
        size -= size_t(done);
    }
}

}  // namespace

void record(disklog::Kind kind, long long at, long long inode, long long offset, long long size,
            const std::string& path, const std::string& other, const iovec* parts, int count) {
    disklog::Header header{};
    header.magic = disklog::kMagic;
    header.kind = int(kind);
    header.at = at;
    header.inode = inode;
    header.offset = offset;
    header.size = size;
    header.pathSize = unsigned(path.size());
    header.otherSize = unsigned(other.size());
    writeAll(&header, sizeof header);
    writeAll(path.data(), path.size());
    writeAll(other.data(), other.size());
    long long left = kind == disklog::Kind::Write ? size : 0;
    for (int i = 0; i < count && left > 0; ++i) {
        const size_t part = size_t(std::min<long long>(left, (long long)parts[i].iov_len));
        writeAll(parts[i].iov_base, part);
        left -= (long long)part;
    }
}

std::string fdPath(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t size = ::readlink(link, target, sizeof target - 1);
    return size > 0 ? std::string(target, size_t(size)) : std::string();
}

std::string absolute(int dir, const char* path) {
    if (!path) {
        return {};
    }
    if (path[0] == '/') {
        return path;
    }
    if (dir == AT_FDCWD) {
        char cwd[PATH_MAX];
        return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + '/' + path : std::string(path);
    }
    return fdPath(dir) + '/' + path;
}

long long inodeOf(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? (long long)status.st_ino : -1;
}

long long inodeAt(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? (long long)status.st_ino : -1;
}

bool isKind(int fd, mode_t kind) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && (status.st_mode & S_IFMT) == kind;
}

// What a write will change: where in the file it lands.
long long writeOffset(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_APPEND)) {
        struct stat status {};
        return ::fstat(fd, &status) == 0 ? (long long)status.st_size : 0;
    }
    return (long long)::lseek(fd, 0, SEEK_CUR);
}

}  // namespace shim
