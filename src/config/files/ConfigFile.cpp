#include "config/files/ConfigFile.h"

#include "common/AsciiText.h"
#include "common/ErrorCode.h"
#include "config/files/FilePaths.h"
#include "config/files/NamespaceFile.h"
#include "config/model/TextFormats.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace vg {

namespace {

constexpr std::array<uint16_t, 6> FileNameStamp = {2004, 8, 24, 17, 15, 16};

bool IsAcceptedSize(long long size) {
    return size == static_cast<long long>(ConfigFileSize) ||
           size == static_cast<long long>(ConfigFileSize32) ||
           size == static_cast<long long>(ConfigFileSize256);
}

// The file keeps the pulse time plus 1. Done on 32 bits with wrap-around, as the field is,
// so that no value from a foreign file can overflow.
int32_t ShiftedPulseTime(int32_t value, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

// Reads the image part of an open file of accepted size; false with the warning otherwise.
bool ReadImage(ConfigState& state, int fd, ErrorCode& error, MessageService& messages) {
    if (!IsAcceptedSize(FileSize(fd))) {
        error = TransferCode::ParameterFile;
        messages.ShowMessage(ConfigFileSizeWarning, MessageKind::Warning, MessageButtons::Ok);
        return false;
    }
    ConfigImage& image = state.ConfigImage;
    ReadUpTo(fd, &image, sizeof(ConfigImage));
    if (image.OutPulseTime != 0) {
        image.OutPulseTime = ShiftedPulseTime(image.OutPulseTime, -1);
    }
    return true;
}

} // namespace

bool LoadConfigFile(ConfigState& state, const std::string& path, ErrorCode& error,
                    MessageService& messages) {
    error = 0;
    SetConfigDefaults(state.ConfigImage);
    // Names of the previous configuration would otherwise stay with a new, empty or refused
    // one, and the next save would write them into this file's name file.
    for (ToolNameRecord& record : state.ToolNameTable) {
        record.Defined = 0;
    }
    bool result = true;
    UniqueFd fd = OpenForReading(ExistingPathIgnoringCase(path));
    if (fd.IsOpen()) {
        result = ReadImage(state, fd.Get(), error, messages);
        if (result) {
            // An illegal name file has its own warning and does not fail the load.
            ErrorCode namesError = 0;
            LoadToolNames(state.ToolNameTable, path, namesError, messages);
        }
    }
    state.NamespaceIdValid = CuIdFromFileName(path, state.NamespaceInfo);
    BuildToolLines(state);
    TakeSnapshots(state);
    return result;
}

bool CuIdFromFileName(const std::string& path, NamespaceInfo& info) {
    std::string name = FileNamePart(path);
    // Only ASCII letters matter to the rule, so the locale must not take part.
    std::transform(name.begin(), name.end(), name.begin(), AsciiUpper);
    if (name.rfind("VGL_", 0) != 0) {
        return false;
    }
    const std::string stem = ReplaceExtension(name, "");
    if (stem.size() != 4 + CuIdLength) {
        return false;
    }
    for (size_t i = 0; i < CuIdLength; ++i) {
        const char c = stem[4 + i];
        if (!IsAsciiDigit(c)) {
            return false;
        }
        info.CU_Id[i] = c;
    }
    info.Stamp = FileNameStamp;
    return true;
}

long long FileSize(int fd) {
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    const off_t end = ::lseek(fd, 0, SEEK_END);
    if (position < 0 || end < 0 || ::lseek(fd, position, SEEK_SET) < 0) {
        return -1;
    }
    return end;
}

std::string ConfigFileBytes(const ConfigImage& image) {
    ConfigImage stored = image;
    stored.OutPulseTime = ShiftedPulseTime(stored.OutPulseTime, 1);
    return std::string(reinterpret_cast<const char*>(&stored), sizeof stored);
}

bool WriteConfigFile(const ConfigState& state, const std::string& path, ErrorCode& error,
                     const WriteFunction& write, WriteFailure* failure) {
    const std::string bytes = ConfigFileBytes(state.ConfigImage);
    // Both files are written before either is replaced: a failure leaves the old pair.
    error = ReplaceFilesTogether({{ExistingPathIgnoringCase(path), bytes},
                                  {ToolNamesFileBeside(path), ToolNamesBytes(state.ToolNameTable)}},
                                 write, failure)
                ? 0
                : TransferCode::FileWrite;
    return error == 0;
}

std::string ConfigFilePath(const std::string& dataDir, const NamespaceInfo& info) {
    return UnitDataFilePath(dataDir, info, ".CD");
}

} // namespace vg
