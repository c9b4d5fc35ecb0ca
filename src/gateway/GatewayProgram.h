#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vg {

// vg-gateway: its command line, its service life and its signals. `args` without the
// program name; returns the exit status.
int RunGateway(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Where the gateway keeps its backups when no --state-dir is given: the first folder of
// $STATE_DIRECTORY (set by the service manager), else $XDG_STATE_HOME/vg-config/gateway/
// (default ~/.local/state). Ends with '/'; empty when none can be told.
std::string DefaultStateFolder();

} // namespace vg
