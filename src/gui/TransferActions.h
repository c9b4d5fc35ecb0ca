#pragma once

#include "config/transfer/ConfigCompare.h"
#include "gui/ProgramContext.h"

namespace vg {

// The transfers of the configuration with the windows' services: message boxes, the
// progress window and the identifier window.
bool LoadConfigurationFromUnit(ProgramContext& context);
// With "Verify after saving to the unit" on, the save is read back under the same progress
// window, and what the unit holds otherwise is shown after the success box.
bool SaveToUnitWithWindows(ProgramContext& context);
// Writes the configuration to `path` and the names beside it.
bool SaveToFilesWithWindows(ProgramContext& context, const std::string& path);

// One box with every difference a read-back found (or why it could not be read); none when
// the unit holds what was sent.
void ShowDownloadCheck(MessageService& messages, const DownloadCheck& check);

} // namespace vg
