#pragma once

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

} // namespace vg
