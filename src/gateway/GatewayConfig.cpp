#include "gateway/GatewayConfig.h"

#include "link/ComLinks.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ini.h>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {

namespace fs = std::filesystem;

namespace {

// A section as it stands in the file, with the keys given in it.
struct Section {
    std::string Header; // between the brackets
    int Line = 0;
    std::map<std::string, std::pair<std::string, int>> Keys; // value and line
};

// What the INI library hands over, line by line. It reads through LineReader, which counts the
// lines, so that every key and every fault can name its line.
struct ParseState {
    FILE* File = nullptr;
    int Line = 0;
    std::vector<Section> Sections;
    std::vector<ConfigFault> Faults;
};

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// Notes where each section header stands, so that a section without keys is seen too.
void NoteSectionHeader(ParseState& state, const char* line) {
    const std::string text = Trimmed(line);
    if (text.empty() || text.front() != '[') {
        return;
    }
    const size_t close = text.find(']');
    if (close == std::string::npos) {
        return; // the library reports the malformed line
    }
    state.Sections.push_back(
        {Trimmed(std::string_view(text).substr(1, close - 1)), state.Line, {}});
}

char* LineReader(char* buffer, int size, void* stream) {
    auto& state = *static_cast<ParseState*>(stream);
    if (std::fgets(buffer, size, state.File) == nullptr) {
        return nullptr;
    }
    ++state.Line;
    const size_t length = std::char_traits<char>::length(buffer);
    if (length > 0 && buffer[length - 1] != '\n' && !std::feof(state.File)) {
        state.Faults.push_back(
            {state.Line, "line longer than " + std::to_string(size - 2) + " characters"});
        for (int c = std::fgetc(state.File); c != EOF && c != '\n'; c = std::fgetc(state.File)) {
        }
        buffer[0] = '\0';
        return buffer;
    }
    NoteSectionHeader(state, buffer);
    return buffer;
}

int KeyHandler(void* user, const char* /*section*/, const char* name, const char* value) {
    auto& state = *static_cast<ParseState*>(user);
    if (state.Sections.empty()) {
        state.Faults.push_back({state.Line, std::string(name) + " stands before any section"});
        return 1;
    }
    Section& section = state.Sections.back();
    if (!section.Keys.emplace(name, std::make_pair(std::string(value), state.Line)).second) {
        state.Faults.push_back({state.Line, std::string(name) + " is given twice"});
    }
    return 1;
}

// Checks and takes the values of one section, key by key.
class SectionReader {
public:
    SectionReader(const Section& section, std::vector<ConfigFault>& faults)
        : Source(section), Faults(faults) {}

    bool Has(const std::string& key) const { return Source.Keys.count(key) != 0; }
    int LineOf(const std::string& key) const {
        const auto it = Source.Keys.find(key);
        return it == Source.Keys.end() ? Source.Line : it->second.second;
    }

    void Text(const std::string& key, std::string& target) {
        const auto it = Source.Keys.find(key);
        Known.insert(key);
        if (it == Source.Keys.end()) {
            return;
        }
        if (it->second.first.empty()) {
            Fault(it->second.second, key + " has no value");
            return;
        }
        target = it->second.first;
    }

    void Number(const std::string& key, int low, int high, int& target) {
        std::string text;
        Text(key, text);
        if (text.empty()) {
            return;
        }
        int number = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec != std::errc() || end != text.data() + text.size() || number < low ||
            number > high) {
            Fault(LineOf(key), key + " must be a whole number from " + std::to_string(low) +
                                   " to " + std::to_string(high) + ", not " + text);
            return;
        }
        target = number;
    }

    // Every key that no Text or Number call asked for.
    void RefuseUnknownKeys() {
        for (const auto& [key, value] : Source.Keys) {
            if (Known.count(key) == 0) {
                Fault(value.second, "unknown key " + key + " in [" + Source.Header + "]");
            }
        }
    }

