#include "config/model/TextFormats.h"

#include "common/AsciiText.h"
#include "config/model/FileNames.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace vg {

namespace {

// Joins the pieces into one string with a single allocation. Building a text as "literal" +
// std::string makes g++ 12 at -O3 warn about an overlapping copy inside the standard library
// (a false -Wrestrict); appending into a string of the right size never copies over itself.
std::string Concat(std::initializer_list<std::string_view> pieces) {
    size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces) {
        text.append(piece);
    }
    return text;
}

// printf's "%*d" and "%0*d" without the locale.
std::string IntText(long long value, int width = 0, bool zeroPad = false) {
    char digits[24];
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    std::string body(digits, end);
    const size_t sign = value < 0 ? 1 : 0;
    const size_t padding = static_cast<size_t>(
        std::max<long long>(0, width - static_cast<long long>(body.size() + sign)));
    if (zeroPad) {
        return std::string(sign, '-') + std::string(padding, '0') + body;
    }
    return std::string(padding, ' ') + std::string(sign, '-') + body;
}

// printf's "%*.*f" without the locale (to_chars rounds correctly, as glibc's printf does).
std::string FixedText(double value, int precision, int width = 0) {
    char text[400];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision).ptr;
    std::string body(text, end);
    if (static_cast<int>(body.size()) < width) {
        body.insert(0, static_cast<size_t>(width) - body.size(), ' ');
    }
    return body;
}

} // namespace

std::string ToolNameText(const ToolNameRecord& record) {
    const char* name = record.Name.data();
    return std::string(name, strnlen(name, record.Name.size()));
}

std::string FormatToolLine(int toolNr, const ToolRecord& tool, std::string_view name) {
    return Concat({" ", IntText(toolNr, 3, true), "   ", FixedText(tool.Angle, 2, 6), "  ",
                   FixedText(tool.Tolerance, 2, 5), "    ", IntText(tool.Intensity), "    ",
                   name.substr(0, ToolLineNameLimit)});
}

void BuildToolLines(ConfigState& state) {
    state.ToolLines.clear();
    for (int n = 0; n < ToolSlotCount; ++n) {
        const ToolRecord& tool = state.ConfigImage.Tools[static_cast<size_t>(n)];
        if (tool.Programmed == 0) {
            state.ToolLineIndex[static_cast<size_t>(n)] = -1;
            continue;
        }
        const ToolNameRecord& names = state.ToolNameTable[static_cast<size_t>(n)];
        const std::string name = names.Defined != 0 ? ToolNameText(names) : std::string();
        state.ToolLineIndex[static_cast<size_t>(n)] = static_cast<int32_t>(state.ToolLines.size());
        state.ToolLines.push_back(FormatToolLine(n, tool, name));
    }
}

int ToolNumberOfLine(const ConfigState& state, int lineIndex) {
    if (lineIndex < 0 || static_cast<size_t>(lineIndex) >= state.ToolLines.size()) {
        return -1;
    }
    long long toolNr = -1;
    if (!ParseLeadingInt(state.ToolLines[static_cast<size_t>(lineIndex)], toolNr)) {
        return -1;
    }
    return static_cast<int>(toolNr);
}

std::string FirmwareVersionText(const FirmwareInfo& info) {
    return Concat({"V", IntText(info.FwMajor), ".", IntText(info.FwMinor, 2, true), "  ",
                   IntText(info.FwDate1, 2, true), "/", IntText(info.FwDate2, 2, true), "/",
                   IntText(info.FwDate3, 2, true)});
}

std::string SourceSuffix(const ConfigState& state) {
    if (state.ConfigSource == ConfigSource::Unit) {
        return " / Vigilo";
    }
    return " / " + FileNamePart(state.ConfigFileName);
}

std::string TwoDecimalsText(double value) {
    return FixedText(value, 2);
}

std::string HundredthsText(int32_t hundredths) {
    const long long magnitude = std::llabs(static_cast<long long>(hundredths));
    return Concat({hundredths < 0 ? "-" : "", IntText(magnitude / 100), ".",
                   IntText(magnitude % 100, 2, true)});
}

float HundredthsToValue(int32_t hundredths) {
    const std::string text = HundredthsText(hundredths);
    float value = 0.0F;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int32_t ValueToHundredths(double value) {
    const double product = value * 100.0;
    if (std::isnan(product)) {
        return 0;
    }
    constexpr double Limit = 3e9; // beyond int32 either way; keeps the text short
    const std::string text = FixedText(std::clamp(product, -Limit, Limit), 6);
    long long whole = 0;
    ParseLeadingInt(std::string_view(text).substr(0, text.rfind('.')), whole);
    return static_cast<int32_t>(std::clamp<long long>(whole, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

} // namespace vg
