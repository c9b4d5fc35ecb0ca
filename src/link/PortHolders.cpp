#include "link/PortHolders.h"

#include "common/AsciiText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vg {

namespace {

bool IsProcessNumber(const char* name) {
    return *name != '\0' &&
           std::all_of(name, name + std::char_traits<char>::length(name),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::string ProgramName(pid_t pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

bool Listed(const std::vector<PortHolder>& holders, pid_t pid) {
    return std::any_of(holders.begin(), holders.end(),
                       [pid](const PortHolder& h) { return h.Pid == pid; });
}

// A line of /proc/locks: "1: FLOCK  ADVISORY  WRITE 1234 00:19:7 0 EOF", the device of the
// file system in hex and the inode in decimal. Waiting requests ("1: -> FLOCK ...") hold
// nothing.
bool LockHolder(const std::string& line, const struct stat& node, pid_t& pid) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, file;
    long long holder = 0;
    if (!(fields >> number >> kind) || kind == "->" ||
        !(fields >> mode >> access >> holder >> file)) {
        return false;
    }
    unsigned int fsMajor = 0, fsMinor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(file.c_str(), "%x:%x:%llu", &fsMajor, &fsMinor, &inode) != 3) {
        return false;
    }
    pid = static_cast<pid_t>(holder);
    return holder > 0 && fsMajor == major(node.st_dev) && fsMinor == minor(node.st_dev) &&
           inode == node.st_ino;
}

void AddLockHolders(const struct stat& node, std::vector<PortHolder>& holders) {
    std::ifstream locks("/proc/locks");
    std::string line;
    pid_t pid = 0;
    while (std::getline(locks, line)) {
        if (LockHolder(line, node, pid) && pid != ::getpid() && !Listed(holders, pid)) {
            holders.push_back({pid, ProgramName(pid), true});
        }
    }
}

bool HasDeviceOpen(const std::string& fdDir, dev_t device) {
    DIR* fds = ::opendir(fdDir.c_str());
    if (fds == nullptr) {
        return false; // another user's process: not ours to look into
    }
    bool found = false;
    while (const dirent* entry = ::readdir(fds)) {
        const std::string fd = fdDir + entry->d_name;
        char target[64] = {};
        // Only what leads into /dev is looked at: a stat of any other file could wait on a
        // network file system.
        if (::readlink(fd.c_str(), target, sizeof target - 1) <= 0 ||
            std::string_view(target).substr(0, 5) != "/dev/") {
            continue;
        }
        struct stat info {};
        if (::stat(fd.c_str(), &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == device) {
            found = true;
            break;
        }
    }
    ::closedir(fds);
    return found;
}

void AddDescriptorHolders(dev_t device, std::vector<PortHolder>& holders) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(proc)) {
        if (!IsProcessNumber(entry->d_name)) {
            continue;
        }
        const auto pid = static_cast<pid_t>(std::stol(entry->d_name));
        if (pid != ::getpid() && !Listed(holders, pid) &&
            HasDeviceOpen("/proc/" + std::string(entry->d_name) + "/fd/", device)) {
            holders.push_back({pid, ProgramName(pid), false});
        }
    }
    ::closedir(proc);
}

} // namespace

std::vector<PortHolder> FindPortHolders(const std::string& device) {
    std::vector<PortHolder> holders;
    struct stat node {};
    if (::stat(device.c_str(), &node) != 0 || !S_ISCHR(node.st_mode)) {
        return holders;
    }
    AddLockHolders(node, holders);
    AddDescriptorHolders(node.st_rdev, holders);
    return holders;
}

std::string PortHoldersText(const std::vector<PortHolder>& holders) {
    std::string text;
    for (const PortHolder& holder : holders) {
        if (!text.empty()) {
            text += ", ";
        }
        text.append(EscapedText(holder.Name))
            .append(" (process ")
            .append(std::to_string(holder.Pid))
            .append(")");
    }
    return text;
}

} // namespace vg
