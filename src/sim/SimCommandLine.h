#pragma once

#include "sim/SimSerialServer.h"
#include "sim/SimUnit.h"

#include <string>
#include <vector>

namespace vg::sim {

struct SimOptions {
    std::string LinkPath;
    bool Paced = false;
    std::vector<std::string> UnitSettings;   // applied in order with ApplySimCommand
    std::vector<std::string> ServerSettings; // applied in order with ApplyLineCommand
    bool Help = false;
    bool Version = false;
};

// Reads the command line of vigilo-sim. False with a message on a bad option.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// One setting or runtime command for the unit, as typed on the simulator's standard input
// ("tool 5", "error 0x41", "silent on", ...). False with a message when it is not understood.
bool ApplySimCommand(SimUnit& unit, const std::string& line, std::string& error);

// Commands for the line rather than the unit: "noise MS BYTES" (a burst of up to BYTES
// random bytes every MS milliseconds), "noise off", "stray [N]" (one stray frame end byte
// after the reply to the request N requests ahead, 0 by default).
bool IsLineCommand(const std::string& line);
bool ApplyLineCommand(SimSerialServer& server, const std::string& line, std::string& error);

// Programs a demonstration tool table: a handful of tools at plausible angles.
void LoadDemoTools(SimUnit& unit);

// The one-line synopsis, printed with a usage error.
extern const char* const SimUsage;
// What --help prints.
std::string SimHelp();

} // namespace vg::sim
