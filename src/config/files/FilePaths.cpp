#include "config/files/FilePaths.h"

#include "common/ProgramFolders.h"

namespace vg {

namespace {
constexpr const char* UnitDataFolderName = "CD_DATA";
} // namespace

std::string UnitDataFilePath(std::string_view dataDir, const NamespaceInfo& info,
                             std::string_view extension) {
    std::string path = UnitDataFolder(dataDir) + "/VGL_";
    for (char c : info.CU_Id) {
        // The identifier is only valid as digits; a byte that would leave the directory or
        // cut the path short must not end up in a file name.
        path += c == '/' || c == '\0' ? '_' : c;
    }
    path += extension;
    return path;
}

std::string UnitDataFolder(std::string_view dataDir) {
    return std::string(dataDir) + UnitDataFolderName;
}

bool MakeUnitDataFolder(const std::string& dataDir) {
    // Shared with others as the program's own folder would be; only the user's folder that
    // holds it is private.
    constexpr mode_t UsualFolderMode = 0777;
    return MakeFolders(dataDir, PrivateFolderMode) &&
           MakeFolders(UnitDataFolder(dataDir), UsualFolderMode);
}

} // namespace vg
