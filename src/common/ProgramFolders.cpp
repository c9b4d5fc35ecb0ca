#include "common/ProgramFolders.h"

#include "common/ProgramInfo.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {

namespace {

constexpr const char* FolderName = "vg-config/";

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The XDG rules ignore a relative path in their variables.
std::string BaseFolder(const std::string& variable, const std::string& home,
                       const char* fallbackBelowHome) {
    if (!variable.empty() && variable.front() == '/') {
        return WithSeparator(variable);
    }
    return WithSeparator(home) + fallbackBelowHome;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

UserEnvironment UserEnvironment::OfThisProcess() {
    UserEnvironment user{Variable("HOME"), Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME")};
    if (user.Home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr) {
            user.Home = entry->pw_dir;
        }
    }
    return user;
}

ProgramFolders PortableFolders(const std::string& programDir) {
    const std::string program = WithSeparator(programDir);
    return {program, program, program, program + SharedFolderFromPrograms, true};
}

ProgramFolders FoldersFor(const std::string& programDir, const UserEnvironment& user) {
    ProgramFolders folders = PortableFolders(programDir);
    // Root may write /usr/bin: an installation is told by its shared folder, not by the
    // permissions alone.
    const bool installed = IsFolder(folders.Shared);
    if (!installed && ::access(folders.Program.c_str(), W_OK) == 0) {
        return folders;
    }
    folders.Portable = false;
    folders.Settings = UserSettingsFolder(user);
    folders.Data = BaseFolder(user.DataHome, user.Home, ".local/share/") + FolderName;
    return folders;
}

std::string UserSettingsFolder(const UserEnvironment& user) {
    return BaseFolder(user.ConfigHome, user.Home, ".config/") + FolderName;
}

ProgramFolders RunningProgramFolders() {
    return FoldersFor(ExecutableDirectory(), UserEnvironment::OfThisProcess());
}

std::string ExecutableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "./";
    }
    return exe.parent_path().string() + "/";
}

bool MakeFolders(const std::string& folder, mode_t mode) {
    // Every leading part of the path in turn, then the whole of it.
    size_t end = 0;
    do {
        end = folder.find('/', end + 1);
        const std::string part = folder.substr(0, end);
        struct stat info {};
        if (::stat(part.c_str(), &info) != 0 &&
            (errno != ENOENT || (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST))) {
            return false;
        }
    } while (end != std::string::npos);
    if (!IsFolder(folder)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

} // namespace vg
