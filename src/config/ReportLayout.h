#pragma once

#include "common/BusyBox.h"
#include "config/ConfigState.h"
#include "config/ReportCanvas.h"

#include <cstdint>
#include <string>

namespace vg {

// Prints the configuration report: the header and settings block from PrintSettings, then
// ToolLines with page breaks. `dateTimeText` is the current local date and time as the
// title row shows it. TransferBusy is set and the busy box shown while the job runs; both
// are cleared whatever happens. False when the canvas could not start or finish the job.
bool PrintReport(ConfigState& state, ReportCanvas& canvas, BusyBox& busy,
                 const std::string& dateTimeText);

// Texts of the report's value tables. A value outside its table prints "Unknown", as an
// unknown scanner does, instead of reading past the table.
std::string IntensityName(int32_t intensity);
std::string PolarityName(int32_t polarity);
std::string ActiveName(int32_t active);

} // namespace vg
