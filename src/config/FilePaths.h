#pragma once

#include "config/ConfigImage.h"

#include <string>
#include <string_view>

namespace vg {

// Everything after the last directory separator.
std::string FileNamePart(std::string_view path);

// Replaces the extension of the file name part (from its last point on) by `extension`, or
// appends it when the name has none.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

// dataDir + "CD_DATA/VGL_" + the eight identifier characters + extension: the default
// place of a unit's configuration (".CD") and tool-name (".NS") file. `dataDir` is the folder
// that holds CD_DATA: the program's folder, or the user's data folder for an installed program.
std::string UnitDataFilePath(std::string_view dataDir, const NamespaceInfo& info,
                             std::string_view extension);

// dataDir + "CD_DATA", without a separator at the end.
std::string UnitDataFolder(std::string_view dataDir);

// Creates dataDir + "CD_DATA" when it is missing, and the folder that holds it (private to the
// user) when that is missing too. True when it is there afterwards; otherwise errno says why.
bool MakeUnitDataFolder(const std::string& dataDir);

} // namespace vg
