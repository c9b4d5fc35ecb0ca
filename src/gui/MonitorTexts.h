#pragma once

#include "config/model/ConfigState.h"

#include <cstdint>
#include <string>

namespace vg {

// The monitor window's current tool box for one tool number.
struct CurrentToolBox {
    bool Programmed = false; // false: the table selection is removed
    std::string ToolNr;      // "%hd"
    std::string TargetAngle; // "%6.2f", or "- - - -"
    std::string Tolerance;   // "%6.2f", or "- - - -"
    std::string Intensity;   // 0..3 as a number, or "- - - -"
    std::string Name;        // "" when the name is not defined, or "- - - -"
};

constexpr const char* NoToolValue = "- - - -";

// A number outside the 128-entry tables (the unit may report one) is shown as a number with
// no tool values, like a slot that is not programmed.
CurrentToolBox MonitorCurrentToolBox(const ConfigState& config, int16_t toolNr);

// The tool table line to select for the actual tool; -1 selects nothing.
int MonitorActualToolLine(const ConfigState& config, int16_t toolNr);

} // namespace vg
