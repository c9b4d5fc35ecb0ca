#include "link/ComLinks.h"

#include "common/ProgramFolders.h"
#include "common/WriteFailure.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace vg {

namespace fs = std::filesystem;

namespace {
// Longer chains are loops, as the kernel counts them.
constexpr int MaxLinkHops = 40;

std::string ComLinkPath(const std::string& linkDir, int16_t port) {
    return linkDir + "COM" + std::to_string(port);
}
} // namespace

std::string ComPortPath(const std::string& linkDir, int16_t port, const std::string& devDir) {
    const std::string local = ComLinkPath(linkDir, port);
    std::error_code ec;
    if (!linkDir.empty() && fs::symlink_status(local, ec).type() != fs::file_type::not_found) {
        return local;
    }
    return devDir + "ttyS" + std::to_string(port - 1);
}

std::optional<int16_t> ComPortOfName(const std::string& name) {
    if (name.size() != 4 || name.compare(0, 3, "COM") != 0 || name[3] < '1' || name[3] > '6') {
        return std::nullopt;
    }
    return static_cast<int16_t>(name[3] - '0');
}

std::string FinalLinkTarget(const std::string& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        const fs::path device = fs::canonical(path, ec);
        return ec ? path : device.string();
    }
    fs::path current = path;
    for (int hop = 0; hop < MaxLinkHops && fs::is_symlink(current, ec); ++hop) {
        const fs::path target = fs::read_symlink(current, ec);
        if (ec) {
            break;
        }
        current =
            (target.is_absolute() ? target : current.parent_path() / target).lexically_normal();
    }
    return current.string();
}

ComLinkResult MakeComLink(const std::string& linkDir, int16_t port, const std::string& target,
                          bool replaceOther, std::string& failure) {
    WriteFailure written;
    if (!MakeFolders(linkDir, PrivateFolderMode)) {
        written.Record(linkDir);
        failure = written.Line();
        return ComLinkResult::Failed;
    }
    const std::string link = ComLinkPath(linkDir, port);
    std::error_code ec;
    const fs::file_type found = fs::symlink_status(link, ec).type();
    if (found != fs::file_type::not_found && found != fs::file_type::symlink && !replaceOther) {
        return ComLinkResult::NotALink;
    }
    // The new link is made beside the old one and renamed over it, so COMn is never missing
    // and a failure leaves the old one as it was.
    const std::string fresh = link + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(target.c_str(), fresh.c_str()) != 0) {
        written.Record(fresh);
        failure = written.Line();
        return ComLinkResult::Failed;
    }
    if (std::rename(fresh.c_str(), link.c_str()) != 0) {
        written.Record(link);
        failure = written.Line();
        ::unlink(fresh.c_str());
        return ComLinkResult::Failed;
    }
    return ComLinkResult::Linked;
}

} // namespace vg
