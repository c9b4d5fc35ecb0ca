#pragma once

#include "config/model/ConfigState.h"
#include "gui/StatusDisplay.h"
#include "gui/StatusViews.h"
#include "status/StatusEvents.h"
#include "status/StatusPoll.h"
#include "support/LinkWorld.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vg::test {

// A status bar that keeps what was written on it.
class RecordingBar : public StatusBarView {
public:
    void SetPanelText(int panel, const std::string& text) override {
        Texts.at(static_cast<size_t>(panel)) = text;
        Writes.emplace_back(panel, text);
    }
    void Repaint() override { ++Repaints; }

    bool Wrote(int panel) const {
        for (const auto& write : Writes) {
            if (write.first == panel) {
                return true;
            }
        }
        return false;
    }
    void Forget() {
        Writes.clear();
        Repaints = 0;
    }

    std::array<std::string, StatusPanel::Count> Texts;
    std::vector<std::pair<int, std::string>> Writes;
    int Repaints = 0;
};

// The monitor window's fields as the status display leaves them.
class RecordingMonitor : public MonitorView {
public:
    void MonitorShowOutputs() override { ++OutputsShown; }
    void SetZeroPositionLamp(bool on) override { ZeroPositionLamp = on; }
    void SetScanningLamp(bool on) override { ScanningLamp = on; }
    void SetMessage(const std::string& text) override { Message = text; }
    void SetCurrentAngle(const std::string& text) override { CurrentAngles.push_back(text); }
    void MonitorShowLed() override { ++LedShown; }
    void MonitorShowTool(int kind, int toolNr) override { ToolsShown.emplace_back(kind, toolNr); }

    int OutputsShown = 0;
    int LedShown = 0;
    std::optional<bool> ZeroPositionLamp;
    std::optional<bool> ScanningLamp;
    std::optional<std::string> Message;
    std::vector<std::string> CurrentAngles;
    std::vector<std::pair<int, int>> ToolsShown;
};

// What the poll tells the windows beyond the drawing: the main window's part of its events.
class RecordingHost : public StatusEvents {
public:
    void PollIntervalChanged(int milliseconds) override { Intervals.push_back(milliseconds); }
    void UnitReachableChanged(bool reachable) override {
        VigiloButton = reachable;
        MonitorMode = reachable;
    }
    void MeasuredAngleTaken(int32_t hundredths) override { Measured.push_back(hundredths); }
    void ToolAngleTaught(int toolNr) override { TaughtTools.push_back(toolNr); }
    void EditorAngleTaught(double degrees) override { EditorAngles.push_back(degrees); }

    int Interval() const { return Intervals.empty() ? -1 : Intervals.back(); }

    RecordingBar Main;
    std::vector<int> Intervals;
    std::optional<bool> VigiloButton;
    std::optional<bool> MonitorMode;
    std::vector<int32_t> Measured;
    std::vector<int> TaughtTools;
    std::vector<double> EditorAngles;
};

// A status poll on the serial link of a LinkWorld, drawn by the windows' status display and
// heard by a RecordingHost: the parts a status test starts from.
struct DisplayedSerialPoll {
    LinkWorld World{CommMode::Serial};
    PollState State;
    ConfigState Config;
    DisplayState Display;
    StatusPoll Poll{World.Settings, World.Link, World.Serial, State, Display, Config};
    WindowInFront Front = WindowInFront::Main;
    StatusDisplay Shown{Poll, Front};
    RecordingHost Host;
};

} // namespace vg::test
