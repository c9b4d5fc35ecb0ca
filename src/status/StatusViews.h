#pragma once

#include "common/ErrorCode.h"

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

// What StatusHost::FrontWindow answers.
namespace FrontWindowNr {
constexpr int Main = 1;
constexpr int Settings = 2;
constexpr int Manual = 3;
constexpr int Monitor = 4;
} // namespace FrontWindowNr

// One status bar. The drawn panels take their lamps from the display and poll state when
// repainted.
class StatusBarView {
public:
    virtual ~StatusBarView() = default;
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    virtual void Repaint() = 0;
};

// The monitor window's fields, written while it is open and no status bar is the target.
class MonitorView {
public:
    virtual ~MonitorView() = default;
    virtual void MonitorShowOutputs() = 0; // the two output lamps from Out1On and Out2On
    virtual void SetZeroPositionLamp(bool on) = 0;
    virtual void SetScanningLamp(bool on) = 0;
    virtual void SetMessage(const std::string& text) = 0;      // P_Message
    virtual void SetCurrentAngle(const std::string& text) = 0; // L_CurrentAngle
    virtual void MonitorShowLed() = 0;                         // the online indicator
    virtual void MonitorShowTool() = 0; // current tool box, or actual tool and selection
};

// What the status poll and presentation need from the program's windows.
class StatusHost {
public:
    virtual ~StatusHost() = default;
    virtual void SetTimerInterval(int milliseconds) = 0;
    virtual void EnableVigiloButton(bool enabled) = 0; // BN_Vigilo of the source chooser
    virtual void EnableMonitorMode(bool enabled) = 0;  // the main menu's Monitor Mode
    virtual StatusBarView* MainStatusBar() = 0;
    virtual MonitorView* Monitor() = 0;
    virtual int FrontWindow() const = 0; // 1 main, 2 settings, 3 manual, 4 monitor

    // The settings window shows the measured angle while "Measured Angle" is chosen.
    virtual void MeasuredAngleShown(int32_t /*hundredths*/) {}
    // A teach stored its angle in this tool: the settings window refreshes its list.
    virtual void ToolAngleTaught(int /*toolNr*/) {}
    // A teach started from the single-tool editor ended with this angle in degrees.
    virtual void EditorAngleTaught(double /*degrees*/) {}
    // The link did not open after the communication settings changed; told once a change.
    virtual void LinkOpenFailed(ErrorCode /*error*/) {}
};

} // namespace vg
