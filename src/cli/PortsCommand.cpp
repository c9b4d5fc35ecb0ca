#include "cli/PortsCommand.h"

#include "cli/Vgctl.h"
#include "common/AsciiText.h"
#include "link/UnitProbe.h"

#include <algorithm>
#include <vector>

namespace vg::cli {

namespace {

using Row = std::vector<std::string>;

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        text.append(text.empty() ? "" : separator).append(part);
    }
    return text.empty() ? "-" : text;
}

std::string ComText(const SerialDeviceInfo& device) {
    std::vector<std::string> names;
    for (const int16_t port : device.ComPorts) {
        names.push_back(std::string("COM").append(std::to_string(port)));
    }
    return Joined(names, ",");
}

std::string UnitText(const SerialDeviceInfo& device, LineTraceSink* trace) {
    if (device.InUse() || !device.MayOpen) {
        return "not asked";
    }
    switch (ProbeForUnit(device.Device, ProbeWait, trace)) {
    case ProbeResult::Answered:
        return "answers";
    case ProbeResult::NoAnswer:
        return "no answer";
    case ProbeResult::NotOpened:
        break;
    }
    return "did not open";
}

// The columns padded to their widest entry; the last one, the stable names, as it is.
void PrintTable(const std::vector<Row>& rows, std::ostream& out) {
    std::vector<size_t> widths(rows.front().size(), 0);
    for (const Row& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (size_t i = 0; i + 1 < row.size(); ++i) {
            line.append(row[i]).append(widths[i] - row[i].size() + 2, ' ');
        }
        out << line << row.back() << '\n';
    }
}

// Device names, links and process names come from the system: escaped for the terminal.
std::vector<Row> Escaped(std::vector<Row> rows) {
    for (Row& row : rows) {
        for (std::string& cell : row) {
            cell = EscapedText(cell);
        }
    }
    return rows;
}

} // namespace

int RunPortsCommand(const std::string& linkDir, const SerialPortPlaces& places, bool probe,
                    std::ostream& out, LineTraceSink* trace) {
    const std::vector<SerialDeviceInfo> devices = ListSerialPorts(linkDir, places);
    if (devices.empty()) {
        out << "No serial devices found.\n";
        return ExitSuccess;
    }
    std::vector<Row> rows;
    rows.push_back({"DEVICE", "MAY OPEN", "IN USE", "COM"});
    if (probe) {
        rows.back().push_back("UNIT");
    }
    rows.back().push_back("STABLE NAMES");
    for (const SerialDeviceInfo& device : devices) {
        Row row = {device.Device, device.MayOpen ? "yes" : "no",
                   device.InUse() ? PortHoldersText(device.Holders) : "no", ComText(device)};
        if (probe) {
            row.push_back(UnitText(device, trace));
        }
        row.push_back(Joined(device.StableNames, " "));
        rows.push_back(std::move(row));
    }
    PrintTable(Escaped(rows), out);
    return ExitSuccess;
}

} // namespace vg::cli
