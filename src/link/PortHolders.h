#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vg {

// A process that keeps a serial device from being ours.
struct PortHolder {
    pid_t Pid = 0;
    std::string Name;   // the program's name as the system keeps it
    bool Locks = false; // it holds a lock on the device, not only a descriptor
};

// The processes other than this one that hold a lock on `device` or have it open, lock holders
// first. Only what the system shows this user: another user's processes are seen with their
// locks, but not with their descriptors.
std::vector<PortHolder> FindPortHolders(const std::string& device);

// "minicom (process 1234)", several joined with ", ".
std::string PortHoldersText(const std::vector<PortHolder>& holders);

} // namespace vg
