#pragma once

#include "gateway/BackupStore.h"
#include "gateway/GatewayConfig.h"
#include "gateway/GatewayMessages.h"
#include "session/Session.h"
#include "status/StatusEvents.h"
#include "status/UnitStatus.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace vg {

// What a unit watcher tells the gateway, on the gateway's thread.
class UnitReports {
public:
    virtual ~UnitReports() = default;
    virtual void StatusChanged(const std::string& unit, const UnitStatus& status) = 0;
    virtual void UnitEvent(const std::string& unit, const std::string& kind,
                           const std::string& text) = 0;
    virtual void BackupFinished(const std::string& unit, const BackupOutcome& outcome) = 0;
};

// One unit the gateway watches: a session of its own, polled in the rhythm of the windows.
// Its configuration is read in a thread of its own while its poll rests; the other units'
// polls go on meanwhile.
class UnitWatcher : private StatusEvents, private UnitStatusObserver {
public:
    using Clock = std::chrono::steady_clock;

    // `wake` tells the gateway's thread that a backup has finished.
    UnitWatcher(UnitSettings settings, const std::string& stateDir, UnitReports& reports,
                std::function<void()> wake);
    // Waits for a backup that runs and closes the link as a normal close does.
    ~UnitWatcher() override;
    UnitWatcher(const UnitWatcher&) = delete;
    UnitWatcher& operator=(const UnitWatcher&) = delete;

    // Opens the link; a unit that is not there yet is opened by later ticks.
    void Start(Clock::time_point now);
    // Polls when the poll is due, takes a backup that finished and starts one that is due.
    void Service(Clock::time_point now);
    Clock::time_point NextService() const;

    // A backup as soon as the unit answers (and no backup runs).
    void RequestBackup() { BackupDue = true; }

    const UnitSettings& Settings() const { return Unit; }
    const UnitStatus& Status() const { return Core.Status.CurrentStatus(); }
    bool BackupRunning() const { return Backup.joinable(); }

private:
    // The interval is all a unit without windows takes of the poll's events.
    void PollIntervalChanged(int milliseconds) override;

    void UnitStatusChanged(const UnitStatus& status) override;
    void StartBackup();
    void FinishBackup(Clock::time_point now);

    UnitSettings Unit;
    UnitReports& Reports;
    std::function<void()> Wake;
    Session Core;
    BackupStore Store;
    std::chrono::milliseconds Interval;
    Clock::time_point NextTick;
    UnitStatus Reported;

    bool BackupDue = false;
    Clock::time_point NextBackup = Clock::time_point::max();
    std::atomic<bool> Stopping{false};
    std::thread Backup;
    mutable std::mutex BackupMutex;
    std::optional<BackupOutcome> BackupResult; // set by the backup thread when it is done
    std::optional<NamespaceInfo> BackupIdentifier;
};

// The status topic's message for a unit status.
StatusMessage StatusMessageOf(const UnitStatus& status);

} // namespace vg
