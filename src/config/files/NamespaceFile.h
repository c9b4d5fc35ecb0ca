#pragma once

#include "common/ErrorCode.h"
#include "common/FileIo.h"
#include "common/MessageService.h"
#include "common/WriteFailure.h"
#include "config/model/ConfigImage.h"

#include <string>
#include <string_view>

namespace vg {

// The warning for a .NS file of none of the accepted sizes.
constexpr const char* NamesFileSizeWarning = "Namespace-File has illegal size!";

constexpr size_t ToolNamesFileSize = sizeof(ToolNameTable);         // 128 records
constexpr size_t ToolNamesFileSize32 = 32 * sizeof(ToolNameRecord); // 32-slot configuration

// The names file beside a configuration file: `path` with its extension replaced by ".NS",
// or an existing file whose name differs from that only in case.
std::string ToolNamesFileBeside(const std::string& path);

// What the names file holds: the 128 records as they are.
std::string_view ToolNamesBytes(const ToolNameTable& names);

// Reads the names from `path` with its extension replaced by ".NS". No file means no names
// (true); a file of illegal size is warned about and gives code 1 (false), keeping what was
// read.
bool LoadToolNames(ToolNameTable& names, const std::string& path, ErrorCode& error,
                   MessageService& messages);

// Writes all 128 records to the names file beside `path`; code 3 when that fails, in which
// case the previous file is left as it was and `failure`, if given, tells which file and why.
bool SaveToolNames(const ToolNameTable& names, const std::string& path, ErrorCode& error,
                   const WriteFunction& write = {}, WriteFailure* failure = nullptr);

// DataDir + "CD_DATA/VGL_" + CU_Id + ".NS".
std::string NamespaceFilePath(const std::string& dataDir, const NamespaceInfo& info);

bool AnyToolNameDefined(const ToolNameTable& names);

// Shown by the identifier window when AcceptCuIdEntry refuses an entry.
constexpr std::string_view CuIdEntryErrorText = "Please enter 8 numeric digits (0..9)!";

// The identifier window's check of its entry: eight digits become CU_Id (Stamp is kept) and
// make the identifier valid; anything else leaves CU_Id alone and makes it invalid.
bool AcceptCuIdEntry(std::string_view entry, NamespaceInfo& info, bool& namespaceIdValid);

} // namespace vg
