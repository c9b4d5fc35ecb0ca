#include "config/model/ValueRanges.h"

#include "config/model/TextFormats.h"

#include <cmath>

namespace vg {

namespace {

constexpr long long AngleWordMax = 65535; // hundredths: what the unit's angle word holds
constexpr long long ToleranceHundredthsMax = 2550;
constexpr int IntensityMax = 3;
constexpr int ScannerMax = 2; // 1 and 2 are the models; 0 when none is chosen

std::string RangeText(double min, double max) {
    return TwoDecimalsText(min) + " to " + TwoDecimalsText(max);
}

// Whole hundredths of a degree within [0, max], as a tool's value is sent.
bool HundredthsWithin(float degrees, long long max) {
    const long double hundredths = static_cast<long double>(degrees) * 100.0L;
    if (!std::isfinite(hundredths)) {
        return false;
    }
    const long double rounded = std::nearbyint(hundredths);
    return rounded >= 0 && rounded <= static_cast<long double>(max);
}

class Checker {
public:
    explicit Checker(std::vector<OutOfRangeValue>& found) : Found(found) {}

    void Degrees(int tool, const char* name, float value, long long maxHundredths) {
        if (!HundredthsWithin(value, maxHundredths)) {
            Found.push_back({tool, name, TwoDecimalsText(value),
                             RangeText(0.0, static_cast<double>(maxHundredths) / 100.0)});
        }
    }
    void Hundredths(const char* name, int32_t value, int32_t max) {
        if (value < 0 || value > max) {
            Found.push_back({-1, name, HundredthsText(value), RangeText(0.0, max / 100.0)});
        }
    }
    void Whole(int tool, const char* name, int32_t value, int32_t max) {
        if (value < 0 || value > max) {
            Found.push_back({tool, name, std::to_string(value), "0 to " + std::to_string(max)});
        }
    }
    void PulseTime(int32_t value) {
        const bool pulses = value >= PulseTimeFieldRange.Min && value <= PulseTimeFieldRange.Max;
        if (value != 0 && !pulses) {
            Found.push_back({-1, "Out Pulse Time [msec]", std::to_string(value),
                             "0 or " + std::to_string(static_cast<int>(PulseTimeFieldRange.Min)) +
                                 " to " +
                                 std::to_string(static_cast<int>(PulseTimeFieldRange.Max))});
        }
    }

private:
    std::vector<OutOfRangeValue>& Found;
};

} // namespace

std::vector<OutOfRangeValue> ValuesOutOfRange(const ConfigImage& image, bool pulseTimeSent) {
    std::vector<OutOfRangeValue> found;
    Checker check(found);
    // In the order of the report.
    check.Whole(-1, "Scanner", image.Scanner, ScannerMax);
    check.Whole(-1, "Out1", image.Out1Polarity, 1);
    check.Whole(-1, "Out2", image.Out2Polarity, 1);
    if (pulseTimeSent) {
        check.PulseTime(image.OutPulseTime);
    }
    check.Whole(-1, "Return Travel Monitoring", image.ReturnTrvMon, 1);
    check.Whole(-1, "Signal Mode", image.SignalMode, 1);
    check.Whole(-1, "Monitoring", image.Monitoring, 1);
    check.Whole(-1, "Rotation Direction", image.RotDir, 1);
    check.Whole(-1, "Power On Move", image.PowerOnMove, 1);
    // 0 is what a new configuration holds until a maximum teach angle is set.
    check.Hundredths("Default Angle", image.DefaultAngle,
                     static_cast<int32_t>(std::lround(AngleFieldRange.Max * 100)));
    check.Hundredths("Default Tolerance", image.DefaultTolerance,
                     static_cast<int32_t>(ToleranceHundredthsMax));
    check.Whole(-1, "Default Intensity", image.DefaultIntensity, IntensityMax);
    for (int n = 0; n < ToolSlotCount; ++n) {
        const ToolRecord& tool = image.Tools[static_cast<size_t>(n)];
        if (tool.Programmed == 0) {
            continue;
        }
        check.Degrees(n, "Angle", tool.Angle, AngleWordMax);
        check.Degrees(n, "Tolerance", tool.Tolerance, ToleranceHundredthsMax);
        check.Whole(n, "Intensity", tool.Intensity, IntensityMax);
    }
    return found;
}

std::string OutOfRangeText(const OutOfRangeValue& value) {
    const std::string subject = value.Tool < 0
                                    ? value.Name + ":"
                                    : "Tool " + std::to_string(value.Tool) + ": " + value.Name;
    return subject + " " + value.Value + " is outside " + value.Range;
}

} // namespace vg
