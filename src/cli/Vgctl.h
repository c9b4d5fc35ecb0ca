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

// Reads Konfig.Cfg from the settings folder and applies --port/--fieldbus/--fieldbus-driver
// over it.
void ApplyLinkSettings(Session& session, const VgctlOptions& options);
// Opens the link as the program does at start (loading the fieldbus driver, and starting the
// serial receiver); on failure prints the program's start-up message.
bool OpenLink(Session& session, std::ostream& err);
void CloseLink(Session& session);

} // namespace vg::cli
