#include "gui/TransferActions.h"

#include "config/Transfer.h"
#include "gui/UDlg_Progress.h"
#include "gui/UDlg_RdCU_Id.h"

namespace vg {

namespace {
TransferServices WindowServices(ProgramContext& context) {
    return {context.Messages, *context.Windows.Dlg_ProgressBar, *context.Windows.Dlg_RdCU_Id};
}
} // namespace

bool LoadConfigurationFromUnit(ProgramContext& context) {
    Session& core = context.Core;
    return LoadFromUnit(core.Config, core.Par, WindowServices(context), core.Config.TransferError);
}

bool SaveConfigurationWithWindows(ProgramContext& context) {
    Session& core = context.Core;
    return SaveConfiguration(core.Config, core.Par, WindowServices(context),
                             core.Config.TransferError);
}

} // namespace vg
