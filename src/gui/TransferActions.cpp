#include "gui/TransferActions.h"

namespace vg {

bool LoadConfigurationFromUnit(ProgramContext& /*context*/) {
    return false;
}

bool SaveConfigurationWithWindows(ProgramContext& /*context*/) {
    return false;
}

} // namespace vg
