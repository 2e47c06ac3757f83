#pragma once

// The record the preloaded library keeps of a child's changes to files, read back by
// plovix-faults to build the files as a disk would hold them after a power cut. A record is a
// Header, then `pathSize` bytes of a name, `otherSize` bytes of a second name, and for a write
// the `size` bytes written.
//
// `at` orders the records among the counted calls: 2n for the n-th counted call, 2n + 1 for an
// open made after it (opens are recorded but not counted), so that the changes before call n
// are the records with `at` below 2n.
namespace disklog {

inline constexpr unsigned kMagic = 0x504c5658;  // "PLVX"

enum class Kind : int {
    Write = 1,   // `size` bytes at `offset` of the file `inode`
    Truncate,    // the file `inode` cut or grown to `size` bytes
    Sync,        // the file `inode` reached the disk
    SyncFolder,  // the folder `path` reached the disk: its names as they stand
    Create,      // a new file `inode` under the name `path`
    Unnamed,     // a new file `inode` with no name yet
    Rename,      // the name `other` (path2) moved to `path`, now the file `inode`
    Link,        // the name `path` given to the file `inode`
    Unlink,      // the name `path` removed
};

struct Header {
    unsigned magic;
    int kind;
    long long at;
    long long inode;
    long long offset;
    long long size;
    unsigned pathSize;
    unsigned otherSize;
};

}  // namespace disklog
