#pragma once

#include "gui/ProgramContext.h"

namespace vg {

// The transfers of the configuration with the windows' services: message boxes, the
// progress window and the identifier window.
bool LoadConfigurationFromUnit(ProgramContext& context);
bool SaveConfigurationWithWindows(ProgramContext& context);

} // namespace vg
