#include "config/transfer/UnitReadBack.h"

#include "config/transfer/Transfer.h"

#include <algorithm>
#include <cstring>

namespace vg {

bool ReadBackFromUnit(ConfigState& unit, ParChannel& par, ProgressView& progress,
                      bool withNamespaceBlock, ErrorCode& error) {
    error = 0;
    if (ReadUnitImage(unit, par, progress, error) && withNamespaceBlock) {
        std::array<uint8_t, ParChannel::CuIdBlockSize> block{};
        ErrorCode blockError = 0;
        // A block without eight digits is what the unit holds all the same.
        if (par.ReadUnitId(block, blockError) || blockError == TransferCode::NoCuId) {
            std::memcpy(&unit.NamespaceInfo, block.data(), block.size());
            unit.NamespaceIdValid = blockError == 0;
        } else {
            error = blockError;
        }
    }
    par.ParState = 0;
    return error == 0;
}

void VerifyDownload(const ConfigState& sent, ParChannel& par, ProgressView& progress,
                    DownloadCheck& check) {
    check = {};
    check.Done = true;
    progress.ShowProgress(ReadBackCaption);
    ConfigState unit;
    if (!ReadBackFromUnit(unit, par, progress, sent.NamespaceIdValid, check.ReadError)) {
        return;
    }
    CompareScope scope;
    scope.ToolSlots = std::min(ToolSlotsToExchange(sent), ToolSlotsToExchange(unit));
    scope.PulseTime = PulseTimeSent(sent);
    scope.Identifier = sent.NamespaceIdValid;
    check.Differences = CompareWithUnit(sent, unit, scope);
}

bool CompareFileWithUnit(const ConfigState& file, ParChannel& par, ProgressView& progress,
                         std::vector<ConfigDifference>& differences, ErrorCode& error) {
    ConfigState unit;
    if (!ReadBackFromUnit(unit, par, progress, file.NamespaceIdValid, error)) {
        return false;
    }
    CompareScope scope;
    scope.ToolSlots = ToolSlotsToExchange(unit);
    scope.PulseTime = PulseTimeSent(unit);
    scope.Identifier = file.NamespaceIdValid;
    scope.SlotsBeyond = true;
    differences = CompareWithUnit(file, unit, scope);
    return true;
}

} // namespace vg
