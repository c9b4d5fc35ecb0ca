#pragma once

#include "common/ErrorCode.h"
#include "config/model/ConfigState.h"

#include <string>
#include <vector>

namespace vg {

// One value that differs between a configuration and what a unit holds.
struct ConfigDifference {
    int Tool;             // the tool number, or -1 for a setting
    std::string What;     // "angle", "tolerance", "intensity", "" for the slot itself, or the
                          // setting's report label
    std::string Expected; // in the configuration (sent, or in the file)
    std::string Found;    // in the unit
};

// What a comparison looks at.
struct CompareScope {
    int ToolSlots = ToolSlotCount; // slots 0 .. ToolSlots-1
    bool PulseTime = true;         // the unit takes the pulse time
    bool Identifier = true;        // the identifier in the namespace block
    // Programmed tools at ToolSlots or above are differences: the unit has no slot for them.
    bool SlotsBeyond = false;
};

// Compares a configuration with what a unit holds (`unit`, read back from it), in what a
// download would send: angles in hundredths, tolerances in tenths, the low byte of an
// intensity, each setting cut to its parameter bytes. An empty slot's values, the reserved
// words, the namespace block's time stamp and the firmware identification are not compared.
// Values are given as the report shows them.
std::vector<ConfigDifference> CompareWithUnit(const ConfigState& configuration,
                                              const ConfigState& unit, const CompareScope& scope);

// "tool 3: angle 45.50 sent, 46.50 stored", "Default Angle: 120.00 sent, 110.00 stored",
// with the words that name the two sides.
std::string DifferenceText(const ConfigDifference& difference, const std::string& expectedWord,
                           const std::string& foundWord);

// A download read back: whether it ran, the code it failed with, what differed.
struct DownloadCheck {
    bool Done = false;
    ErrorCode ReadError = 0;
    std::vector<ConfigDifference> Differences;
};

} // namespace vg
