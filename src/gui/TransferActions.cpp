#include "gui/TransferActions.h"

#include "config/Transfer.h"

namespace vg {

bool LoadConfigurationFromUnit(ProgramContext& context) {
    TransferWindows windows(context);
    return LoadConfigurationFromUnit(context, windows);
}

bool LoadConfigurationFromUnit(ProgramContext& context, TransferWindows& windows) {
    Session& core = context.Core;
    return LoadFromUnit(core.Config, core.Par,
                        {context.Messages, windows.Progress, windows.Identifier},
                        core.Config.TransferError);
}

bool SaveConfigurationWithWindows(ProgramContext& context, bool verify) {
    TransferWindows windows(context);
    return SaveConfigurationWithWindows(context, verify, windows);
}

bool SaveConfigurationWithWindows(ProgramContext& context, bool verify, TransferWindows& windows) {
    Session& core = context.Core;
    TransferServices services{context.Messages, windows.Progress, windows.Identifier};
    DownloadCheck check;
    if (verify) {
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
        text += DifferenceText(difference, "sent", "stored");
    }
    messages.ShowMessage(text, MessageKind::Warning, MessageButtons::Ok);
}

} // namespace vg
