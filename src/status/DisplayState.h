#pragma once

#include <cstdint>

namespace vg {

// What the status poll keeps of the records for the windows that work with the unit. One per
// process.
struct DisplayState {
    // Last measured angle taken in hundredths of a degree, -1 before the first; the settings
    // window reads it.
    int32_t MeasuredAngle = -1;
    // Where the result of a running teach goes: -1 none, a tool number, or a value with
    // TeachTargetEditorBit set for the single-tool editor.
    int32_t TeachTarget = -1;
};

constexpr int32_t TeachTargetEditorBit = 0x1000;

} // namespace vg
