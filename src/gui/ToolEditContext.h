#pragma once

#include "config/model/ConfigImage.h"

#include <cstdint>
#include <string>

namespace vg {

constexpr uint8_t ToolEditNew = 0;
constexpr uint8_t ToolEditChange = 1;

// What the settings window hands to the single-tool editor and gets back from it.
struct ToolEditContext {
    uint8_t EditMode = ToolEditNew;
    // The list line selected when the editor was opened, -1 for none.
    int StartLine = -1;
    // The tool being changed, -1 for a new one; after the editor closed, the tool it stored,
    // or unchanged when it stored nothing.
    int EditTool = -1;
    // Where the editor starts: the default settings for a new tool, the tool for a change. An
    // editor opened for a change without a line keeps what its previous use left here.
    ToolRecord Preset{};
    std::string PresetName; // Windows-1252 bytes, as the name table holds them
};

} // namespace vg
