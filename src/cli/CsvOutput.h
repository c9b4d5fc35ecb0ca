#pragma once

#include "cli/StatusCommands.h"
#include "config/model/ConfigState.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vg::cli {

// One row of comma-separated values, ended by a line feed. A field with a comma, a quote or a
// line break is quoted, its quotes doubled (RFC 4180). Text that a spreadsheet would take as a
// formula (beginning with =, +, -, @, a tab or a carriage return) gets a leading apostrophe;
// numbers stay as they are.
std::string CsvRow(const std::vector<std::string>& fields);

// The report as data: the source and every setting as "key,value" rows, then a header row
// and one row per programmed tool (number, angle, tolerance, intensity, name). Numbers carry a
// point whatever the locale; names are converted from Windows-1252 to UTF-8.
std::string ReportCsv(const ConfigState& config);

// The header row of `watch --csv`, and the row of one picture of the status taken at `when`
// (ISO 8601 local time with milliseconds and the offset from UTC).
std::string WatchCsvHeader();
std::string WatchCsvRow(const StatusPicture& picture, std::chrono::system_clock::time_point when);

} // namespace vg::cli
