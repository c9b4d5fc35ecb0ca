#pragma once

#include "common/ErrorCode.h"
#include "config/model/ConfigImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vg {

// Where the configuration in memory came from, and so where "Save" puts it back.
enum class ConfigSource : uint8_t { None, Unit, File };

// The configuration image and everything that travels with it. The program creates one and
// hands references to whoever reads or edits the configuration; tests build a fresh one.
struct ConfigState {
    vg::ConfigImage ConfigImage{};
    vg::ToolNameTable ToolNameTable{}; // the live tool names
    vg::NamespaceInfo NamespaceInfo{};
    bool NamespaceIdValid = false;
    std::string NamespaceFileName;
    vg::FirmwareInfo FirmwareInfo{};
    uint8_t ToolCapacity = 32;
    bool VersionValid = false;
    vg::ConfigSource ConfigSource = vg::ConfigSource::None;
    std::string ConfigFileName;
    // Whole copies taken when the configuration was last loaded or saved; a byte
    // comparison with them tells whether anything changed.
    vg::ConfigImage SavedImage{};
    vg::ToolNameTable SavedToolNames{};
    std::vector<std::string> ToolLines;
    std::array<int32_t, ToolSlotCount> ToolLineIndex{};
    ErrorCode TransferError = 0;
    bool TransferBusy = false;
    std::string DataDir; // the folder that holds CD_DATA, ending with '/'
};

// The start-up initialisation: no tool lines, no source, no identifier.
void InitConfigState(ConfigState& state);

// Copies the live image and names into the snapshots.
void TakeSnapshots(ConfigState& state);

// True when the live image or names differ from the snapshots in any byte.
bool DiffersFromSnapshots(const ConfigState& state);

} // namespace vg
