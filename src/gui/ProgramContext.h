#pragma once

#include "common/MessageService.h"
#include "gui/OwnSettings.h"
#include "gui/StatusDisplay.h"
#include "gui/StatusViews.h"
#include "gui/ToolEditContext.h"
#include "session/Session.h"

#include <cstdint>

namespace vg {

class FileDialogs;
class HelpViewer;
class MainWindow;
class SettingsWindow;
class ToolEditor;
class AboutBox;
class ManualWindow;
class CommunicationDialog;
class IdentifierWindow;
class ProgressWindow;
class BusyWindow;
class MonitorWindow;

// The ten windows, created once at start in this order and only shown and hidden after.
struct ProgramWindows {
    MainWindow* Main = nullptr;
    SettingsWindow* Settings = nullptr;
    ToolEditor* Editor = nullptr;
    AboutBox* About = nullptr;
    ManualWindow* Manual = nullptr;
    CommunicationDialog* Communication = nullptr;
    IdentifierWindow* Identifier = nullptr;
    ProgressWindow* Progress = nullptr;
    BusyWindow* Busy = nullptr;
    MonitorWindow* Monitor = nullptr;
};

// What every window reaches: the program's records, the services that show things to the
// user, the shell's own state and the other windows.
struct ProgramContext {
    ProgramContext(Session& core, MessageService& messages, FileDialogs& files, HelpViewer& help)
        : Core(core), Messages(messages), Files(files), Help(help) {}

    Session& Core;
    MessageService& Messages;
    FileDialogs& Files;
    HelpViewer& Help;
    WindowInFront FrontWindow = WindowInFront::Main;
    // Draws the live status on the bar in front or on the monitor window.
    StatusDisplay LiveStatus{Core.Status, FrontWindow};
    double StatusBarScale = 1.0; // window width / 640
    // The settings window and the single-tool editor meet here.
    ToolEditContext ToolEdit;
    // The windows' own settings file (tests put it into their folder before the windows
    // start), and whether a save to the unit is read back and checked.
    std::string OwnSettingsFile = OwnSettingsPath(UserEnvironment::OfThisProcess());
    bool VerifyAfterSave = false;
    ProgramWindows Windows;
};

} // namespace vg
