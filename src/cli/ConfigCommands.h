#pragma once

#include "cli/VgctlOptions.h"
#include "session/Session.h"

#include <ostream>
#include <string>

namespace vg::cli {

// upload, download, diff and show: the commands that move, compare or print a configuration.
bool IsConfigCommand(const std::string& command);

// Runs one of them with the link settings already applied; the exit status. Progress is
// drawn on `err` only when it is a terminal.
int RunConfigCommand(Session& session, const VgctlOptions& options, std::ostream& out,
                     std::ostream& err, bool errIsTerminal);

} // namespace vg::cli
