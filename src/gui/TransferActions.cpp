#include "gui/TransferActions.h"

#include "config/Transfer.h"
#include "gui/CoreTexts.h"
#include "gui/IdentifierWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/TextCodec.h"

namespace vg {

namespace {
TransferServices WindowServices(ProgramContext& context) {
    return {context.Messages, *context.Windows.Progress, *context.Windows.Identifier};
}
} // namespace

bool LoadConfigurationFromUnit(ProgramContext& context) {
    Session& core = context.Core;
    return LoadFromUnit(core.Config, core.Par, WindowServices(context), core.Config.TransferError);
}

bool SaveConfigurationWithWindows(ProgramContext& context) {
    Session& core = context.Core;
    TransferServices services = WindowServices(context);
    DownloadCheck check;
    if (context.VerifyAfterSave) {
        services.Check = &check; // a save to a file ignores it
    }
    const bool saved =
        SaveConfiguration(core.Config, core.Par, services, core.Config.TransferError);
    if (saved && check.Done) {
        ShowDownloadCheck(context.Messages, check);
    }
    return saved;
}

void ShowDownloadCheck(MessageService& messages, const DownloadCheck& check) {
    if (check.ReadError != 0) {
        messages.ShowMessage("The unit could not be read back for checking:\n" +
                                 TransferErrorText(check.ReadError),
                             MessageKind::Warning, MessageButtons::Ok);
        return;
    }
    if (check.Differences.empty()) {
        return;
    }
    std::string text = "The unit holds other values than were sent:";
    for (const ConfigDifference& difference : check.Differences) {
        text += '\n';
        text += ToAnsi(DifferenceLine(difference, "sent", "stored"));
    }
    messages.ShowMessage(text, MessageKind::Warning, MessageButtons::Ok);
}

} // namespace vg
