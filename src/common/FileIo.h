#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

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

// Opens an existing regular file for reading; a missing file or a directory does not open.
UniqueFd OpenForReading(const std::string& path);

// Reads from the start of the file until `capacity` bytes arrived or the file ends; returns
// how many bytes arrived.
size_t ReadUpTo(int fd, void* dest, size_t capacity);

// Gives `path` exactly `bytes`. The bytes go to a temporary file beside it that is renamed
// over the old file only when every byte was written and flushed, so a failure never leaves
// a truncated file behind. A file we may not write is refused as a plain open would be.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const WriteFunction& write = {});

} // namespace vg
