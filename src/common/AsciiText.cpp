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

std::string EscapedText(std::string_view text) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            escaped.append("\\x");
            escaped.push_back(Digits[byte >> 4]);
            escaped.push_back(Digits[byte & 0x0F]);
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

} // namespace vg
