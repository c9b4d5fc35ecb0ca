#include "config/model/ConfigState.h"

#include <cstring>

namespace vg {

void InitConfigState(ConfigState& state) {
    state.ToolLines.clear();
    // Consistent with the empty list until the first load builds the lines.
    state.ToolLineIndex.fill(-1);
    state.ConfigSource = ConfigSource::None;
    state.NamespaceIdValid = false;
}

void TakeSnapshots(ConfigState& state) {
    state.SavedImage = state.ConfigImage;
    state.SavedToolNames = state.ToolNameTable;
}

// Bytes, not values: a name's bytes after its terminator and a float's sign of zero count,
// exactly as they would in the files.
bool DiffersFromSnapshots(const ConfigState& state) {
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the bytes are what is compared
    return std::memcmp(&state.ConfigImage, &state.SavedImage, sizeof(ConfigImage)) != 0 ||
           std::memcmp(&state.ToolNameTable, &state.SavedToolNames, sizeof(ToolNameTable)) != 0;
}

} // namespace vg
