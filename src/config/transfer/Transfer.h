#pragma once

#include "common/ErrorCode.h"
#include "common/MessageService.h"
#include "common/ProgressView.h"
#include "common/WriteFailure.h"
#include "config/model/ConfigState.h"
#include "config/transfer/ConfigCompare.h"
#include "config/transfer/IdentifierPrompt.h"
#include "link/ParChannel.h"

#include <string>

namespace vg {

// What a transfer tells the user, word for word.
namespace TransferText {
constexpr const char* SavedToUnit = "Save Data to VGL successfull!";
constexpr const char* SavedToFiles = "File save successfull!";
constexpr const char* NoNamespace = "No Namespace-Information in VG.Module found!";
constexpr const char* EnterIdentifier =
    "No Namespace-Identifier available!\nToolnames will be lost! \nWould you enter the "
    "namespace-identifier?";
} // namespace TransferText

// Where a transfer reaches the user: its boxes, the progress window and the identifier window.
struct TransferServices {
    MessageService& Messages;
    ProgressView& Progress;
    IdentifierPrompt& Identifier;
    // When given, a download that succeeded is read back and compared with what was sent,
    // under the same progress window, before the success is confirmed; the outcome is left
    // here for the caller to show.
    DownloadCheck* Check = nullptr;
};

constexpr const char* UploadCaption = "Reading data from VGL. Please wait ...";
constexpr const char* DownloadCaption = "Sending data to VGL. Please wait ...";

// Reads the six identification bytes (parameters 26..31). Only a complete read replaces
// FirmwareInfo and sets ToolCapacity; the caller sets VersionValid.
bool ReadFirmwareInfo(ConfigState& config, ParChannel& par, ErrorCode& error);

// The tool slots a transfer exchanges: tool 0 always, and never more than the image holds,
// whatever ToolCapacity says.
int ToolSlotsToExchange(const ConfigState& config);

// Whether a download sends the pulse time: unless the unit is known to run firmware without
// it.
bool PulseTimeSent(const ConfigState& config);

// The image with its global and default settings as the unit keeps them once sent: each
// field cut to the bytes of its parameters (the default tolerance to whole tenths).
ConfigImage GlobalsAsTheUnitHoldsThem(const ConfigImage& image);

// Reads the firmware identification (setting VersionValid), the tool slots below
// ToolCapacity and the global and default settings, as the unit holds them: nothing is
// repaired, shown, read from or written to a file.
bool ReadUnitImage(ConfigState& config, ParChannel& par, ProgressView& progress, ErrorCode& error);

// Reads the firmware identification, the tool slots below ToolCapacity, the global and
// default settings and the namespace block from the unit, then the tool names of its
// identifier. On success the tool lines are rebuilt and the snapshots taken. A failure is
// shown once and leaves what was read so far in the image.
bool LoadFromUnit(ConfigState& config, ParChannel& par, const TransferServices& services,
                  ErrorCode& transferError);

// Sends the image and the namespace block to the unit and saves the names beside the
// identifier's name file; with services.Check, reads the unit back under the same progress
// window. An image with values the unit cannot hold is not sent. Failures are shown once,
// success is confirmed with a box. The image is not changed.
bool SaveToUnit(ConfigState& config, ParChannel& par, const TransferServices& services,
                ErrorCode& transferError);

// Writes the image to `path` (a .CD file) and the names beside it. A failure is shown once,
// success is confirmed with a box.
bool SaveToFiles(const ConfigState& config, const std::string& path, MessageService& messages,
                 ErrorCode& transferError);

// The message of a transfer error code; codes outside the table are named by number.
std::string TransferErrorText(ErrorCode code);
// Shows the message; a file that could not be written is named with the system's reason on a
// line of its own below it.
void ShowTransferError(MessageService& messages, ErrorCode code, const WriteFailure& failure = {});

} // namespace vg
