#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace vg {

// What a unit's status topic carries.
struct StatusMessage {
    bool Online = false;
    std::optional<int> Tool;
    std::string Message; // the status text the windows show, "" when none
    int Code = 0;        // the unit's error bits
    bool Out1 = false;
    bool Out2 = false;
    std::string Scanner;
    std::optional<double> Angle; // degrees
    std::optional<std::string> Id;

    bool operator==(const StatusMessage&) const = default;
};

// Kinds of the event topic's messages.
namespace EventKind {
constexpr const char* Message = "message";
constexpr const char* Online = "online";
constexpr const char* Offline = "offline";
constexpr const char* ConfigChanged = "config-changed";
constexpr const char* BackupFailed = "backup-failed";
constexpr const char* Dropped = "dropped";
} // namespace EventKind

// What a unit's config topic carries: the latest backup.
struct BackupMessage {
    std::string Sha256;
    std::string File;
    int Tools = 0;
};

using WallClock = std::chrono::system_clock;

// ISO 8601 in local time with milliseconds and the offset: "2026-12-07T23:59:01.123+01:00".
std::string IsoTime(WallClock::time_point time);

// The messages as compact JSON objects.
std::string StatusJson(const StatusMessage& status, WallClock::time_point time);
std::string EventJson(const std::string& kind, const std::string& text, WallClock::time_point time);
std::string BackupJson(const BackupMessage& backup, WallClock::time_point time);

} // namespace vg
