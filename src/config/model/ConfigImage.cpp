#include "config/model/ConfigImage.h"

#include <cmath>

namespace vg {

void SetConfigDefaults(ConfigImage& image) {
    for (ToolRecord& tool : image.Tools) {
        tool.Programmed = 0;
    }
    image.DefaultTolerance = 300;
    image.DefaultIntensity = 1;
    image.ReturnTrvMon = 0;
    image.Monitoring = 1;
    image.RotDir = 1;
    image.PowerOnMove = 1;
    image.Scanner = 1;
    image.Out1Polarity = 1;
    image.Out2Polarity = 1;
    image.SignalMode = 1;
    image.DefaultAngle = 0;
    image.Reserved2.fill(1);
}

void RepairDefaultSettings(ConfigImage& image) {
    if (image.DefaultTolerance < 20 || image.DefaultIntensity > 5 || image.DefaultAngle > 30000) {
        image.DefaultAngle = 12000;
        image.DefaultTolerance = 300;
        image.DefaultIntensity = 1;
    }
}

uint8_t ToolCapacityOf(uint8_t deviceVariant) {
    static constexpr std::array<uint8_t, 8> Capacity = {32, 0, 32, 64, 128, 0, 32, 32};
    return Capacity[deviceVariant & 7];
}

int FirmwareVersionNumber(const FirmwareInfo& info) {
    return info.FwMajor * 100 + info.FwMinor;
}

// The products are formed in extended precision before they are narrowed to float, so a
// value read from the unit is the float nearest to its decimal value.
float AngleFromWord(uint16_t word) {
    return static_cast<float>(static_cast<long double>(word) * 0.01L);
}

float ToleranceFromByte(uint8_t tenths) {
    return static_cast<float>(static_cast<long double>(tenths) * 0.1L);
}

namespace {
// Nearest whole number of value x 100; a value from a foreign file that is not finite or out
// of range must not make the conversion undefined.
long long RoundedHundredths(float value) {
    const long double hundredths = static_cast<long double>(value) * 100.0L;
    if (!std::isfinite(hundredths) || std::fabs(hundredths) > 1e15L) {
        return 0;
    }
    return std::llround(hundredths);
}
} // namespace

// Only the low bits reach the unit, as with any other field sent as a word or a byte.
uint16_t AngleToWord(float angle) {
    return static_cast<uint16_t>(RoundedHundredths(angle));
}

// Via whole hundredths so that 0.75 degrees becomes 7 tenths and a byte read from the unit
// goes back unchanged.
uint8_t ToleranceToByte(float tolerance) {
    return static_cast<uint8_t>(RoundedHundredths(tolerance) / 10);
}

DeviceRequest ToolValuesRequest(uint8_t code, const ToolRecord& tool) {
    DeviceRequest request{};
    request[1] = code;
    request[2] = static_cast<uint8_t>(tool.Intensity & 0xFF);
    request[3] = ToleranceToByte(tool.Tolerance);
    SetMessageWord(request, AngleToWord(tool.Angle));
    return request;
}

} // namespace vg
