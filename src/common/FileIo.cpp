#include "common/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {

UniqueFd::~UniqueFd() {
    // Going out of scope on a failure path must not change the reason in errno.
    const int saved = errno;
    Close();
    errno = saved;
}

bool UniqueFd::Close() {
    if (Fd < 0) {
        return true;
    }
    const bool ok = ::close(Fd) == 0;
    Fd = -1;
    return ok;
}

namespace {

// Clean-up on a failure path must not change the reason the caller gets in errno.
class ErrnoKeeper {
public:
    ErrnoKeeper() : Saved(errno) {}
    ~ErrnoKeeper() { errno = Saved; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int Saved;
};

bool Fail(int error) {
    errno = error;
    return false;
}

// The reason of a failure that is being reported; a call that failed without saying why
// still gives one.
int FailureReason() {
    return errno != 0 ? errno : EIO;
}

int NotARegularFileError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

size_t NameStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The folder part with its separator, empty for a bare name.
std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string NameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

// The folder as system calls take it.
std::string FolderForCalls(const std::string& path) {
    const std::string folder = FolderOf(path);
    return folder.empty() ? "." : folder;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

template <typename Visit> void ForEachName(const std::string& folder, Visit visit) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        visit(std::string_view(entry->d_name));
    }
}

} // namespace

UniqueFd OpenForReading(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return UniqueFd();
    }
    if (!S_ISREG(info.st_mode)) {
        errno = NotARegularFileError(info.st_mode);
        return UniqueFd();
    }
    // Should the name have become a pipe since, the open still does not wait.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.IsOpen() && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd.Close();
        errno = NotARegularFileError(info.st_mode);
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

bool ReadFileStart(const std::string& path, size_t count, std::string& bytes) {
    const UniqueFd file = OpenForReading(path);
    if (!file.IsOpen()) {
        return false;
    }
    bytes.assign(count, '\0');
    bytes.resize(ReadUpTo(file.Get(), bytes.data(), bytes.size()));
    return true;
}

std::string ExistingPathIgnoringCase(const std::string& path) {
    const std::string name = NameOf(path);
    struct stat info {};
    if (name.empty() || ::lstat(path.c_str(), &info) == 0 || errno != ENOENT) {
        return path;
    }
    std::string found;
    ForEachName(FolderForCalls(path), [&](std::string_view entry) {
        if (SameIgnoringAsciiCase(entry, name) && (found.empty() || entry < found)) {
            found = entry;
        }
    });
    return found.empty() ? path : FolderOf(path) + found;
}

bool WriteAll(int fd, std::string_view bytes, const WriteFunction& write) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write ? write(fd, bytes.data() + done, bytes.size() - done)
                                : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0) {
            return Fail(EIO);
        }
        if (n < 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

namespace {

constexpr int MaxLinksFollowed = 40; // as many as the kernel follows

// Anyone may put a link into a folder every user may write, so a link there is only followed
// when the user or the folder's owner made it (the kernel's rule for shared folders with the
// sticky bit, here for such folders without it too).
bool MayFollow(const struct stat& link, const struct stat& folder) {
    if ((folder.st_mode & S_IWOTH) == 0) {
        return true;
    }
    return link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The components of `path`, without empty ones.
std::deque<std::string> Components(const std::string& path) {
    std::deque<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start) {
            parts.push_back(path.substr(start, slash - start));
        }
        start = slash + 1;
    }
    return parts;
}

} // namespace

