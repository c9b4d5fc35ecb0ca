#pragma once

#include "common/ErrorCode.h"
#include "common/MessageService.h"
#include "common/ProgressView.h"
#include "common/WriteFailure.h"
#include "config/ConfigState.h"
#include "config/IdentifierPrompt.h"
#include "link/ParChannel.h"

#include <string>

namespace vg {

// Where a transfer reaches the user: its boxes, the progress window and the identifier window.
struct TransferServices {
    MessageService& Messages;
    ProgressView& Progress;
    IdentifierPrompt& Identifier;
};

constexpr const char* UploadCaption = "Reading data from VGL. Please wait ...";
constexpr const char* DownloadCaption = "Sending data to VGL. Please wait ...";

// Reads the six identification bytes (parameters 26..31). Only a complete read replaces
// FirmwareInfo and sets ToolCapacity; the caller sets VersionValid.
bool ReadFirmwareInfo(ConfigState& config, ParChannel& par, ErrorCode& error);

// Reads the firmware identification, the tool slots below ToolCapacity, the global and
// default settings and the namespace block from the unit, then the tool names of its
// identifier. On success the tool lines are rebuilt and the snapshots taken. A failure is
// shown once and leaves what was read so far in the image.
bool LoadFromUnit(ConfigState& config, ParChannel& par, const TransferServices& services,
                  ErrorCode& transferError);

// ConfigSource 1: sends the image, the namespace block and saves the names beside it.
// Otherwise: writes the image to ConfigFileName and the names beside it. Failures are shown
// once, success is confirmed with a box. The image is not changed.
bool SaveConfiguration(ConfigState& config, ParChannel& par, const TransferServices& services,
                       ErrorCode& transferError);

// The message of a transfer error code; codes outside the table are named by number.
std::string TransferErrorText(ErrorCode code);
// Shows the message; a file that could not be written is named with the system's reason on a
// line of its own below it.
void ShowTransferError(MessageService& messages, ErrorCode code, const WriteFailure& failure = {});

} // namespace vg
