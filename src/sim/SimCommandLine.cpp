#include "sim/SimCommandLine.h"

#include "common/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace vg::sim {

const char* const SimUsage = "usage: vigilo-sim [OPTION]...\n";

namespace {

bool ParseNumber(const std::string& text, long& value) {
    int base = 10;
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    return ec == std::errc() && end == digits.data() + digits.size();
}

bool ParseByte(const std::string& text, uint8_t& value) {
    long v = 0;
    if (!ParseNumber(text, v) || v < 0 || v > 255) {
        return false;
    }
    value = static_cast<uint8_t>(v);
    return true;
}

// Degrees with up to two decimals, written with a point.
bool ParseHundredths(const std::string& text, uint16_t& value) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < 0 || v > 655.35) {
        return false;
    }
    value = static_cast<uint16_t>(std::lround(v * 100));
    return true;
}

// "N:ANGLE:TOLERANCE:INTENSITY", angle and tolerance in degrees.
bool ParseToolSpec(const std::string& spec, int& number, SimTool& tool) {
    std::vector<std::string> parts;
    std::stringstream in(spec);
    for (std::string part; std::getline(in, part, ':');) {
        parts.push_back(part);
    }
    uint8_t n = 0, intensity = 0;
    uint16_t angle = 0, tolerance = 0;
    if (parts.size() != 4 || !ParseByte(parts[0], n) || n > 127 ||
        !ParseHundredths(parts[1], angle) || !ParseHundredths(parts[2], tolerance) ||
        tolerance > 2550 || !ParseByte(parts[3], intensity) || intensity > 3) {
        return false;
    }
    number = n;
    tool = {true, angle, static_cast<uint8_t>(tolerance / 10), intensity};
    return true;
}

bool ParseFirmware(const std::string& text, uint8_t& major, uint8_t& minor) {
    const auto dot = text.find('.');
    return dot != std::string::npos && ParseByte(text.substr(0, dot), major) &&
           ParseByte(text.substr(dot + 1), minor);
}

// Eight digits are a valid identifier; other printable characters make the namespace block
// one the program refuses, as a unit that never got an identifier has.
bool IsIdentifier(const std::string& text) {
    return text.size() == 8 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

bool ApplyWord(SimUnit& unit, const std::string& word, const std::string& arg) {
    uint8_t byte = 0;
    uint16_t hundredths = 0;
    long number = 0;
    if (word == "tool" && ParseByte(arg, byte)) {
        unit.SetCurrentTool(byte);
    } else if (word == "actual" && ParseByte(arg, byte)) {
        unit.SetActualTool(byte);
    } else if (word == "error" && ParseByte(arg, byte)) {
        unit.SetErrorBits(byte);
    } else if (word == "object" && ParseHundredths(arg, hundredths)) {
        unit.SetObjectAngle(hundredths);
    } else if (word == "speed" && ParseNumber(arg, number) && number > 0) {
        unit.SetSpeed(static_cast<uint32_t>(number * 100));
    } else if (word == "silent" && (arg == "on" || arg == "off")) {
        unit.SetSilent(arg == "on");
    } else if (word == "delay" && ParseNumber(arg, number) && number >= 0) {
        unit.SetAnswerDelay(std::chrono::milliseconds(number));
    } else if (word == "variant" && ParseByte(arg, byte)) {
        unit.SetVariant(byte);
    } else if (word == "cu-id" && IsIdentifier(arg)) {
        unit.SetCuId(arg);
    } else if (word == "goto" && ParseHundredths(arg, hundredths)) {
        // As if the program had sent a go-to-position request (a silent unit ignores it).
        DeviceRequest request{0, RequestCode::GoToPosition, 0, 0, 0, 0};
        SetMessageWord(request, hundredths);
        unit.HandleRequest(request);
    } else if (word == "misstore" && (arg == "off" || (ParseByte(arg, byte) && byte < 128))) {
        SimFaults faults = unit.Faults();
        faults.MisstoredTool = arg == "off" ? -1 : byte;
        unit.SetFaults(faults);
    } else if (word == "goback" && arg.empty()) {
        unit.HandleRequest(DeviceRequest{0, RequestCode::GoBack, 0, 0, 0, 0});
    } else {
        return false;
    }
    return true;
}

bool ApplyStructured(SimUnit& unit, const std::string& word, const std::string& arg,
                     const std::string& rest) {
    uint8_t major = 0, minor = 0, byte = 0;
    int number = 0;
    SimTool tool;
    if (word == "firmware" && ParseFirmware(arg, major, minor)) {
        unit.SetFirmware(major, minor);
    } else if (word == "set" && ParseToolSpec(arg, number, tool)) {
        unit.SetTool(number, tool);
    } else if (word == "clear" && ParseByte(arg, byte) && byte < 128) {
        unit.SetTool(byte, SimTool{});
    } else if (word == "param" && ParseByte(arg, byte) && byte < 32) {
        uint8_t value = 0;
        if (!ParseByte(rest, value)) {
            return false;
        }
        unit.SetParameter(byte, value);
    } else {
        return false;
    }
    return true;
}

} // namespace

