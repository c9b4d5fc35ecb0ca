#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vg::cli {

// The command line of vgctl:
//   vgctl [--dir DIR] [--port COMn|DEVICE | --fieldbus] COMMAND [ARGUMENTS]
struct VgctlOptions {
    std::string ProgramDir;     // with a trailing '/'; empty: the executable's directory
    std::optional<int> ComPort; // --port COMn
    std::string Device;         // --port DEVICE
    bool Fieldbus = false;      // --fieldbus
    std::string Command;        // upload, download, show, status, watch
    std::vector<std::string> Arguments;
    std::string CuId; // download --cu-id DDDDDDDD
};

// False with a message on a usage error.
bool ParseVgctlOptions(const std::vector<std::string>& args, VgctlOptions& options,
                       std::string& error);

extern const char* const VgctlUsage;

} // namespace vg::cli