    void Fault(int line, std::string text) { Faults.push_back({line, std::move(text)}); }

private:
    const Section& Source;
    std::vector<ConfigFault>& Faults;
    std::set<std::string> Known;
};

bool ValidName(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '-' && c != '_') {
            return false;
        }
    }
    return true;
}

// Topic levels are separated by '/'; the wildcards may not stand in a name that is published.
bool ValidTopicPrefix(const std::string& prefix) {
    return !prefix.empty() && prefix.find_first_of("+#") == std::string::npos &&
           prefix.front() != '/' && prefix.back() != '/';
}

void CheckPasswordFile(SectionReader& reader, const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        reader.Fault(reader.LineOf("password-file"), path + ": " + std::strerror(errno));
        return;
    }
    if ((info.st_mode & (S_IRGRP | S_IROTH)) != 0) {
        reader.Fault(reader.LineOf("password-file"),
                     path + ": group or others may read it; allow only its owner (chmod 600)");
    }
}

void ReadBroker(const Section& section, const ConfigContext& context, GatewaySettings& settings,
                std::vector<ConfigFault>& faults) {
    SectionReader reader(section, faults);
    BrokerSettings& broker = settings.Broker;
    reader.Text("host", broker.Host);
    reader.Text("ca-file", broker.CaFile);
    broker.Port = broker.CaFile.empty() ? 1883 : 8883;
    reader.Number("port", 1, 65535, broker.Port);
    broker.ClientId = context.HostName;
    reader.Text("client-id", broker.ClientId);
    reader.Text("topic-prefix", broker.TopicPrefix);
    reader.Text("username", broker.Username);
    reader.Text("password-file", broker.PasswordFile);
    reader.Number("keepalive", 5, 65535, broker.KeepaliveSeconds);
    reader.RefuseUnknownKeys();
    if (broker.Host.empty() && !reader.Has("host")) {
        reader.Fault(section.Line, "[broker] needs a host");
    }
    if (!ValidTopicPrefix(broker.TopicPrefix)) {
        reader.Fault(reader.LineOf("topic-prefix"),
                     "topic-prefix may not be empty, hold + or #, or begin or end with /");
    }
    if (!broker.PasswordFile.empty()) {
        CheckPasswordFile(reader, broker.PasswordFile);
    }
    if (!broker.CaFile.empty() && access(broker.CaFile.c_str(), R_OK) != 0) {
        reader.Fault(reader.LineOf("ca-file"), broker.CaFile + ": " + std::strerror(errno));
    }
}

// "COM3" gives the device COM3 leads to; anything else is a device path as it stands.
bool ResolvePort(const std::string& port, const ConfigContext& context, std::string& device) {
    if (port.rfind("COM", 0) != 0) {
        device = port;
        return true;
    }
    const std::optional<int16_t> number = ComPortOfName(port);
    if (!number) {
        return false;
    }
    device = ComPortPath(context.ComLinkDir, *number, context.DevDir);
    return true;
}

void ReadUnit(const Section& section, const std::string& name, const ConfigContext& context,
              GatewaySettings& settings, std::vector<ConfigFault>& faults) {
    SectionReader reader(section, faults);
    UnitSettings unit;
    unit.Name = name;
    unit.Line = section.Line;
    reader.Text("port", unit.Port);
    reader.Text("fieldbus-driver", unit.FieldbusDriver);
    reader.Number("backup-hours", 0, 24 * 365, unit.BackupHours);
    if (!unit.Port.empty()) {
        if (!ResolvePort(unit.Port, context, unit.DevicePath)) {
            reader.Fault(reader.LineOf("port"),
                         unit.Port + " is not a port: COM1 to COM6, or a device path");
        }
    } else {
        // The driver is told the COM number and the station address; a serial unit has neither.
        reader.Number("com", 1, 6, unit.ComNr);
        reader.Number("address", 0, 255, unit.Address);
    }
    reader.RefuseUnknownKeys();
    if (!ValidName(name)) {
        reader.Fault(section.Line,
                     "unit name \"" + name + "\" may hold only letters, digits, - and _");
    }
    if (reader.Has("port") && reader.Has("fieldbus-driver")) {
        reader.Fault(section.Line,
                     "[unit " + name + "] has both port and fieldbus-driver: give one");
    } else if (!reader.Has("port") && !reader.Has("fieldbus-driver")) {
        reader.Fault(section.Line, "[unit " + name + "] needs port or fieldbus-driver");
    }
    settings.Units.push_back(unit);
}

