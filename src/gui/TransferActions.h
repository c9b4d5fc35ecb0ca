#pragma once

#include "config/ConfigCompare.h"
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
// With `verify` ("Verify after saving to the unit"), a save to the unit is read back under
// the same progress window, and what the unit holds otherwise is shown after the success box.
bool SaveConfigurationWithWindows(ProgramContext& context, bool verify);
bool SaveConfigurationWithWindows(ProgramContext& context, bool verify, TransferWindows& windows);

// One box with every difference a read-back found (or why it could not be read); none when
// the unit holds what was sent.
void ShowDownloadCheck(MessageService& messages, const DownloadCheck& check);

} // namespace vg
