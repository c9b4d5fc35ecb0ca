#pragma once

#include "config/model/ConfigState.h"
#include "link/CommSettings.h"
#include "link/DeviceLink.h"
#include "link/SerialPort.h"
#include "status/PollState.h"
#include "status/SerialRecovery.h"
#include "status/StatusPresenter.h"
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

// The periodic status poll. Each timer event is one Status_Tick: it sends a queued command or
// a status request, takes the reply that is there (it never waits for one), keeps Online and
// the timer interval up to date and hands what changed to the presenter.
class StatusPoll {
public:
    StatusPoll(const CommSettings& settings, DeviceLink& link, SerialPort& serial, PollState& poll,
               StatusPresenter& presenter, ConfigState& config)
        : Settings(settings), Link(link), Poll(poll), Presenter(presenter), Config(config),
          Recovery(settings, link, serial, poll, config) {}
    StatusPoll(const StatusPoll&) = delete;
    StatusPoll& operator=(const StatusPoll&) = delete;

    // The windows attach themselves once they exist (none detaches them again).
    void SetHost(StatusHost* host) { Presenter.SetHost(host); }

    void Status_Tick();
    void Status_StartLink();
    // Fieldbus: out at once, the error in TransferError. Serial: sent by the next tick in
    // place of a status request; a later command replaces one not yet sent.
    void Status_QueueCommand(const DeviceRequest& request);

    // Status records processed since start (parameter-channel blocks not counted).
    uint32_t RecordsProcessed() const { return Processed; }

    // The unit's status as the last tick left it; observers are told of every change.
    const UnitStatus& CurrentStatus() const { return Current; }
    void AddObserver(UnitStatusObserver* observer) { Observers.push_back(observer); }
    void RemoveObserver(UnitStatusObserver* observer) {
        Observers.erase(std::remove(Observers.begin(), Observers.end(), observer), Observers.end());
    }

private:
    StatusHost& Host() const { return Presenter.CurrentHost(); }
    void Reconnect();
    void RunPoll();
    void SendStatusRequest();
    // Takes what arrived; false when the reply cannot be used (nothing came, or it failed
    // its checks). `gotReply` tells whether the unit still counts as answering.
    bool TakeReply(DeviceReply& reply, bool& gotReply);
    void DeclareLost();
    void BecomeOnline();
    void ShowRecord(const DeviceReply& reply, bool targetChanged);
    void TakeIntoStatus(const DeviceReply& reply, size_t kind);
    void StatusNowOffline();
    void Publish(const UnitStatus& next);

    const CommSettings& Settings;
    DeviceLink& Link;
    PollState& Poll;
    StatusPresenter& Presenter;
    ConfigState& Config;
    SerialRecovery Recovery;
    uint32_t Processed = 0;
    UnitStatus Current;
    std::vector<UnitStatusObserver*> Observers;
    // The first open after a change of the settings tells the host when it fails.
    bool ReportOpenFailure = false;
    bool UnitAnswered = false; // since the link opened or the unit was lost
};

} // namespace vg