bool ApplySimCommand(SimUnit& unit, const std::string& line, std::string& error) {
    std::stringstream in(line);
    std::string word, arg, rest;
    in >> word >> arg >> rest;
    if (word.empty()) {
        return true;
    }
    if (word == "demo-tools") {
        LoadDemoTools(unit);
        return true;
    }
    if (ApplyWord(unit, word, arg) || ApplyStructured(unit, word, arg, rest)) {
        return true;
    }
    error = "not understood: " + line;
    return false;
}

bool IsLineCommand(const std::string& line) {
    std::stringstream in(line);
    std::string word;
    in >> word;
    return word == "noise" || word == "stray";
}

bool ApplyLineCommand(SimSerialServer& server, const std::string& line, std::string& error) {
    std::stringstream in(line);
    std::string word, first, second, rest;
    in >> word >> first >> second >> rest;
    long period = 0, bytes = 0, requests = 0;
    if (word == "noise" && first == "off" && second.empty()) {
        server.SetNoise(std::chrono::milliseconds(0), 0);
    } else if (word == "noise" && ParseNumber(first, period) && period > 0 &&
               ParseNumber(second, bytes) && bytes > 0 && rest.empty()) {
        server.SetNoise(std::chrono::milliseconds(period), static_cast<int>(bytes));
    } else if (word == "stray" && second.empty() &&
               (first.empty() || (ParseNumber(first, requests) && requests >= 0))) {
        server.SetStrayByte(static_cast<int>(requests));
    } else {
        error = "not understood: " + line;
        return false;
    }
    return true;
}

void LoadDemoTools(SimUnit& unit) {
    unit.SetTool(1, {true, 9000, 20, 3});
    unit.SetTool(2, {true, 4550, 10, 1});
    unit.SetTool(5, {true, 16000, 10, 1});
    unit.SetTool(17, {true, 115, 7, 0});
    unit.SetTool(42, {true, 6543, 15, 2});
}

namespace {

// Every option of vigilo-sim, writing into `options`. Options with a value are the runtime
// commands of the same meaning, applied in order before the unit starts answering.
std::vector<CommandLineOption> SimOptionTable(SimOptions& options) {
    const auto command = [&options](const char* word) {
        return [&options, word](const std::string& value, std::string&) {
            options.UnitSettings.push_back(std::string(word) + " " + value);
            return true;
        };
    };
    const auto flag = [](bool& field) {
        return [&field](const std::string&, std::string&) {
            field = true;
            return true;
        };
    };
    return {
        {"link", 0, "PATH", "also make PATH a link to the terminal (such as COMn)",
         [&options](const std::string& value, std::string&) {
             options.LinkPath = value;
             return true;
         }},
        {"pace", 0, "", "answer no faster than the line's 19200 bit/s", flag(options.Paced)},
        {"variant", 0, "N", "the device variant, which sets the tool capacity", command("variant")},
        {"firmware", 0, "MAJOR.MINOR", "the firmware version", command("firmware")},
        {"cu-id", 0, "IDENTIFIER",
         "the control-unit identifier: eight characters; anything but eight digits is a "
         "namespace block the program cannot use",
         command("cu-id")},
        {"tool", 0, "N:ANGLE:TOLERANCE:INTENSITY", "program tool N (may be repeated)",
         command("set")},
        {"demo-tools", 0, "", "program a handful of demonstration tools",
         [&options](const std::string&, std::string&) {
             options.UnitSettings.emplace_back("demo-tools");
             return true;
         }},
        {"object", 0, "ANGLE", "where the scanner finds the tool", command("object")},
        {"speed", 0, "DEGREES_PER_SECOND", "how fast the scanner turns", command("speed")},
        {"delay", 0, "MS", "wait this long before every answer", command("delay")},
        {"noise", 0, "MS:BYTES", "put up to BYTES random bytes on the line every MS milliseconds",
         [&options](const std::string& value, std::string&) {
             const auto colon = value.find(':');
             options.ServerSettings.push_back(
                 "noise " + value.substr(0, colon) + " " +
                 (colon == std::string::npos ? std::string() : value.substr(colon + 1)));
             return true;
         }},
        {"misstore", 0, "N",
         "answer a write of tool N as done but keep an angle one degree greater",
         command("misstore")},
        {"silent", 0, "", "do not answer at all",
         [&options](const std::string&, std::string&) {
             options.UnitSettings.emplace_back("silent on");
             return true;
         }},
        {"help", 'h', "", "print this help and exit", flag(options.Help)},
        {"version", 0, "", "print the version and exit", flag(options.Version)},
    };
}

} // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
    std::vector<std::string> operands;
    if (!ParseCommandLine(args, SimOptionTable(options), operands, error)) {
        return false;
    }
    if (!operands.empty()) {
        error = "unexpected argument " + operands.front();
        return false;
    }
    return true;
}

std::string SimHelp() {
    SimOptions unused;
    return std::string(SimUsage) +
           "Opens a pseudo-terminal, prints its path and answers as a control unit on it.\n"
           "\nOptions:\n" +
           OptionsHelp(SimOptionTable(unused)) +
           "\nCommands on standard input:\n"
           "  tool N | actual N | error BITS | object ANGLE | silent on|off | delay MS\n"
           "  variant N | firmware X.YY | cu-id IDENTIFIER | clear N\n"
           "  set N:ANGLE:TOLERANCE:INTENSITY | param N VALUE | goto ANGLE | goback\n"
           "  noise MS BYTES | noise off | misstore N|off | stray [N] | hangup | quit\n";
}

} // namespace vg::sim
