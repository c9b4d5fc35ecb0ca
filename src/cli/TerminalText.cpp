#include "cli/TerminalText.h"

#include <array>
#include <cstdint>

namespace vg::cli {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC,      Replacement, 0x201A, 0x0192, 0x201E, 0x2026,      0x2020, 0x2021,      // 0x80
    0x02C6,      0x2030,      0x0160, 0x2039, 0x0152, Replacement, 0x017D, Replacement, // 0x88
    Replacement, 0x2018,      0x2019, 0x201C, 0x201D, 0x2022,      0x2013, 0x2014,      // 0x90
    0x02DC,      0x2122,      0x0161, 0x203A, 0x0153, Replacement, 0x017E, 0x0178,      // 0x98
};

char32_t CodePoint(uint8_t byte) {
    if (byte < 0x20 || byte == 0x7F) {
        return Replacement;
    }
    if (byte >= 0x80 && byte < 0xA0) {
        return HighControls[byte - 0x80];
    }
    return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::string TerminalTextFromWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        AppendUtf8(out, CodePoint(static_cast<uint8_t>(c)));
    }
    return out;
}

} // namespace vg::cli
