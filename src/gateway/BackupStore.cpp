#include "gateway/BackupStore.h"

#include "common/FileIo.h"
#include "common/ProgramFolders.h"
#include "config/files/ConfigFile.h"
#include "config/files/NamespaceFile.h"
#include "config/transfer/ConfigCompare.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace vg {

namespace fs = std::filesystem;

namespace {

constexpr const char* ConfigExtension = ".CD";
constexpr size_t StampLength = 16; // YYYYMMDDTHHMMSSZ

// Takes warnings of a load without showing them: a backup that cannot be read is no backup.
class QuietMessages : public MessageService {
public:
    MessageResult ShowMessage(const std::string&, MessageKind, MessageButtons) override {
        return MessageResult::Ok;
    }
};

// A file of at most `limit` bytes, whole.
bool ReadWholeFile(const std::string& path, size_t limit, std::string& bytes) {
    return ReadFileStart(path, limit + 1, bytes) && bytes.size() <= limit;
}

bool IsBackupName(const std::string& name) {
    if (name.size() != StampLength + 3 || name.compare(StampLength, 3, ConfigExtension) != 0) {
        return false;
    }
    for (size_t i = 0; i < StampLength; ++i) {
        const char c = name[i];
        const bool digit = c >= '0' && c <= '9';
        if (i == 8 ? c != 'T' : i == StampLength - 1 ? c != 'Z' : !digit) {
            return false;
        }
    }
    return true;
}

int ProgrammedTools(const ConfigImage& image) {
    return static_cast<int>(
        std::count_if(image.Tools.begin(), image.Tools.end(),
                      [](const ToolRecord& tool) { return tool.Programmed == 1; }));
}

std::vector<std::string> DifferenceTexts(const std::string& previousFile, const ConfigState& unit) {
    ConfigState previous;
    InitConfigState(previous);
    ErrorCode error = 0;
    QuietMessages messages;
    std::vector<std::string> texts;
    if (!LoadConfigFile(previous, previousFile, error, messages)) {
        return texts;
    }
    CompareScope scope;
    scope.Identifier = false;
    for (const ConfigDifference& difference : CompareWithUnit(previous, unit, scope)) {
        texts.push_back(DifferenceText(difference, "in file", "in unit"));
    }
    return texts;
}

} // namespace

std::string BackupStamp(WallClock::time_point time) {
    const std::time_t seconds = WallClock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

std::string Sha256Hex(std::string_view bytes) {
    return QCryptographicHash::hash(
               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

BackupStore::BackupStore(std::string folder) : Path(std::move(folder)) {}

std::optional<std::string> BackupStore::NewestConfigFile() const {
    std::error_code ec;
    std::optional<std::string> newest;
    for (const fs::directory_entry& entry : fs::directory_iterator(Path, ec)) {
        const std::string name = entry.path().filename().string();
        if (IsBackupName(name) && (!newest || name > *newest)) {
            newest = name;
        }
    }
    if (newest) {
        return Path + *newest;
    }
    return std::nullopt;
}

std::string BackupStore::FreeBackupName(WallClock::time_point time) const {
    // Two backups in one second keep both: the later is named a second on, so that the names
    // stay in the order the backups were made.
    std::error_code ec;
    std::string file = Path + BackupStamp(time) + ConfigExtension;
    while (fs::exists(file, ec)) {
        time += std::chrono::seconds(1);
        file = Path + BackupStamp(time) + ConfigExtension;
    }
    return file;
}

std::optional<BackupMessage> BackupStore::Latest() const {
    const std::optional<std::string> file = NewestConfigFile();
    std::string cd;
    std::string ns;
    if (!file || !ReadWholeFile(*file, ConfigFileSize, cd) ||
        !ReadWholeFile(ToolNamesFileBeside(*file), ToolNamesFileSize, ns) ||
        cd.size() != ConfigFileSize) {
        return std::nullopt;
    }
    ConfigImage image{};
    std::memcpy(&image, cd.data(), sizeof image);
    return BackupMessage{Sha256Hex(cd + ns), *file, ProgrammedTools(image)};
}

BackupOutcome BackupStore::Keep(const ConfigState& unit, WallClock::time_point time) {
    BackupOutcome outcome;
    const std::string cd = ConfigFileBytes(unit.ConfigImage);
    const std::string ns(ToolNamesBytes(unit.ToolNameTable));
    const std::optional<BackupMessage> latest = Latest();
    const std::string hash = Sha256Hex(cd + ns);
    if (latest && latest->Sha256 == hash) {
        outcome.Ok = true;
        outcome.Latest = *latest;
        return outcome;
    }
    if (!MakeFolders(Path, PrivateFolderMode)) {
        outcome.Error = Path + ": " + std::strerror(errno);
        return outcome;
    }
    if (latest) {
        // Before anything is written: a backup of this very second may be the latest.
        outcome.Differences = DifferenceTexts(latest->File, unit);
    }
    const std::string file = FreeBackupName(time);
    WriteFailure failure;
    if (!ReplaceFilesTogether({{file, cd}, {ToolNamesFileBeside(file), ns}}, {}, &failure)) {
        outcome.Error = failure.Line();
        return outcome;
    }
    outcome.Ok = true;
    outcome.Written = true;
    outcome.First = !latest;
    outcome.Latest = {hash, file, ProgrammedTools(unit.ConfigImage)};
    return outcome;
}

} // namespace vg
