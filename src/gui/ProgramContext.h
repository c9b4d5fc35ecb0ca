#pragma once

#include "common/MessageService.h"
#include "gui/KeptPlace.h"
#include "gui/OwnSettings.h"
#include "gui/StatusDisplay.h"
#include "gui/StatusViews.h"
#include "session/Session.h"

#include <cstdint>

namespace vg {

class FileDialogs;
class HelpViewer;
class MainWindow;
class SettingsWindow;
class ManualWindow;
class MonitorWindow;

// The windows that live as long as the program, created at start in this order and only
// shown and hidden after. The others (the source chooser, the tool editor, the about box,
// the communication dialog, the identifier, progress and busy windows, the differences window) are
// built by whoever opens them, for one use, with what they show, and hand back what they decided.
struct ProgramWindows {
    MainWindow* Main = nullptr;
    SettingsWindow* Settings = nullptr;
    ManualWindow* Manual = nullptr;
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
    // The windows' own settings file (tests put it into their folder before the windows
    // start).
    std::string OwnSettingsFile = OwnSettingsPath(UserEnvironment::OfThisProcess());
    // Where the last identifier window was: every transfer builds its own, whichever window
    // started it.
    KeptPlace IdentifierPlace;
    ProgramWindows Windows;
};

} // namespace vg
