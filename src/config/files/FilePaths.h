#pragma once

#include "config/model/ConfigImage.h"
#include "config/model/FileNames.h"

#include <string>
#include <string_view>

namespace vg {

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
