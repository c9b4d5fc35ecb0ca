#include "cli/VgctlOptions.h"

#include <charconv>

namespace vg::cli {

const char* const VgctlUsage =
    "usage: vgctl [--dir DIR] [--port COMn|DEVICE | --fieldbus] COMMAND [ARGUMENTS]\n"
    "commands:\n"
    "  upload FILE.CD                      read the unit's configuration into FILE.CD/.NS\n"
    "  download FILE.CD [--cu-id DDDDDDDD] send FILE.CD and its tool names to the unit\n"
    "  show FILE.CD                        print the configuration report as text\n"
    "  status                              show the unit's status once\n"
    "  watch                               show every change of the status until interrupted\n"
    "--dir is the program directory (Konfig.Cfg, CD_DATA); without --port or --fieldbus the\n"
    "link is the one Konfig.Cfg names.\n";

namespace {

// "COM3" gives 3; anything else is a device path.
std::optional<int> ComPortNumber(const std::string& text) {
    if (text.size() < 4 || text.compare(0, 3, "COM") != 0) {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, ec] = std::from_chars(text.data() + 3, text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value,
               std::string& error) {
    if (i + 1 >= args.size()) {
        error = "missing value for " + args[i];
        return false;
    }
    value = args[++i];
    return true;
}

bool TakeOption(const std::vector<std::string>& args, size_t& i, VgctlOptions& options,
                std::string& error) {
    const std::string& a = args[i];
    std::string value;
    if (a == "--fieldbus") {
        options.Fieldbus = true;
    } else if (a == "--dir") {
        if (!TakeValue(args, i, value, error)) {
            return false;
        }
        options.ProgramDir = value.empty() || value.back() == '/' ? value : value + "/";
    } else if (a == "--port") {
        if (!TakeValue(args, i, value, error)) {
            return false;
        }
        options.ComPort = ComPortNumber(value);
        options.Device = options.ComPort ? "" : value;
    } else if (a == "--cu-id") {
        if (!TakeValue(args, i, options.CuId, error)) {
            return false;
        }
    } else {
        error = "unknown option " + a;
        return false;
    }
    return true;
}

bool CheckArguments(const VgctlOptions& options, std::string& error) {
    const bool takesFile =
        options.Command == "upload" || options.Command == "download" || options.Command == "show";
    const bool takesNothing = options.Command == "status" || options.Command == "watch";
    if (!takesFile && !takesNothing) {
        error = options.Command.empty() ? "no command given" : "unknown command " + options.Command;
        return false;
    }
    if (options.Arguments.size() != (takesFile ? 1u : 0u)) {
        error = options.Command + (takesFile ? " takes one file" : " takes no arguments");
        return false;
    }
    if (!options.CuId.empty() && options.Command != "download") {
        error = "--cu-id belongs to download";
        return false;
    }
    if (options.Fieldbus && (options.ComPort || !options.Device.empty())) {
        error = "--port and --fieldbus exclude each other";
        return false;
    }
    return true;
}

} // namespace

bool ParseVgctlOptions(const std::vector<std::string>& args, VgctlOptions& options,
                       std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0) {
            if (!TakeOption(args, i, options, error)) {
                return false;
            }
        } else if (options.Command.empty()) {
            options.Command = args[i];
        } else {
            options.Arguments.push_back(args[i]);
        }
    }
    return CheckArguments(options, error);
}

} // namespace vg::cli
