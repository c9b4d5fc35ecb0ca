#include "link/SerialOpenFailure.h"

#include "common/AsciiText.h"
#include "link/ComLinks.h"
#include "link/PortHolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace vg {

namespace {

std::string ComName(int16_t port) {
    return std::string("COM").append(std::to_string(port));
}

std::string MissingAdvice(const SerialOpenFailure& failure, const std::string& device) {
    if (failure.Port == 0) {
        return "It is not there: is the adapter plugged in?";
    }
    const std::string com = ComName(failure.Port);
    if (failure.Path == failure.LinkDir + com) {
        return std::string(com)
            .append(" leads through ")
            .append(failure.Path)
            .append(" to ")
            .append(device)
            .append(", which is not there: is the adapter plugged in?");
    }
    return std::string(com)
        .append(" was looked for as ")
        .append(failure.LinkDir)
        .append(com)
        .append(" and as ")
        .append(failure.Path)
        .append("; neither is there.");
}

std::string GroupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry != nullptr ? entry->gr_name : std::to_string(gid);
}

std::string UserName(uid_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry != nullptr ? entry->pw_name : std::to_string(uid);
}

std::string PermissionAdvice(const std::string& device) {
    struct stat node {};
    if (::stat(device.c_str(), &node) != 0) {
        return "";
    }
    if ((node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)) {
        const std::string group = GroupName(node.st_gid);
        return std::string("Members of group ")
            .append(group)
            .append(" may open it: sudo usermod -aG ")
            .append(group)
            .append(" $USER, then log in again.");
    }
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", node.st_mode & 07777);
    return std::string("Only its owner, ")
        .append(UserName(node.st_uid))
        .append(", may open it (mode ")
        .append(mode)
        .append(").");
}

std::string HeldAdvice(const std::string& device) {
    std::vector<PortHolder> holders = FindPortHolders(device);
    // Whoever holds the lock is the one in the way; the others merely have it open.
    if (std::any_of(holders.begin(), holders.end(), [](const PortHolder& h) { return h.Locks; })) {
        std::erase_if(holders, [](const PortHolder& h) { return !h.Locks; });
    }
    if (holders.empty()) {
        return "It is in use by another program.";
    }
    return std::string("It is in use by another program: ")
        .append(PortHoldersText(holders))
        .append(".");
}

bool IsHeld(const SerialOpenFailure& failure) {
    return failure.Reason == EBUSY ||
           (failure.FailedAt == SerialOpenFailure::Step::Lock && failure.Reason == EWOULDBLOCK);
}

std::string Advice(const SerialOpenFailure& failure, const std::string& device) {
    if (IsHeld(failure)) {
        return HeldAdvice(device);
    }
    switch (failure.Reason) {
    case ENOENT:
        return MissingAdvice(failure, device);
    case EACCES:
    case EPERM:
        return PermissionAdvice(device);
    case ENOTTY:
        return "It is not a serial port.";
    default:
        return "";
    }
}

} // namespace

std::string DescribeOpenFailure(const SerialOpenFailure& failure) {
    if (failure.FailedAt == SerialOpenFailure::Step::None) {
        return "";
    }
    const std::string device = FinalLinkTarget(failure.Path);
    // A lock someone else holds reads as the busy device it is, not as "try again".
    const int reason = IsHeld(failure) ? EBUSY : failure.Reason;
    std::string text = std::string("Device ")
                           .append(EscapedText(device))
                           .append(": ")
                           .append(std::strerror(reason));
    // One line of advice; the paths and names in it come from outside.
    const std::string advice = EscapedText(Advice(failure, device));
    if (!advice.empty()) {
        text.append("\n").append(advice);
    }
    return text;
}

} // namespace vg
