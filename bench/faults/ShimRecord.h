#pragma once

// The preloaded library's record of a child's changes to files (see DiskLog.h), and what it
// finds out about a file descriptor or a name to write it.
#include "DiskLog.h"

#include <sys/types.h>
#include <sys/uio.h>
#include <string>

namespace shim {

// The file the records are appended to; none: nothing is recorded.
void setLog(const char* path);

// Appends one record: its header, its names and, for a write, the bytes written, gathered from
// `parts`.
void record(disklog::Kind kind, long long at, long long inode, long long offset, long long size,
            const std::string& path, const std::string& other = {}, const iovec* parts = nullptr,
            int count = 0);

// The name a descriptor stands for, as the kernel gives it.
std::string fdPath(int fd);
// `path` as an absolute name, relative to the folder `dir` (AT_FDCWD: the working folder).
std::string absolute(int dir, const char* path);
long long inodeOf(int fd);
long long inodeAt(const std::string& path);
// Whether the descriptor is of the kind given (S_IFREG, S_IFDIR).
bool isKind(int fd, mode_t kind);
// Where in its file a write through the descriptor lands.
long long writeOffset(int fd);

}  // namespace shim
