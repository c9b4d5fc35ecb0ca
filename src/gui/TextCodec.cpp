#include "gui/TextCodec.h"

#include <array>

namespace vg {

namespace {
// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1. 0 marks the five
// bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> Upper80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString FromAnsi(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0) {
            const char16_t mapped = Upper80[b - 0x80];
            text.append(QChar(mapped != 0 ? mapped : char16_t{0xFFFD}));
        } else {
            text.append(QChar(static_cast<char16_t>(b)));
        }
    }
    return text;
}

std::string ToAnsi(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.push_back(static_cast<char>(u));
            continue;
        }
        char byte = '?'; // not in the code page
        for (size_t i = 0; i < Upper80.size(); ++i) {
            if (Upper80[i] == u && u != 0) {
                byte = static_cast<char>(0x80 + i);
            }
        }
        bytes.push_back(byte);
    }
    return bytes;
}

} // namespace vg
