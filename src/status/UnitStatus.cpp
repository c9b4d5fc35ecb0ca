#include "status/UnitStatus.h"

#include "link/DeviceMessage.h"

#include <array>
#include <cstdio>

namespace vg {

std::string ErrorMessageText(uint8_t errorBits) {
    static constexpr std::array<const char*, 8> Messages = {
        "ERROR! Cable broken!",
        "ERROR! Scanner!",
        "ERROR! Control Unit!",
        "ERROR! Wand!",
        "ERROR! Angle!",
        "ERROR! Control Word!",
        "ERROR! Selected Tool not programmed!",
        "ERROR! No external teach allowed!",
    };
    for (size_t bit = 0; bit < Messages.size(); ++bit) {
        if ((errorBits & (1u << bit)) != 0) {
            return Messages[bit];
        }
    }
    return {};
}

std::string AngleText(uint16_t hundredths) {
    // Whole hundredths need no floating point, and integers never take the locale's comma.
    char text[16];
    std::snprintf(text, sizeof text, "%3u.%02u", static_cast<unsigned>(hundredths / 100),
                  static_cast<unsigned>(hundredths % 100));
    return text;
}

std::string ScanningText(uint8_t stateBits) {
    if ((stateBits & StateBit::Scanning) != 0) {
        return StatusText::Scanning;
    }
    if ((stateBits & StateBit::ZeroPosition) != 0) {
        return StatusText::ZeroPosition;
    }
    return {};
}

bool UnitStatus::Out1() const {
    return (StateBits & StateBit::Out1) != 0;
}

bool UnitStatus::Out2() const {
    return (StateBits & StateBit::Out2) != 0;
}

std::string UnitStatus::ScannerText() const {
    return Online ? ScanningText(StateBits) : StatusText::Unknown;
}

std::string UnitStatus::IdentifierText() const {
    if (!Identifier) {
        return StatusText::NoId;
    }
    std::string text = StatusText::IdPrefix;
    text += *Identifier;
    return text;
}

} // namespace vg
