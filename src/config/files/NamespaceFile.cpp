#include "config/files/NamespaceFile.h"

#include "common/AsciiText.h"
#include "common/ErrorCode.h"
#include "config/files/FilePaths.h"

#include <algorithm>

namespace vg {

std::string ToolNamesFileBeside(const std::string& path) {
    return ExistingPathIgnoringCase(ReplaceExtension(path, ".NS"));
}

std::string_view ToolNamesBytes(const ToolNameTable& names) {
    return {reinterpret_cast<const char*>(names.data()), sizeof(ToolNameTable)};
}

bool LoadToolNames(ToolNameTable& names, const std::string& path, ErrorCode& error,
                   MessageService& messages) {
    error = 0;
    // Names of the previous configuration must not show up with this one.
    for (ToolNameRecord& record : names) {
        record.Defined = 0;
    }
    UniqueFd fd = OpenForReading(ToolNamesFileBeside(path));
    if (!fd.IsOpen()) {
        return true;
    }
    const size_t got = ReadUpTo(fd.Get(), names.data(), sizeof(ToolNameTable));
    if (got == ToolNamesFileSize || got == ToolNamesFileSize32) {
        return true;
    }
    error = TransferCode::NamespaceFile;
    messages.ShowMessage(NamesFileSizeWarning, MessageKind::Warning, MessageButtons::Ok);
    return false;
}

bool SaveToolNames(const ToolNameTable& names, const std::string& path, ErrorCode& error,
                   const WriteFunction& write, WriteFailure* failure) {
    const std::string namesPath = ToolNamesFileBeside(path);
    error = 0;
    if (!ReplaceFileContents(namesPath, ToolNamesBytes(names), write)) {
        if (failure != nullptr) {
            failure->Record(namesPath);
        }
        error = TransferCode::FileWrite;
    }
    return error == 0;
}

std::string NamespaceFilePath(const std::string& dataDir, const NamespaceInfo& info) {
    return UnitDataFilePath(dataDir, info, ".NS");
}

bool AnyToolNameDefined(const ToolNameTable& names) {
    return std::any_of(names.begin(), names.end(),
                       [](const ToolNameRecord& record) { return record.Defined != 0; });
}

bool AcceptCuIdEntry(std::string_view entry, NamespaceInfo& info, bool& namespaceIdValid) {
    namespaceIdValid =
        entry.size() == CuIdLength &&
        std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (namespaceIdValid) {
        std::copy(entry.begin(), entry.end(), info.CU_Id.begin());
    }
    return namespaceIdValid;
}

} // namespace vg
