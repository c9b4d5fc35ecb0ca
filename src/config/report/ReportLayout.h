#pragma once

#include "common/BusyBox.h"
#include "config/model/ConfigState.h"
#include "config/model/SettingTexts.h"
#include "config/report/ReportCanvas.h"

#include <cstdint>
#include <span>
#include <string>

namespace vg {

// Prints the configuration report: the header, the settings block from `settings` (the
// settings window prints its pages as they stand), then ToolLines with page breaks. `dateTimeText`
// is the current local date and time as the title row shows it. TransferBusy is set and the busy
// box shown while the job runs; both are cleared whatever happens. False when the canvas could not
// start or finish the job.
bool PrintReport(ConfigState& state, const ConfigImage& settings, ReportCanvas& canvas,
                 BusyBox& busy, const std::string& dateTimeText);

// The report's source line: "Vigilo  CU_Id = 00001234" or "File: VGL_00001234.CD".
std::string ReportSourceText(const ConfigState& state);

} // namespace vg
