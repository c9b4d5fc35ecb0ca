#pragma once

#include "cli/VgctlOptions.h"
#include "session/Session.h"

#include <ostream>
#include <string>
#include <vector>

namespace vg::cli {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr int ExitDiffer = 3; // diff: the unit and the file differ

// Runs vgctl with its arguments (without the program name); the exit status. Progress is
// drawn on `err` only when it is a terminal.
int RunVgctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool errIsTerminal = false);

// Reads Konfig.Cfg from the settings folder and applies --port/--fieldbus/--fieldbus-driver/
// --simulated over it; a settings file that is there but cannot be read is said on `err`.
void ApplyLinkSettings(Session& session, const VgctlOptions& options, std::ostream& err);
// Opens the link as the program does at start (loading the fieldbus driver, and starting the
// serial receiver); on failure prints the program's start-up message.
bool OpenLink(Session& session, std::ostream& err);
// Closes the link; a fieldbus driver whose close failed is said on `err`.
void CloseLink(Session& session, std::ostream& err);
// Flushes `out`; false when what was written to it did not arrive, said once on `err`. Output
// that did not arrive is no success: a script would take an empty or cut report.
bool OutputWritten(std::ostream& out, std::ostream& err);

} // namespace vg::cli
