#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vg {

// One option of a program's command line. getopt_long learns it from here, --help lists it,
// and Apply takes its value: adding an option is adding an entry.
struct CommandLineOption {
    std::string Name;      // the long name, without "--"
    char Short = 0;        // a one-letter name, 0 for none
    std::string ValueName; // what the value is called in --help; empty for a switch
    std::string Help;
    // Takes the value (empty for a switch); false with a message when it is malformed.
    std::function<bool(const std::string& value, std::string& error)> Apply;
};

// Reads `args` (without the program name) with getopt_long. Options may stand before, between
// or after the operands, as "--name value", "--name=value" or "-x"; "--" ends the options.
// An empty value is refused: an unset shell variable must not pass for an option not given.
// Fills `operands` in their order; false with a message on a usage error.
bool ParseCommandLine(const std::vector<std::string>& args,
                      const std::vector<CommandLineOption>& options,
                      std::vector<std::string>& operands, std::string& error);

// The options as --help lists them: one per line, the help texts aligned and wrapped to
// fit 80 columns.
std::string OptionsHelp(const std::vector<CommandLineOption>& options);

} // namespace vg
