#pragma once

#include "config/model/ConfigImage.h"

#include <string>
#include <vector>

namespace vg {

// The numeric fields of the single-tool editor and the settings window.
struct FieldRange {
    double Min;
    double Max;
};
constexpr FieldRange AngleFieldRange{10.00, 300.00};    // tool angle, maximum teach angle
constexpr FieldRange ToleranceFieldRange{0.20, 25.50};  // tool and default tolerance
constexpr FieldRange PulseTimeFieldRange{20.0, 5000.0}; // ms, when the outputs pulse

// A value of the image that cannot go to the unit as it is: sent, it would arrive wrapped,
// cut or as nothing at all.
struct OutOfRangeValue {
    int Tool;          // the tool number, or -1 for a setting
    std::string Name;  // "Angle", "Tolerance", "Intensity", or the setting's report label
    std::string Value; // the value as the report writes it
    std::string Range; // the values that may be sent
};

// Every value a download sends, checked against what the editor and the settings window
// accept; where the unit itself holds values outside a field's range (tool angles such as
// 1.15 degrees, tolerances under 0.20), against what the unit holds, so that whatever an
// upload brought in can go back. Empty slots send nothing and are not checked, nor is the
// pulse time when it is not sent.
std::vector<OutOfRangeValue> ValuesOutOfRange(const ConfigImage& image, bool pulseTimeSent);

// "Tool 5: Angle 700.00 is outside 0.00 to 655.35", "Default Tolerance: 30.00 is outside ..."
std::string OutOfRangeText(const OutOfRangeValue& value);

} // namespace vg
