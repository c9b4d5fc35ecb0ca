#pragma once

#include <cstdint>

namespace vg {

// What the status display keeps between records. One per process.
struct DisplayState {
    bool Out1On = false; // state bit 3 of the last shown record
    bool Out2On = false; // state bit 4
    // Last shown angle in hundredths of a degree, -1 before the first; the settings window
    // reads it.
    int32_t MeasuredAngle = -1;
    // Where the result of a running teach goes: -1 none, a tool number, or a value with
    // TeachTargetEditorBit set for the single-tool editor.
    int32_t TeachTarget = -1;
};

constexpr int32_t TeachTargetEditorBit = 0x1000;

} // namespace vg
