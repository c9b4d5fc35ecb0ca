#pragma once

#include "common/ErrorCode.h"
#include "common/ProgressView.h"
#include "config/model/ConfigState.h"
#include "config/transfer/ConfigCompare.h"
#include "link/ParChannel.h"

#include <vector>

namespace vg {

constexpr const char* ReadBackCaption = "Reading back data from VGL. Please wait ...";
constexpr const char* UnitAndFileSameText = "Unit and file are the same.";

// Reads what the unit holds into `unit`, a state of its own, with the upload's transactions:
// the firmware identification, the tool slots below its capacity, the settings as the unit
// keeps them (not repaired) and, when asked for, the namespace block. No file is read or
// written and nothing is shown; the progress bar follows the tool slots.
bool ReadBackFromUnit(ConfigState& unit, ParChannel& par, ProgressView& progress,
                      bool withNamespaceBlock, ErrorCode& error);

// After a download that succeeded: reads the unit back and compares it with what was sent.
// The pulse time counts only when it was sent, the identifier only when the namespace block
// was written, tool slots only below the capacity both reads found.
void VerifyDownload(const ConfigState& sent, ParChannel& par, ProgressView& progress,
                    DownloadCheck& check);

// Reads the unit back and compares it with a loaded configuration file: what a download of
// the file would change. Programmed tools the unit has no slot for count as differences; the
// identifier counts when the file's name carries one. False when the unit could not be read.
bool CompareFileWithUnit(const ConfigState& file, ParChannel& par, ProgressView& progress,
                         std::vector<ConfigDifference>& differences, ErrorCode& error);

} // namespace vg
