#pragma once

#include "config/model/ConfigState.h"
#include "link/CommSettings.h"
#include "link/DeviceLink.h"
#include "link/SerialPort.h"
#include "status/DisplayState.h"
#include "status/PollState.h"
#include "status/SerialRecovery.h"
#include "status/StatusEvents.h"
#include "status/UnitStatus.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vg {

// Timer intervals of the poll, in milliseconds.
namespace PollInterval {
constexpr int Designed = 700; // until the first open succeeded
constexpr int Online = 120;
constexpr int Offline = 800;
} // namespace PollInterval

// The periodic status poll. Each timer event is one Tick: it sends a queued command or
// a status request, takes the reply that is there (it never waits for one), keeps Online and
// the timer interval up to date, delivers a teach's result and tells what it took: the unit's
// status to its observers, the record and the rest to its listeners.
class StatusPoll {
public:
    StatusPoll(const CommSettings& settings, DeviceLink& link, SerialPort& serial, PollState& poll,
               DisplayState& display, ConfigState& config)
        : Settings(settings), Link(link), Poll(poll), Display(display), Config(config),
          Recovery(settings, link, serial, poll, config) {}
    StatusPoll(const StatusPoll&) = delete;
    StatusPoll& operator=(const StatusPoll&) = delete;

    // Whoever takes the poll's events (the windows, vgctl, the gateway) listens while it runs.
    void AddListener(StatusEvents* listener) { Listeners.push_back(listener); }
    void RemoveListener(StatusEvents* listener) {
        Listeners.erase(std::remove(Listeners.begin(), Listeners.end(), listener), Listeners.end());
    }

    void Tick();
    void StartLink();
    // Fieldbus: out at once, the error in TransferError. Serial: sent by the next tick in
    // place of a status request; a later command replaces one not yet sent.
    void QueueCommand(const DeviceRequest& request);

    // Status records processed since start (parameter-channel blocks not counted).
    uint32_t RecordsProcessed() const { return Processed; }

    // One status record as the unit sent it: Tick hands over each one it reads.
    void TakeRecord(const DeviceReply& reply);
    // Records of both kinds in turn, for a view of the actual tool; off returns to kind 0.
    void AskBothKinds(bool both);
    // The next record counts as new in every field, for a view that has just come to front.
    void RedrawWithNextRecord() { Poll.RedrawAll = true; }
    // Where the rhythm of the records stands, for an online lamp.
    StatusHeartbeat Heartbeat() const { return {Poll.Online, Poll.PollCounter, Poll.PollModulus}; }

    // The unit's status as the last tick left it; observers are told of every change.
    const UnitStatus& CurrentStatus() const { return Current; }
    void AddObserver(UnitStatusObserver* observer) { Observers.push_back(observer); }
    void RemoveObserver(UnitStatusObserver* observer) {
        Observers.erase(std::remove(Observers.begin(), Observers.end(), observer), Observers.end());
    }

private:
    template <typename Call> void Tell(Call call) {
        for (StatusEvents* listener : Listeners) {
            call(*listener);
        }
    }
    void Reconnect();
    void RunPoll();
    void SendStatusRequest();
    // Takes what arrived; false when the reply cannot be used (nothing came, or it failed
    // its checks). `gotReply` tells whether the unit still counts as answering.
    bool TakeReply(DeviceReply& reply, bool& gotReply);
    void DeclareLost();
    void BecomeOnline();
    void BecomeUnreachable();
    void TakeTeachResult(uint8_t stateBits, uint16_t angle);
    UnitStatus StatusWith(const DeviceReply& reply, size_t kind) const;
    void StatusNowOffline();
    void Publish(const UnitStatus& next);

    const CommSettings& Settings;
    DeviceLink& Link;
    PollState& Poll;
    DisplayState& Display;
    ConfigState& Config;
    SerialRecovery Recovery;
    uint32_t Processed = 0;
    UnitStatus Current;
    std::vector<UnitStatusObserver*> Observers;
    std::vector<StatusEvents*> Listeners;
    // The first open after a change of the settings tells the host when it fails.
    bool ReportOpenFailure = false;
    bool UnitAnswered = false; // since the link opened or the unit was lost
};

} // namespace vg
