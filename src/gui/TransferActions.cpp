#include "gui/TransferActions.h"

#include "config/transfer/Transfer.h"
#include "gui/CoreTexts.h"
#include "gui/TextCodec.h"

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

bool SaveToUnitWithWindows(ProgramContext& context, bool verify) {
    TransferWindows windows(context);
    return SaveToUnitWithWindows(context, verify, windows);
}

bool SaveToUnitWithWindows(ProgramContext& context, bool verify, TransferWindows& windows) {
    Session& core = context.Core;
    TransferServices services{context.Messages, windows.Progress, windows.Identifier};
    DownloadCheck check;
    if (verify) {
        services.Check = &check;
    }
    const bool saved = SaveToUnit(core.Config, core.Par, services, core.Config.TransferError);
    if (saved && check.Done) {
        ShowDownloadCheck(context.Messages, check);
    }
    return saved;
}

bool SaveToFilesWithWindows(ProgramContext& context, const std::string& path) {
    ConfigState& config = context.Core.Config;
    return SaveToFiles(config, path, context.Messages, config.TransferError);
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