bool ResolveWritablePath(const std::string& path, std::string& target) {
    // `done` holds no link: every one on the way has been replaced by what it names.
    std::string done = !path.empty() && path.front() == '/' ? "/" : "";
    std::deque<std::string> rest = Components(path);
    int followed = 0;
    while (!rest.empty()) {
        const std::string name = rest.front();
        rest.pop_front();
        const std::string current = done + name;
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0) {
            // Only the last name may be new.
            if (errno != ENOENT || !rest.empty()) {
                return false;
            }
            target = current;
            return true;
        }
        if (!S_ISLNK(link.st_mode)) {
            if (rest.empty()) {
                target = current;
                return true;
            }
            done = current + "/";
            continue;
        }
        if (++followed > MaxLinksFollowed) {
            return Fail(ELOOP);
        }
        struct stat folder {};
        if (::stat(done.empty() ? "." : done.c_str(), &folder) != 0) {
            return false;
        }
        if (!MayFollow(link, folder)) {
            return Fail(EACCES);
        }
        std::string text(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), text.data(), text.size());
        if (n <= 0) {
            return n < 0 ? false : Fail(ENOENT);
        }
        if (static_cast<size_t>(n) == text.size()) {
            return Fail(ENAMETOOLONG);
        }
        text.resize(static_cast<size_t>(n));
        if (text.front() == '/') {
            done.clear();
            done.push_back('/'); // appended: g++ 12 sees a false overlap in an assignment
        }
        std::deque<std::string> named = Components(text);
        rest.insert(rest.begin(), named.begin(), named.end());
    }
    // The path named a folder, or nothing.
    target = done.empty() ? "." : done;
    return true;
}

