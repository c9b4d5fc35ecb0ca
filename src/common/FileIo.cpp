#include "common/FileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {

UniqueFd::~UniqueFd() {
    Close();
}

bool UniqueFd::Close() {
    if (Fd < 0) {
        return true;
    }
    const bool ok = ::close(Fd) == 0;
    Fd = -1;
    return ok;
}

UniqueFd OpenForReading(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.IsOpen() && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd.Close();
    }
    return fd;
}

size_t ReadUpTo(int fd, void* dest, size_t capacity) {
    auto* out = static_cast<char*>(dest);
    size_t done = 0;
    while (done < capacity) {
        const ssize_t n = ::read(fd, out + done, capacity - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

namespace {

bool WriteAll(int fd, std::string_view bytes, const WriteFunction& write) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write ? write(fd, bytes.data() + done, bytes.size() - done)
                                : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A link is followed so that the file it names is replaced, not the link.
std::string ResolvedTarget(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            return target.string();
        }
    }
    return path;
}

// Creates the temporary file with the old file's permissions, or with the usual ones (umask
// applied) for a new file.
UniqueFd CreateTemporary(const std::string& target, const std::string& tempPath) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return UniqueFd();
    }
    // A name with our process id cannot be in use by a running save; a leftover from a
    // crashed run with the same id is removed first.
    ::unlink(tempPath.c_str());
    UniqueFd fd(
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.IsOpen() && exists) {
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }
    return fd;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const WriteFunction& write) {
    const std::string target = ResolvedTarget(path);
    const std::string tempPath = target + ".tmp" + std::to_string(::getpid());
    UniqueFd fd = CreateTemporary(target, tempPath);
    if (!fd.IsOpen()) {
        return false;
    }
    const bool written = WriteAll(fd.Get(), bytes, write) && ::fsync(fd.Get()) == 0;
    if (fd.Close() && written && ::rename(tempPath.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(tempPath.c_str());
    return false;
}

} // namespace vg
