#pragma once

#include "common/BusyBox.h"
#include "config/ConfigState.h"
#include "config/ReportCanvas.h"

#include <cstdint>
#include <span>
#include <string>

namespace vg {

// Prints the configuration report: the header and settings block from PrintSettings, then
// ToolLines with page breaks. `dateTimeText` is the current local date and time as the
// title row shows it. TransferBusy is set and the busy box shown while the job runs; both
// are cleared whatever happens. False when the canvas could not start or finish the job.
bool PrintReport(ConfigState& state, ReportCanvas& canvas, BusyBox& busy,
                 const std::string& dateTimeText);

// One global or default setting as the report prints it.
struct ReportSetting {
    const char* Label; // without the colon
    int32_t ConfigImage::*Field;
    std::string (*Text)(int32_t value);
};

// The global settings and the default settings, each in the report's order.
std::span<const ReportSetting> GlobalReportSettings();
std::span<const ReportSetting> DefaultReportSettings();

// Texts of the report's value tables. A value outside its table prints "Unknown", as an
// unknown scanner does, instead of reading past the table.
std::string IntensityName(int32_t intensity);
std::string PolarityName(int32_t polarity);
std::string ActiveName(int32_t active);
std::string ScannerText(int32_t scanner);

// The report's source line: "Vigilo  CU_Id = 00001234" or "File: VGL_00001234.CD".
std::string ReportSourceText(const ConfigState& state);

} // namespace vg
