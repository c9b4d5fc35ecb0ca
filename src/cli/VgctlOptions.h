#pragma once

#include "common/ProgramFolders.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vg::cli {

// The command line of vgctl:
//   vgctl [OPTION]... COMMAND [FILE.CD]
struct VgctlOptions {
    std::string ProgramDir;     // --dir, with a trailing '/'; empty: the program's own folders
    std::optional<int> ComPort; // --port COMn
    std::string Device;         // --port DEVICE
    bool Fieldbus = false;      // --fieldbus
    std::string FieldbusDriver; // --fieldbus-driver PATH, made absolute when it names a folder
    bool Simulated = false;     // --simulated: the built-in simulated unit, for a trial
    std::string Command;        // upload, download, diff, show, status, watch, ports
    std::vector<std::string> Arguments;
    std::string CuId;      // download --cu-id DDDDDDDD
    bool Probe = false;    // ports --probe
    bool Verify = false;   // download --verify
    bool Csv = false;      // show --csv, watch --csv
    std::string TraceFile; // --trace FILE
    bool Help = false;
    bool Version = false;
    std::set<std::string> Given; // the long names of the options given
};

// False with a message on a usage error. --help and --version need no command.
bool ParseVgctlOptions(const std::vector<std::string>& args, VgctlOptions& options,
                       std::string& error);

// The one-line synopsis, printed with a usage error.
extern const char* const VgctlUsage;
// What --help prints; `folders` are the ones this run uses.
std::string VgctlHelp(const ProgramFolders& folders);

} // namespace vg::cli
