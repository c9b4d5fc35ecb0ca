#include "config/transfer/ConfigCompare.h"

#include "config/model/SettingTexts.h"
#include "config/model/TextFormats.h"
#include "config/transfer/Transfer.h"

namespace vg {

namespace {

void CompareSettings(std::span<const ReportSetting> settings, const ConfigImage& expected,
                     const ConfigImage& found, const CompareScope& scope,
                     std::vector<ConfigDifference>& differences) {
    for (const ReportSetting& setting : settings) {
        const int32_t a = expected.*setting.Field;
        const int32_t b = found.*setting.Field;
        if (a == b || (setting.Field == &ConfigImage::OutPulseTime && !scope.PulseTime)) {
            continue;
        }
        std::string textA = setting.Text(a);
        std::string textB = setting.Text(b);
        if (textA == textB) {
            // Two values the report writes alike ("Unknown", "Active"): name the numbers.
            textA += " (" + std::to_string(a) + ")";
            textB += " (" + std::to_string(b) + ")";
        }
        differences.push_back({-1, setting.Label, textA, textB});
    }
}

void CompareTool(int nr, const ToolRecord& expected, const ToolRecord& found,
                 std::vector<ConfigDifference>& differences) {
    const bool programmed = expected.Programmed != 0;
    if (programmed != (found.Programmed != 0)) {
        differences.push_back(
            {nr, "", programmed ? "programmed" : "empty", programmed ? "empty" : "programmed"});
        return;
    }
    if (!programmed) {
        return; // an empty slot's values mean nothing
    }
    const uint16_t angleA = AngleToWord(expected.Angle);
    const uint16_t angleB = AngleToWord(found.Angle);
    if (angleA != angleB) {
        differences.push_back({nr, "angle", HundredthsText(angleA), HundredthsText(angleB)});
    }
    const uint8_t toleranceA = ToleranceToByte(expected.Tolerance);
    const uint8_t toleranceB = ToleranceToByte(found.Tolerance);
    if (toleranceA != toleranceB) {
        differences.push_back(
            {nr, "tolerance", HundredthsText(toleranceA * 10), HundredthsText(toleranceB * 10)});
    }
    const uint8_t intensityA = static_cast<uint8_t>(expected.Intensity & 0xFF);
    const uint8_t intensityB = static_cast<uint8_t>(found.Intensity & 0xFF);
    if (intensityA != intensityB) {
        differences.push_back(
            {nr, "intensity", std::to_string(intensityA), std::to_string(intensityB)});
    }
}

// The eight identifier characters; what is not printable shows as '?'.
std::string IdentifierText(const NamespaceInfo& info) {
    std::string text;
    for (const char c : info.CU_Id) {
        text += c >= ' ' && c < 0x7F ? c : '?';
    }
    return text;
}

} // namespace

std::vector<ConfigDifference> CompareWithUnit(const ConfigState& configuration,
                                              const ConfigState& unit, const CompareScope& scope) {
    std::vector<ConfigDifference> differences;
    const ConfigImage expected = GlobalsAsTheUnitHoldsThem(configuration.ConfigImage);
    const ConfigImage& found = unit.ConfigImage;
    CompareSettings(GlobalReportSettings(), expected, found, scope, differences);
    CompareSettings(DefaultReportSettings(), expected, found, scope, differences);
    for (int n = 0; n < ToolSlotCount; ++n) {
        const auto slot = static_cast<size_t>(n);
        if (n < scope.ToolSlots) {
            CompareTool(n, expected.Tools[slot], found.Tools[slot], differences);
        } else if (scope.SlotsBeyond && expected.Tools[slot].Programmed != 0) {
            differences.push_back({n, "", "programmed", "no slot"});
        }
    }
    if (scope.Identifier && configuration.NamespaceInfo.CU_Id != unit.NamespaceInfo.CU_Id) {
        differences.push_back({-1, "CU_Id", IdentifierText(configuration.NamespaceInfo),
                               IdentifierText(unit.NamespaceInfo)});
    }
    return differences;
}

std::string DifferenceText(const ConfigDifference& difference, const std::string& expectedWord,
                           const std::string& foundWord) {
    std::string subject = difference.Tool >= 0 ? "tool " + std::to_string(difference.Tool) + ":"
                                               : difference.What + ":";
    if (difference.Tool >= 0 && !difference.What.empty()) {
        subject += " " + difference.What;
    }
    return subject + " " + difference.Expected + " " + expectedWord + ", " + difference.Found +
           " " + foundWord;
}

} // namespace vg
