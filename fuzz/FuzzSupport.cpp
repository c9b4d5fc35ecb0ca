#include "FuzzSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace vg::fuzz {

namespace {

std::string MakeScratchDir() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "vgfuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern + "/";
}

// Removes the directory when the process exits normally (libFuzzer ends with exit()).
struct ScratchOwner {
    std::string Path = MakeScratchDir();
    ~ScratchOwner() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
};

} // namespace

const std::string& ScratchDir() {
    static const ScratchOwner owner;
    return owner.Path;
}

void PutFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        FUZZ_CHECK(n > 0);
        done += static_cast<size_t>(n);
    }
    FUZZ_CHECK(::close(fd) == 0);
}

bool ReportHasToolLines(const TextGridCanvas& canvas, const std::vector<std::string>& lines) {
    size_t next = 0;
    for (const auto& page : canvas.Pages()) {
        for (const std::string& row : page) {
            if (next == lines.size()) {
                return true;
            }
            const std::string& line = lines[next];
            if (row.size() < line.size()) {
                continue;
            }
            const size_t indent = row.size() - line.size();
            if (row.find_first_not_of(' ') >= indent &&
                row.compare(indent, line.size(), line) == 0) {
                ++next;
            }
        }
    }
    return next == lines.size();
}

MessageResult CountingMessages::ShowMessage(const std::string& text, MessageKind,
                                            MessageButtons buttons) {
    ++Shown;
    LastText = text;
    return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Yes;
}

} // namespace vg::fuzz
