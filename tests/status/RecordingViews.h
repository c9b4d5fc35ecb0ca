#pragma once

#include "status/PollState.h"
#include "status/StatusViews.h"

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

// The monitor window's fields as the poll and the presenter leave them.
class RecordingMonitor : public MonitorView {
public:
    explicit RecordingMonitor(const PollState& poll) : Poll(poll) {}

    void MonitorShowOutputs() override { ++OutputsShown; }
    void SetZeroPositionLamp(bool on) override { ZeroPositionLamp = on; }
    void SetScanningLamp(bool on) override { ScanningLamp = on; }
    void SetMessage(const std::string& text) override { Message = text; }
    void SetCurrentAngle(const std::string& text) override { CurrentAngles.push_back(text); }
    void MonitorShowLed() override { ++LedShown; }
    // What MonitorShowTool reads: the kind of the record just processed and its tool.
    void MonitorShowTool() override {
        ToolsShown.emplace_back(Poll.StatusKind, Poll.CurrentToolNr);
    }

    int OutputsShown = 0;
    int LedShown = 0;
    std::optional<bool> ZeroPositionLamp;
    std::optional<bool> ScanningLamp;
    std::optional<std::string> Message;
    std::vector<std::string> CurrentAngles;
    std::vector<std::pair<int, int>> ToolsShown;

private:
    const PollState& Poll;
};

class RecordingHost : public StatusHost {
public:
    void SetTimerInterval(int milliseconds) override { Intervals.push_back(milliseconds); }
    void EnableVigiloButton(bool enabled) override { VigiloButton = enabled; }
    void EnableMonitorMode(bool enabled) override { MonitorMode = enabled; }
    StatusBarView* MainStatusBar() override { return &Main; }
    MonitorView* Monitor() override { return MonitorWindow; }
    int FrontWindow() const override { return Front; }
    void MeasuredAngleShown(int32_t hundredths) override { Measured.push_back(hundredths); }
    void ToolAngleTaught(int toolNr) override { TaughtTools.push_back(toolNr); }
    void EditorAngleTaught(double degrees) override { EditorAngles.push_back(degrees); }

    int Interval() const { return Intervals.empty() ? -1 : Intervals.back(); }

    RecordingBar Main;
    MonitorView* MonitorWindow = nullptr;
    int Front = FrontWindowNr::Main;
    std::vector<int> Intervals;
    std::optional<bool> VigiloButton;
    std::optional<bool> MonitorMode;
    std::vector<int32_t> Measured;
    std::vector<int> TaughtTools;
    std::vector<double> EditorAngles;
};

} // namespace vg::test
