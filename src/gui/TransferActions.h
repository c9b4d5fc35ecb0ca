#pragma once

#include "config/ConfigCompare.h"
#include "gui/ProgramContext.h"

namespace vg {

// The transfers of the configuration with the windows' services: message boxes, the
// progress window and the identifier window.
bool LoadConfigurationFromUnit(ProgramContext& context);
// With "Verify after saving to the unit" on, a save to the unit is read back under the same
// progress window, and what the unit holds otherwise is shown after the success box.
bool SaveConfigurationWithWindows(ProgramContext& context);

// One box with every difference a read-back found (or why it could not be read); none when
// the unit holds what was sent.
void ShowDownloadCheck(MessageService& messages, const DownloadCheck& check);

} // namespace vg