namespace {

// The file a save of `path` replaces.
bool ResolveTarget(const std::string& path, std::string& target) {
    return ResolveWritablePath(path, target);
}

// A save's temporary under a name: the file's name, ".tmp" and the process id.
std::string TemporaryName(const std::string& target, pid_t pid) {
    return target + ".tmp" + std::to_string(pid);
}

// A save killed between naming its temporary and the rename leaves the temporary; the process
// that made it is gone, so nothing can still need it.
void RemoveStaleTemporaries(const std::string& target) {
    const ErrnoKeeper keep;
    const std::string prefix = NameOf(target) + ".tmp";
    std::vector<std::string> stale;
    ForEachName(FolderForCalls(target), [&](std::string_view entry) {
        if (entry.size() <= prefix.size() || entry.substr(0, prefix.size()) != prefix) {
            return;
        }
        const std::string_view digits = entry.substr(prefix.size());
        pid_t pid = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (ec != std::errc() || end != digits.data() + digits.size() || pid <= 0 ||
            pid == ::getpid()) {
            return;
        }
        if (::kill(pid, 0) != 0 && errno == ESRCH) {
            stale.emplace_back(entry);
        }
    });
    for (const std::string& name : stale) {
        ::unlink((FolderOf(target) + name).c_str());
    }
}

// The rename only lasts once the folder has reached the disk too. A folder the process may
// not read cannot be flushed; the rename stands all the same.
bool FlushFolder(const std::string& path) {
    UniqueFd folder(::open(FolderForCalls(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return !folder.IsOpen() || ::fsync(folder.Get()) == 0 || errno == EINVAL;
}

// A folder that takes no new file, or a file system that is read-only.
bool FolderRefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// One file of a save, from writing its new contents aside to replacing it. A temporary that
// was not put in place goes with the object.
class PendingFile {
public:
    PendingFile(std::string_view bytes, const WriteFunction& write) : Bytes(bytes), Write(write) {}
    ~PendingFile() {
        if (!TemporaryPath.empty()) {
            const ErrnoKeeper keep;
            ::unlink(TemporaryPath.c_str());
        }
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Finds the file and writes its new contents aside, or decides to write it in place.
    bool Prepare(const std::string& path) {
        if (!ResolveTarget(path, Target) || !OpenExisting()) {
            return false;
        }
        RemoveStaleTemporaries(Target);
        if (Existing.IsOpen() && Old.st_nlink > 1) {
            InPlace = true; // every name of the file is to see the new contents
            return true;
        }
        return WriteAside();
    }

    bool WritesInPlace() const { return InPlace; }

    bool Commit() {
        if (InPlace) {
            const int fd = Existing.Get();
            return WriteAll(fd, Bytes, Write) &&
                   ::ftruncate(fd, static_cast<off_t>(Bytes.size())) == 0 && ::fsync(fd) == 0 &&
                   Existing.Close();
        }
        if (::rename(TemporaryPath.c_str(), Target.c_str()) != 0) {
            return false;
        }
        TemporaryPath.clear();
        return FlushFolder(Target);
    }

private:
    // Opening the old file for writing under its own name is what entitles the save to
    // replace it.
    bool OpenExisting() {
        struct stat info {};
        if (::lstat(Target.c_str(), &info) != 0) {
            return errno == ENOENT;
        }
        if (!S_ISREG(info.st_mode)) {
            return Fail(NotARegularFileError(info.st_mode));
        }
        Existing = UniqueFd(
            ::open(Target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!Existing.IsOpen() || ::fstat(Existing.Get(), &Old) != 0) {
            return false;
        }
        return S_ISREG(Old.st_mode) || Fail(NotARegularFileError(Old.st_mode));
    }

    // A temporary without a name where the file system has them, else one under a name.
    bool WriteAside() {
        for (const bool anonymous : {true, false}) {
            UniqueFd fd(anonymous ? OpenAnonymousTemporary() : OpenNamedTemporary());
            if (!fd.IsOpen()) {
                if (anonymous) {
                    continue;
                }
                if (Existing.IsOpen() && FolderRefusesNewFiles(errno)) {
                    InPlace = true;
                    return true;
                }
                return false;
            }
            if (!TakeOverOldFile(fd.Get()) || !WriteAll(fd.Get(), Bytes, Write) ||
                ::fsync(fd.Get()) != 0) {
                return false;
            }
            if (!anonymous || NameAnonymousTemporary(fd.Get())) {
                return fd.Close();
            }
            // Neither /proc nor the privilege to link a descriptor: write it under a name.
        }
        return false;
    }

    int OpenAnonymousTemporary() {
        return ::open(FolderForCalls(Target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    }

    int OpenNamedTemporary() {
        TemporaryPath = TemporaryName(Target, ::getpid());
        ::unlink(TemporaryPath.c_str()); // left by an earlier save of this process
        const int fd = ::open(TemporaryPath.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            TemporaryPath.clear();
        }
        return fd;
    }

    // The rename needs a name; it is the name a stale temporary is recognised by.
    bool NameAnonymousTemporary(int fd) {
        const std::string name = TemporaryName(Target, ::getpid());
        ::unlink(name.c_str());
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
            ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) != 0) {
            return false;
        }
        TemporaryPath = name;
        return true;
    }

    // The new file takes the old one's owner and group where the process may set them, and
    // its mode. The owner goes first, as changing it may clear set-id bits of the mode.
    bool TakeOverOldFile(int fd) const {
        if (!Existing.IsOpen()) {
            return true;
        }
        if (::fchown(fd, Old.st_uid, Old.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), Old.st_gid) != 0) {
            // Neither may be set: the new file belongs to the user, as a new file would.
        }
        return ::fchmod(fd, Old.st_mode & 07777) == 0;
    }

    std::string_view Bytes;
    const WriteFunction& Write;
    std::string Target;
    UniqueFd Existing; // the old file, open for writing
    struct stat Old {};
    bool InPlace = false;
    std::string TemporaryPath; // the new contents under a name, until the rename
};

// On failure `failedPath` names the file that could not be written.
bool ReplaceAll(const std::vector<FileContents>& files, const WriteFunction& write,
                std::string& failedPath) {
    std::vector<std::unique_ptr<PendingFile>> pending;
    for (const FileContents& file : files) {
        failedPath = file.Path;
        pending.push_back(std::make_unique<PendingFile>(file.Bytes, write));
        if (!pending.back()->Prepare(file.Path)) {
            return false;
        }
    }
    // Writing in place can still fail half way; a rename cannot. So the files written in
    // place go first, while the others can still stay as they were.
    for (const bool inPlace : {true, false}) {
        for (size_t i = 0; i < pending.size(); ++i) {
            failedPath = files[i].Path;
            if (pending[i]->WritesInPlace() == inPlace && !pending[i]->Commit()) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool ReplaceFilesTogether(const std::vector<FileContents>& files, const WriteFunction& write,
                          WriteFailure* failure) {
    errno = 0;
    std::string failedPath;
    if (ReplaceAll(files, write, failedPath)) {
        return true;
    }
    errno = FailureReason();
    if (failure != nullptr) {
        failure->Record(failedPath);
    }
    return false;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const WriteFunction& write) {
    return ReplaceFilesTogether({{path, bytes}}, write);
}

} // namespace vg
