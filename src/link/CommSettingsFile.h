#pragma once

#include "link/CommSettings.h"

#include <string>

namespace vg {

// The settings file in the program's directory. Where no file of exactly this name exists,
// the reader and the writer take one whose name differs only in case (the writer of other
// installations spells it "Konfig.CFG").
constexpr const char* CommSettingsFileName = "Konfig.Cfg";

// Reads "A:", "C:", "M:" and "D:" lines into the settings. Mode becomes fieldbus unless
// the file selects serial; ComPortNr, DevAddr and DriverPath keep their values unless the
// file sets them. False when the file cannot be opened. A "D:" line longer than any path is
// skipped without being held in memory whole; `problem`, if given, then names its line.
bool ReadCommSettings(CommSettings& settings, const std::string& programDir,
                      std::string* problem = nullptr);

// Writes the three lines "A:%d", "C:%d", "M:%d" ending in CR LF, and "D:" with the driver's
// path when there is one (other programs skip a key they do not know). False when the file
// could not be written (errno says why, EINVAL for a path with a line end); the previous
// file is then left as it was.
bool WriteCommSettings(const CommSettings& settings, const std::string& programDir);

} // namespace vg
