#pragma once

#include "config/model/ConfigState.h"
#include "status/DisplayState.h"
#include "status/PollState.h"
#include "status/StatusViews.h"
#include "status/UnitStatus.h"

#include <cstdint>
#include <string>

namespace vg {

// Draws the parts of a status record that the poll hands over, on a status bar or, when the
// bar is none (the monitor window is open), on the monitor window.
class StatusPresenter {
public:
    StatusPresenter(const PollState& poll, DisplayState& display, ConfigState& config)
        : Poll(poll), Display(display), Config(config) {}
    StatusPresenter(const StatusPresenter&) = delete;
    StatusPresenter& operator=(const StatusPresenter&) = delete;

    // The windows attach themselves once they exist; none draws nowhere.
    void SetHost(StatusHost* host) { Host = host != nullptr ? host : &Detached; }
    StatusHost& CurrentHost() const { return *Host; }

    void Status_Reset(StatusBarView* bar);
    void Status_ShowFlags(StatusBarView* bar, uint8_t stateBits, uint16_t angle);
    void Status_ShowError(StatusBarView* bar, uint8_t errorBits);
    void Status_ShowAngle(StatusBarView* bar, uint16_t angle);
    void Status_ShowId(StatusBarView* bar);

private:
    // Before any window exists: nothing to draw on, nothing to enable.
    class DetachedHost : public StatusHost {
    public:
        void SetTimerInterval(int) override {}
        void EnableVigiloButton(bool) override {}
        void EnableMonitorMode(bool) override {}
        StatusBarView* MainStatusBar() override { return nullptr; }
        MonitorView* Monitor() override { return nullptr; }
        int FrontWindow() const override { return 1; }
    };

    void DeliverTeachResult(uint16_t angle);

    const PollState& Poll;
    DisplayState& Display;
    ConfigState& Config;
    DetachedHost Detached;
    StatusHost* Host = &Detached;
};

} // namespace vg
