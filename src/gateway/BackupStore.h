#pragma once

#include "config/model/ConfigState.h"
#include "gateway/GatewayMessages.h"

#include <optional>
#include <string>
#include <vector>

namespace vg {

// What keeping a configuration came to.
struct BackupOutcome {
    bool Ok = false;
    std::string Error;                    // when not Ok: the file and why
    bool Written = false;                 // a new pair; false when it equals the latest backup
    bool First = false;                   // there was no backup before
    BackupMessage Latest;                 // the backup that now holds the unit's configuration
    std::vector<std::string> Differences; // from the previous backup, when Written
};

// A unit's dated backups: YYYYMMDDTHHMMSSZ.CD and .NS in one folder, the newest last in
// name order. A configuration is kept only when it differs from the newest one.
class BackupStore {
public:
    explicit BackupStore(std::string folder); // ends with '/'

    BackupOutcome Keep(const ConfigState& unit, WallClock::time_point time);

    // The newest backup, when there is one that can be read.
    std::optional<BackupMessage> Latest() const;

    const std::string& Folder() const { return Path; }

private:
    std::optional<std::string> NewestConfigFile() const;
    std::string FreeBackupName(WallClock::time_point time) const;

    std::string Path;
};

// "20261207T235901Z"
std::string BackupStamp(WallClock::time_point time);

// The SHA-256 of `bytes` as 64 lowercase hex digits.
std::string Sha256Hex(std::string_view bytes);

} // namespace vg
