#pragma once

#include "config/transfer/ConfigCompare.h"
#include "gui/IdentifierWindow.h"
#include "gui/ProgramContext.h"
#include "gui/ProgressWindow.h"

namespace vg {

// The windows one transfer shows, built for it and gone with it.
struct TransferWindows {
    explicit TransferWindows(ProgramContext& context)
        : Identifier(context.Messages, context.Help), Place(context.IdentifierPlace) {
        Place.PlaceAgain(Identifier);
    }
    ~TransferWindows() { Place.Keep(Identifier); }
    TransferWindows(const TransferWindows&) = delete;
    TransferWindows& operator=(const TransferWindows&) = delete;

    ProgressWindow Progress;
    IdentifierWindow Identifier;

private:
    KeptPlace& Place;
};

// The transfers of the configuration with the windows' services: message boxes, the
// progress window and the identifier window, built for the transfer unless given.
bool LoadConfigurationFromUnit(ProgramContext& context);
bool LoadConfigurationFromUnit(ProgramContext& context, TransferWindows& windows);
// With `verify` ("Verify after saving to the unit"), the save is read back under the same
// progress window, and what the unit holds otherwise is shown after the success box.
bool SaveToUnitWithWindows(ProgramContext& context, bool verify);
bool SaveToUnitWithWindows(ProgramContext& context, bool verify, TransferWindows& windows);
// Writes the configuration to `path` and the names beside it.
bool SaveToFilesWithWindows(ProgramContext& context, const std::string& path);

// One box with every difference a read-back found (or why it could not be read); none when
// the unit holds what was sent.
void ShowDownloadCheck(MessageService& messages, const DownloadCheck& check);

} // namespace vg