// Two names for one thing are one thing: links are followed where they lead.
std::string SameThingKey(const std::string& path) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    return ec ? fs::path(path).lexically_normal().string() : real.string();
}

void RefuseSharedLinks(const GatewaySettings& settings, std::vector<ConfigFault>& faults) {
    std::map<std::string, const UnitSettings*> taken;
    for (const UnitSettings& unit : settings.Units) {
        const bool serial = unit.IsSerial();
        const std::string& path = serial ? unit.DevicePath : unit.FieldbusDriver;
        if (path.empty()) {
            continue;
        }
        const std::string key = (serial ? "port " : "driver ") + SameThingKey(path);
        const auto [it, fresh] = taken.emplace(key, &unit);
        if (!fresh) {
            faults.push_back({unit.Line, "[unit " + unit.Name + "] uses the " +
                                             (serial ? "port " : "fieldbus driver ") + path +
                                             " of [unit " + it->second->Name + "]"});
        }
    }
}

void ReadSections(const std::vector<Section>& sections, const ConfigContext& context,
                  GatewayConfigResult& result) {
    std::set<std::string> seen;
    bool haveBroker = false;
    for (const Section& section : sections) {
        if (!seen.insert(section.Header).second) {
            result.Faults.push_back({section.Line, "[" + section.Header + "] is given twice"});
            continue;
        }
        if (section.Header == "broker") {
            haveBroker = true;
            ReadBroker(section, context, result.Settings, result.Faults);
        } else if (section.Header.rfind("unit", 0) == 0 && section.Header.size() > 4 &&
                   (section.Header[4] == ' ' || section.Header[4] == '\t')) {
            ReadUnit(section, Trimmed(section.Header.substr(4)), context, result.Settings,
                     result.Faults);
        } else {
            result.Faults.push_back({section.Line, "unknown section [" + section.Header +
                                                       "]: [broker] or [unit NAME]"});
        }
    }
    if (!haveBroker) {
        result.Faults.push_back({1, "no [broker] section"});
    }
    if (result.Settings.Units.empty()) {
        result.Faults.push_back({1, "no [unit NAME] section: nothing to watch"});
    }
}

} // namespace

GatewayConfigResult ReadGatewayConfig(const std::string& path, const ConfigContext& context) {
    GatewayConfigResult result;
    ParseState state;
    state.File = std::fopen(path.c_str(), "re");
    if (state.File == nullptr) {
        result.Faults.push_back({0, std::strerror(errno)});
        return result;
    }
    const int syntaxLine = ini_parse_stream(LineReader, &state, KeyHandler, &state);
    std::fclose(state.File);
    if (syntaxLine > 0) {
        state.Faults.push_back({syntaxLine, "neither [section] nor key = value"});
    }
    result.Faults = std::move(state.Faults);
    ReadSections(state.Sections, context, result);
    RefuseSharedLinks(result.Settings, result.Faults);
    std::stable_sort(result.Faults.begin(), result.Faults.end(),
                     [](const ConfigFault& a, const ConfigFault& b) { return a.Line < b.Line; });
    return result;
}

ConfigContext MachineConfigContext(const std::string& path) {
    ConfigContext context;
    const fs::path folder = fs::absolute(path).parent_path();
    context.ComLinkDir = folder.string() + "/";
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        context.HostName = host;
    }
    return context;
}

std::string FaultLine(const std::string& path, const ConfigFault& fault) {
    if (fault.Line <= 0) {
        return path + ": " + fault.Text;
    }
    return path + ":" + std::to_string(fault.Line) + ": " + fault.Text;
}

} // namespace vg
