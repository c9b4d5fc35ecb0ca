#pragma once

#include "config/model/ConfigImage.h"
#include "config/model/ConfigState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vg {

// Every text here uses a point as decimal separator whatever the process locale.

// A tool line shows at most this many characters of a name, so that the line keeps its
// 79 columns; the name itself is not changed.
constexpr size_t ToolLineNameLimit = 50;

// The stored name up to its terminator, never more than the 80 bytes of the record.
std::string ToolNameText(const ToolNameRecord& record);

// " %03d   %6.2f  %5.2f    %d    %s"
std::string FormatToolLine(int toolNr, const ToolRecord& tool, std::string_view name);

// Rebuilds ToolLines and ToolLineIndex from the tool table and the names.
void BuildToolLines(ConfigState& state);

// The tool number at the start of a line of ToolLines; -1 for an index outside the list.
int ToolNumberOfLine(const ConfigState& state, int lineIndex);

// "V%d.%02d  %02d/%02d/%02d" of FwMajor, FwMinor, FwDate1, FwDate2, FwDate3.
std::string FirmwareVersionText(const FirmwareInfo& info);

// " / Vigilo" for the unit, else " / " and the file name part of ConfigFileName.
std::string SourceSuffix(const ConfigState& state);

// "%.2f" with a point: a degree value as the tool lines write it.
std::string TwoDecimalsText(double value);

// Whole hundredths as "%d.%02d" of quotient and remainder: 12000 is "120.00". A negative
// number is written as its sign and the text of its magnitude: -5 is "-0.05".
std::string HundredthsText(int32_t hundredths);

// The float nearest to the decimal value of the hundredths text.
float HundredthsToValue(int32_t hundredths);

// value x 100 rounded to six decimals, then truncated toward zero: 2.675 gives 267.
// Values beyond the int32 range are clamped, a NaN gives 0.
int32_t ValueToHundredths(double value);

} // namespace vg
