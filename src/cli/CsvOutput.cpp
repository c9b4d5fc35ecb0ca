#include "cli/CsvOutput.h"

#include "cli/TerminalText.h"
#include "config/model/TextFormats.h"
#include "config/report/ReportLayout.h"

#include <ctime>

namespace vg::cli {

namespace {

// "-5.00", "+3", "42": a number a spreadsheet reads as one.
bool IsNumber(std::string_view text) {
    size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// A spreadsheet takes a cell that begins with one of these as a formula: a tool name such as
// "=HYPERLINK(...)" would run when the report is opened. Such text gets a leading apostrophe,
// which the spreadsheet shows as text; numbers stay as they are.
std::string Neutralised(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text[0]) == std::string_view::npos ||
        IsNumber(text)) {
        return std::string(text);
    }
    std::string safe = "'";
    safe += text;
    return safe;
}

std::string CsvField(std::string_view field) {
    const std::string text = Neutralised(field);
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

void AppendSettings(std::string& csv, std::span<const ReportSetting> settings,
                    const ConfigImage& image) {
    for (const ReportSetting& setting : settings) {
        csv += CsvRow({setting.Label, setting.Text(image.*setting.Field)});
    }
}

// 2026-03-01T08:15:42.123+01:00
std::string IsoTime(std::chrono::system_clock::time_point when) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::seconds>(ms)));
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    char zone[8];
    std::strftime(zone, sizeof zone, "%z", &local); // +0100
    char text[64];
    std::snprintf(text, sizeof text, "%s.%03d%.3s:%.2s", date, static_cast<int>(ms.count() % 1000),
                  zone, zone + 3);
    return text;
}

} // namespace

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            row += ',';
        }
        row += CsvField(fields[i]);
    }
    return row + "\n";
}

std::string ReportCsv(const ConfigState& config) {
    std::string csv = CsvRow({"Configuration", ReportSourceText(config)});
    AppendSettings(csv, GlobalReportSettings(), config.ConfigImage);
    AppendSettings(csv, DefaultReportSettings(), config.ConfigImage);
    csv += CsvRow({"number", "angle", "tolerance", "intensity", "name"});
    for (int n = 0; n < ToolSlotCount; ++n) {
        const ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(n)];
        if (tool.Programmed == 0) {
            continue;
        }
        const ToolNameRecord& name = config.ToolNameTable[static_cast<size_t>(n)];
        csv += CsvRow({std::to_string(n), TwoDecimalsText(tool.Angle),
                       TwoDecimalsText(tool.Tolerance), std::to_string(tool.Intensity),
                       name.Defined != 0 ? TerminalTextFromWindows1252(ToolNameText(name)) : ""});
    }
    return csv;
}

std::string WatchCsvHeader() {
    return CsvRow({"time", "online", "tool", "out1", "out2", "scanner", "angle", "message"});
}

std::string WatchCsvRow(const StatusPicture& picture, std::chrono::system_clock::time_point when) {
    const bool known = picture.Online;
    return CsvRow({IsoTime(when), known ? "yes" : "no",
                   picture.Tool < 0 ? "" : std::to_string(picture.Tool),
                   picture.Out1 ? "on" : "off", picture.Out2 ? "on" : "off",
                   known ? picture.Scanner : "", known ? picture.Angle : "", picture.Message});
}

} // namespace vg::cli
