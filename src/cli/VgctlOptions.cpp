#include "cli/VgctlOptions.h"

#include "common/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>

namespace vg::cli {

const char* const VgctlUsage = "usage: vgctl [OPTION]... COMMAND [FILE.CD]\n";

namespace {

struct CommandEntry {
    const char* Name;
    const char* Operand; // "" when the command takes none
    const char* Help;
};

constexpr CommandEntry Commands[] = {
    {"upload", "FILE.CD", "read the unit into FILE.CD and its tool names into FILE.NS"},
    {"download", "FILE.CD", "send FILE.CD and its tool names to the unit"},
    {"diff", "FILE.CD", "compare the unit with FILE.CD, one line per difference"},
    {"show", "FILE.CD", "print the configuration report as text"},
    {"status", "", "show the unit's status once"},
    {"watch", "", "show every change of the status until interrupted"},
    {"ports", "", "the serial devices: who may open them, which COMn lead there"},
};

// An option of vgctl, and the commands it belongs to, separated by blanks (nullptr: every
// command).
struct VgctlOption {
    CommandLineOption Option;
    const char* OnlyFor = nullptr;
};

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// "download", "show and watch".
std::string CommandList(const char* onlyFor) {
    const std::vector<std::string> commands = Words(onlyFor);
    std::string text = commands.front();
    for (size_t i = 1; i < commands.size(); ++i) {
        text += (i + 1 == commands.size() ? " and " : ", ") + commands[i];
    }
    return text;
}

bool BelongsTo(const VgctlOption& option, const std::string& command) {
    const std::vector<std::string> commands = Words(option.OnlyFor);
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

// "COM3" gives 3; nothing when what follows "COM" is not a number.
std::optional<int> ComPortNumber(const std::string& text) {
    const char* last = text.data() + text.size();
    int number = 0;
    const auto [end, ec] = std::from_chars(text.data() + 3, last, number);
    if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
}

bool ApplyPort(const std::string& value, VgctlOptions& options, std::string& error) {
    if (value.rfind("COM", 0) != 0) {
        options.Device = value;
        options.ComPort.reset();
        return true;
    }
    const std::optional<int> number = ComPortNumber(value);
    if (!number || *number < 1 || *number > 6) {
        error = value + " is not a port: COM1 to COM6, or a device path";
        return false;
    }
    options.ComPort = number;
    options.Device.clear();
    return true;
}

bool ApplyDir(const std::string& value, VgctlOptions& options, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(value, ec)) {
        error = value + ": " + (ec ? ec.message() : "Not a directory");
        return false;
    }
    options.ProgramDir = value.back() == '/' ? value : value + "/";
    return true;
}

// A path with a folder in it is taken from the current folder, as on any command line; a bare
// library name is left to the library search.
std::string DriverPathFromHere(const std::string& value) {
    if (value.find('/') == std::string::npos) {
        return value;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(value, ec);
    return ec ? value : absolute.lexically_normal().string();
}

// Every option of vgctl, writing into `options`.
std::vector<VgctlOption> OptionTable(VgctlOptions& options) {
    return {
        {{"dir", 0, "DIR", "the program folder, with Konfig.Cfg, the COMn links and CD_DATA",
          [&options](const std::string& v, std::string& e) {
              return ApplyDir(v, options, e);
          }}},
        {{"port", 0, "COMn|DEVICE", "use this serial port, whatever Konfig.Cfg says",
          [&options](const std::string& v, std::string& e) {
              return ApplyPort(v, options, e);
          }}},
        {{"fieldbus", 0, "", "use the fieldbus, whatever Konfig.Cfg says",
          [&options](const std::string&, std::string&) {
              options.Fieldbus = true;
              return true;
          }}},
        {{"fieldbus-driver", 0, "PATH", "use the fieldbus through this driver library",
          [&options](const std::string& v, std::string&) {
              options.FieldbusDriver = DriverPathFromHere(v);
              return true;
          }}},
        {{"simulated", 0, "", "talk to the built-in simulated unit, for a trial without a unit",
          [&options](const std::string&, std::string&) {
              options.Simulated = true;
              return true;
          }}},
        {{"cu-id", 0, "DDDDDDDD", "keep the tool names under this identifier",
          [&options](const std::string& v, std::string&) {
              options.CuId = v;
              return true;
          }},
         "download"},
        {{"probe", 0, "", "ask each free port whether a unit answers (0.3 s a port)",
          [&options](const std::string&, std::string&) {
              options.Probe = true;
              return true;
          }},
         "ports"},
        {{"verify", 0, "", "read the unit back and name every value it holds other than sent",
          [&options](const std::string&, std::string&) {
              options.Verify = true;
              return true;
          }},
         "download"},
        {{"csv", 0, "", "print comma-separated values instead of text",
          [&options](const std::string&, std::string&) {
              options.Csv = true;
              return true;
          }},
         "show watch"},
        {{"trace", 0, "FILE", "write every frame on the line and every link event to FILE",
          [&options](const std::string& v, std::string&) {
              options.TraceFile = v;
              return true;
          }}},
        {{"help", 'h', "", "print this help and exit",
          [&options](const std::string&, std::string&) {
              options.Help = true;
              return true;
          }}},
        {{"version", 0, "", "print the version and exit",
          [&options](const std::string&, std::string&) {
              options.Version = true;
              return true;
          }}},
    };
}

const CommandEntry* FindCommand(const std::string& name) {
    const auto it = std::find_if(std::begin(Commands), std::end(Commands),
                                 [&name](const CommandEntry& c) { return name == c.Name; });
    return it != std::end(Commands) ? &*it : nullptr;
}

// Commands that talk to a unit; show and ports without --probe never touch the line.
bool UsesTheLine(const VgctlOptions& options) {
    return options.Command != "show" && (options.Command != "ports" || options.Probe);
}

bool CheckArguments(const VgctlOptions& options, const std::vector<VgctlOption>& table,
                    std::string& error) {
    const CommandEntry* command = FindCommand(options.Command);
    if (command == nullptr) {
        error = options.Command.empty() ? "no command given" : "unknown command " + options.Command;
        return false;
    }
    const bool takesFile = *command->Operand != '\0';
    if (options.Arguments.size() != (takesFile ? 1u : 0u)) {
        error = options.Command + (takesFile ? " takes one file" : " takes no arguments");
        return false;
    }
    for (const VgctlOption& option : table) {
        if (option.OnlyFor != nullptr && options.Given.count(option.Option.Name) != 0 &&
            !BelongsTo(option, options.Command)) {
            error = "--" + option.Option.Name + " belongs to " + CommandList(option.OnlyFor);
            return false;
        }
    }
    for (const char* fieldbus : {"fieldbus", "fieldbus-driver"}) {
        if (options.Given.count(fieldbus) != 0 && options.Given.count("port") != 0) {
            error = std::string("--port and --") + fieldbus + " exclude each other";
            return false;
        }
    }
    for (const char* unit : {"port", "fieldbus-driver"}) {
        if (options.Given.count(unit) != 0 && options.Given.count("simulated") != 0) {
            error = std::string("--") + unit + " and --simulated exclude each other";
            return false;
        }
    }
    if (options.Given.count("trace") != 0 && !UsesTheLine(options)) {
        error = "--trace belongs to upload, download, diff, status, watch and ports --probe";
        return false;
    }
    return true;
}

} // namespace

bool ParseVgctlOptions(const std::vector<std::string>& args, VgctlOptions& options,
                       std::string& error) {
    const std::vector<VgctlOption> table = OptionTable(options);
    std::vector<CommandLineOption> lineOptions;
    for (const VgctlOption& option : table) {
        CommandLineOption lineOption = option.Option;
        lineOption.Apply = [&options, name = lineOption.Name,
                            apply = lineOption.Apply](const std::string& value, std::string& e) {
            options.Given.insert(name);
            return apply(value, e);
        };
        lineOptions.push_back(std::move(lineOption));
    }
    std::vector<std::string> operands;
    if (!ParseCommandLine(args, lineOptions, operands, error)) {
        return false;
    }
    if (!operands.empty()) {
        options.Command = operands.front();
        options.Arguments.assign(operands.begin() + 1, operands.end());
    }
    return options.Help || options.Version || CheckArguments(options, table, error);
}

std::string VgctlHelp(const ProgramFolders& folders) {
    std::string text = VgctlUsage;
    text += "Backs up, restores and watches a Vigilo control unit from a terminal or script.\n"
            "\nCommands:\n";
    for (const CommandEntry& command : Commands) {
        std::string head = std::string(command.Name) + " " + command.Operand;
        text += "  " + head + std::string(18 - head.size(), ' ') + command.Help + "\n";
    }
    VgctlOptions unused;
    std::vector<CommandLineOption> lineOptions;
    for (VgctlOption& option : OptionTable(unused)) {
        if (option.OnlyFor != nullptr) {
            std::string help = "(";
            help.append(CommandList(option.OnlyFor)).append(") ").append(option.Option.Help);
            option.Option.Help = help;
        }
        lineOptions.push_back(option.Option);
    }
    text += "\nOptions:\n" + OptionsHelp(lineOptions);
    text += "\nWithout --port or --fieldbus the link is the one Konfig.Cfg names; the fieldbus\n"
            "goes through the driver library that --fieldbus-driver or Konfig.Cfg (D:) names.\n"
            "The built-in simulated unit answers only with --simulated.\n"
            "Settings (Konfig.Cfg) and COMn links: " +
            folders.Settings + "\nConfigurations (CD_DATA): " + folders.Data +
            "CD_DATA\nExit status: 0 success, 1 failure, 2 usage error; diff: 3 when the unit\n"
            "and the file differ.\n";
    return text;
}

} // namespace vg::cli
