#pragma once

#include "config/model/ConfigImage.h"

#include <cstdint>
#include <span>
#include <string>

namespace vg {

// One global or default setting as the report prints it; the comparison with a unit and the
// CSV name a setting and write its value the same way.
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

} // namespace vg
