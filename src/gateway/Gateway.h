#pragma once

#include "gateway/BrokerConnection.h"
#include "gateway/EventQueue.h"
#include "gateway/GatewayConfig.h"
#include "gateway/UnitWatcher.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

namespace vg {

// The gateway's work on its own thread: the units' polls and backups, and what goes to the
// broker. Everything else (signals, the service manager) only wakes it.
class Gateway : private UnitReports {
public:
    using Clock = std::chrono::steady_clock;

    Gateway(GatewaySettings settings, std::string stateDir, std::ostream& log);
    ~Gateway() override;
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    // Connects to the broker in the background and opens every unit. False with a message
    // when the broker settings are refused (a password file that cannot be read, say).
    bool Start(std::string& error);

    // One round: polls what is due, answers the broker, publishes what waits. Returns when
    // something is due to be done again, at `until` at the latest, or when woken.
    void RunUntil(Clock::time_point until);
    // Makes RunUntil return now; callable from any thread.
    void Wake();

    // Takes new settings: units that went are closed, new ones opened, changed ones opened
    // anew; the others keep running. A changed [broker] connects anew.
    void Apply(GatewaySettings settings, std::string& error);

    // Publishes "offline", disconnects, and closes every unit's link.
    void Stop();

    std::string GatewayTopic() const;

private:
    struct WatchedUnit {
        std::unique_ptr<UnitWatcher> Watcher;
        EventQueue Events;
        std::string StatusJson; // the latest status message, published or not
        std::string BackupJson; // the latest backup message, "" when none yet
        bool StatusPublished = false;
        bool BackupPublished = false;
    };

    void StatusChanged(const std::string& unit, const UnitStatus& status) override;
    void UnitEvent(const std::string& unit, const std::string& kind,
                   const std::string& text) override;
    void BackupFinished(const std::string& unit, const BackupOutcome& outcome) override;

    void AddUnit(const UnitSettings& settings);
    void TakeBrokerEvents();
    void BrokerConnected();
    void TakeCommand(const std::string& topic);
    void PublishWaiting();
    void PublishWaiting(const std::string& name, WatchedUnit& unit);
    std::string Topic(const std::string& unit, const char* leaf) const;
    Clock::time_point NextDue(Clock::time_point until) const;

    // Before the broker and the units: their threads wake the gateway until they are gone.
    std::mutex WakeMutex;
    std::condition_variable WakeSignal;
    bool Woken = false;

    GatewaySettings Settings;
    std::string StateDir;
    std::ostream& Log;
    std::unique_ptr<BrokerConnection> Broker;
    std::map<std::string, WatchedUnit> Units;
};

} // namespace vg
