#pragma once

#include "common/WriteFailure.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vg {

// Owns a POSIX file descriptor for the length of one load or save.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : Fd(fd) {}
    ~UniqueFd();
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : Fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Close();
            Fd = other.Release();
        }
        return *this;
    }

    int Get() const { return Fd; }
    bool IsOpen() const { return Fd >= 0; }
    // Hands the descriptor to a new owner.
    int Release() {
        const int fd = Fd;
        Fd = -1;
        return fd;
    }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close();

private:
    int Fd;
};

// How bytes reach an open file, with the contract of write(2). Tests pass a writer that
// fails part way to check that a failed save leaves the previous file alone.
using WriteFunction = std::function<ssize_t(int fd, const void* data, size_t size)>;

// Writes all of `bytes` to `fd`, going on after interruptions and short writes. False when a
// write failed; errno says why (EIO for a write that took nothing).
bool WriteAll(int fd, std::string_view bytes, const WriteFunction& write = {});

// Opens an existing regular file for reading. Nothing else is opened: a named pipe would
// wait for a writer, a device could act on the open. When nothing opens, errno says why.
UniqueFd OpenForReading(const std::string& path);

// Reads from the start of the file until `capacity` bytes arrived or the file ends; returns
// how many bytes arrived.
size_t ReadUpTo(int fd, void* dest, size_t capacity);

// The first `count` bytes of a regular file (fewer when it is shorter); false when it does
// not open, with the reason in errno.
bool ReadFileStart(const std::string& path, size_t count, std::string& bytes);

// `path` when something of that name exists; otherwise a file in the same folder whose name
// differs from it only in the case of ASCII letters (the first in byte order if there are
// several); otherwise `path`. Settings and configurations copied from a file system that
// ignores case keep working, and are written back under the name they have.
std::string ExistingPathIgnoringCase(const std::string& path);

// The file that writing `path` reaches: every link on the way, in a folder as at the end, is
// replaced by what it names, except one that neither the user nor the folder's owner made in
// a folder every user may write (EACCES). Only the last name may be missing (a new file). The
// rule of the saves, for every file the program writes. False with errno on failure.
bool ResolveWritablePath(const std::string& path, std::string& target);

// One file of a save and the bytes it is to hold.
struct FileContents {
    std::string Path;
    std::string_view Bytes;
};

// Gives `path` exactly `bytes`. The bytes go to a temporary file in the same folder, which
// takes the old file's mode, and its owner and group where the process may set them; it is
// renamed over the old file only when every byte was written and flushed, so a failure leaves
// the old file as it was, and the folder is flushed after the rename. The temporary has no
// name while it is written, so a killed save leaves nothing behind; temporaries of this file
// that a process that is gone left under a name are removed.
// The file is written in place instead when it has further hard links (they keep seeing it)
// or when its folder takes no new file but the file itself may be written.
// Links in `path` are followed as ResolveWritablePath says. A file the process could not open for
// writing is never replaced, nor is anything but a regular file. On failure errno holds the reason.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const WriteFunction& write = {});

// The same for files that belong together (a configuration and its names): every new content
// is written completely before the first file is replaced, so a failure while writing leaves
// all of them as they were. On failure errno holds the reason, and `failure`, if given, names
// the file that could not be written.
bool ReplaceFilesTogether(const std::vector<FileContents>& files, const WriteFunction& write = {},
                          WriteFailure* failure = nullptr);

} // namespace vg
