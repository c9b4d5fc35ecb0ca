#include "gui/MonitorTexts.h"

#include "config/model/TextFormats.h"

#include <charconv>

namespace vg {

namespace {

// printf's "%6.2f" without the locale.
std::string FixedWidthText(double value) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    std::string body(text, end);
    if (body.size() < 6) {
        body.insert(0, 6 - body.size(), ' ');
    }
    return body;
}

bool InTable(int16_t toolNr) {
    return toolNr >= 0 && toolNr < ToolSlotCount;
}

} // namespace

CurrentToolBox MonitorCurrentToolBox(const ConfigState& config, int16_t toolNr) {
    CurrentToolBox box;
    box.ToolNr = std::to_string(toolNr);
    const auto slot = static_cast<size_t>(toolNr);
    if (!InTable(toolNr) || config.ConfigImage.Tools[slot].Programmed == 0) {
        box.TargetAngle = box.Tolerance = box.Intensity = box.Name = NoToolValue;
        return box;
    }
    const ToolRecord& tool = config.ConfigImage.Tools[slot];
    box.Programmed = true;
    box.TargetAngle = FixedWidthText(tool.Angle);
    box.Tolerance = FixedWidthText(tool.Tolerance);
    box.Intensity = std::to_string(tool.Intensity);
    const ToolNameRecord& name = config.ToolNameTable[slot];
    box.Name = name.Defined != 0 ? ToolNameText(name) : std::string();
    return box;
}

int MonitorActualToolLine(const ConfigState& config, int16_t toolNr) {
    return InTable(toolNr) ? config.ToolLineIndex[static_cast<size_t>(toolNr)] : -1;
}

} // namespace vg
