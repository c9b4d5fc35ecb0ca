#pragma once

#include <cstdint>
#include <string>

namespace vg {

// Panels of the six-panel status bar that the main, manual-mode and settings windows carry.
namespace StatusPanel {
constexpr int Error = 0;
constexpr int Outputs = 1; // drawn: " Outs:" and the lamps of Out1 and Out2
constexpr int Scanning = 2;
constexpr int Angle = 3;
constexpr int Id = 4;
constexpr int Online = 5; // drawn: the online lamp
constexpr int Count = 6;
} // namespace StatusPanel

// The working window in front while the main window is hidden, or the main window itself.
enum class WindowInFront : std::uint8_t { Main, Settings, Manual, Monitor };

// One status bar. The drawn panels take their lamps from the status display when repainted.
class StatusBarView {
public:
    virtual ~StatusBarView() = default;
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    virtual void Repaint() = 0;
};

// The monitor window's fields, written while it is in front and no status bar is shown.
class MonitorView {
public:
    virtual ~MonitorView() = default;
    virtual void MonitorShowOutputs() = 0; // the two output lamps from the display's outputs
    virtual void SetZeroPositionLamp(bool on) = 0;
    virtual void SetScanningLamp(bool on) = 0;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void SetCurrentAngle(const std::string& text) = 0;
    virtual void MonitorShowLed() = 0; // the online indicator, from the heartbeat
    // A record of this kind brought this tool: the current tool box (kind 0), or the actual
    // tool and its line in the table (kind 1).
    virtual void MonitorShowTool(int kind, int toolNr) = 0;
};

} // namespace vg
