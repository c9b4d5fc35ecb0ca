#include "common/AsciiText.h"

#include <charconv>

namespace vg {

bool ParseLeadingInt(std::string_view text, long long& value) {
    size_t pos = text.find_first_not_of(" \t\n\v\f\r");
    if (pos == std::string_view::npos) {
        return false;
    }
    const bool plus = text[pos] == '+';
    if (plus && pos + 1 < text.size() && text[pos + 1] == '-') {
        return false;
    }
    pos += plus ? 1 : 0;
    return std::from_chars(text.data() + pos, text.data() + text.size(), value).ec == std::errc();
}

} // namespace vg
