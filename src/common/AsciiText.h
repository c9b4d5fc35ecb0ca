#pragma once

#include <string>
#include <string_view>

namespace vg {

// Character tests and conversions that do not depend on the process locale: names in files
// and on the unit are ASCII where the program interprets them.

inline bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The "%d" conversion at the start of `text`: blanks skipped, an optional sign, digits.
// False when there is no number or it does not fit.
bool ParseLeadingInt(std::string_view text, long long& value);

// `text` for a terminal line: control bytes (a name from /proc, a file name, a path from a
// settings file could hold escape sequences or line ends) become "\xNN"; all else stays.
std::string EscapedText(std::string_view text);

} // namespace vg
