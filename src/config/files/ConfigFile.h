#pragma once

#include "common/ErrorCode.h"
#include "common/FileIo.h"
#include "common/MessageService.h"
#include "common/WriteFailure.h"
#include "config/model/ConfigState.h"

#include <string>

namespace vg {

// The warning for a .CD file of none of the accepted sizes.
constexpr const char* ConfigFileSizeWarning = "Konfig-File has illegal size!";

// Accepted .CD sizes: the current 128 slots, the old 32 slots, and 256 slots of which the
// first 128 are taken.
constexpr size_t ConfigFileSize = sizeof(ConfigImage);              // 2124
constexpr size_t ConfigFileSize32 = 76 + 32 * sizeof(ToolRecord);   // 588
constexpr size_t ConfigFileSize256 = 76 + 256 * sizeof(ToolRecord); // 4172

// Loads a .CD file and the names beside it into the state. True when the file was read or
// does not exist (then the defaults are a new configuration); false with code 2 and a
// warning when its size is illegal. In every case the names of the previous configuration
// are dropped, the identifier is taken from the file name, the tool lines are rebuilt and the
// snapshots are taken.
bool LoadConfigFile(ConfigState& state, const std::string& path, ErrorCode& error,
                    MessageService& messages);

// Naming rule "VGL_" + eight digits (case-insensitive, any extension, any directory). On
// success CU_Id holds the digits and Stamp the fixed file stamp.
bool CuIdFromFileName(const std::string& path, NamespaceInfo& info);

// Length of an open file; its read position is left where it was. -1 if it cannot be told.
long long FileSize(int fd);

// The bytes of a .CD file that holds `image` (OutPulseTime stored plus 1).
std::string ConfigFileBytes(const ConfigImage& image);

// The file branch of a save: the image (OutPulseTime stored plus 1) to `path` and the names
// beside it. Code 3 when either is not fully written; then both previous files are left as
// they were, and `failure`, if given, tells which file and why. The image itself is not
// changed.
bool WriteConfigFile(const ConfigState& state, const std::string& path, ErrorCode& error,
                     const WriteFunction& write = {}, WriteFailure* failure = nullptr);

// DataDir + "CD_DATA/VGL_" + CU_Id + ".CD", the name proposed for a unit's file.
std::string ConfigFilePath(const std::string& dataDir, const NamespaceInfo& info);

} // namespace vg
