#pragma once

#include "gui/StatusLamps.h"
#include "gui/StatusViews.h"
#include "status/StatusEvents.h"
#include "status/StatusPoll.h"

namespace vg {

// Draws what the status poll tells, field by field, on the status bar in front or, while the
// monitor window is in front, on the monitor window; keeps what the lamps show.
class StatusDisplay : public StatusEvents {
public:
    StatusDisplay(StatusPoll& poll, const WindowInFront& front) : Poll(poll), Front(front) {}
    StatusDisplay(const StatusDisplay&) = delete;
    StatusDisplay& operator=(const StatusDisplay&) = delete;

    // The bar that shows the status from now on; a new bar is drawn in full with the next
    // record. None: the monitor window shows it.
    void ShowOn(StatusBarView* bar);
    StatusBarView* Target() const { return Bar; }
    // The monitor window, while it exists.
    void SetMonitor(MonitorView* monitor) { Monitor = monitor; }
    const StatusLampState& Lamps() const { return LampState; }

    void PollIntervalChanged(int milliseconds) override;
    void UnitReachableChanged(bool reachable) override;
    void StatusRecordTaken(const StatusRecordUpdate& record) override;
    void HeartbeatTurned() override;
    void UnitWentOffline() override;

private:
    void TakeHeartbeat() { LampState.Heartbeat = Poll.Heartbeat(); }
    void ShowFlags(uint8_t stateBits);
    void ShowError(uint8_t errorBits);
    void ShowAngle(uint16_t angle, int kind);

    StatusPoll& Poll;
    const WindowInFront& Front;
    StatusBarView* Bar = nullptr;
    MonitorView* Monitor = nullptr;
    StatusLampState LampState;
};

} // namespace vg
