#pragma once

#include "common/MessageService.h"
#include "gui/OwnSettings.h"
#include "gui/ToolEditContext.h"
#include "session/Session.h"
#include "status/StatusViews.h"

#include <cstdint>

namespace vg {

class FileDialogs;
class HelpViewer;
class TFrm_Main;
class TDlg_Program;
class TDlg_SrcAuswahl;
class TDLG_Set1Tool;
class TDlg_About;
class TDlg_Manual;
class TDlg_Konfig;
class TDlg_RdCU_Id;
class TDlg_ProgressBar;
class TDlg_StatusBox;
class TDlg_Monitor;

// The eleven windows, created once at start in this order and only shown and hidden after.
struct ProgramWindows {
    TFrm_Main* Frm_Main = nullptr;
    TDlg_Program* Dlg_Program = nullptr;
    TDlg_SrcAuswahl* Dlg_SrcAuswahl = nullptr;
    TDLG_Set1Tool* DLG_Set1Tool = nullptr;
    TDlg_About* Dlg_About = nullptr;
    TDlg_Manual* Dlg_Manual = nullptr;
    TDlg_Konfig* Dlg_Konfig = nullptr;
    TDlg_RdCU_Id* Dlg_RdCU_Id = nullptr;
    TDlg_ProgressBar* Dlg_ProgressBar = nullptr;
    TDlg_StatusBox* Dlg_StatusBox = nullptr;
    TDlg_Monitor* Dlg_Monitor = nullptr;
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
    int FrontWindow = FrontWindowNr::Main;
    double StatusBarScale = 1.0; // window width / 640
    // The source chooser's mode and outcome.
    bool ChooserSaveMode = false;
    bool SourceConfirmed = false;
    // The settings window and the single-tool editor meet here.
    ToolEditContext ToolEdit;
    // The windows' own settings file (tests put it into their folder before the windows
    // start), and whether a save to the unit is read back and checked.
    std::string OwnSettingsFile = OwnSettingsPath(UserEnvironment::OfThisProcess());
    bool VerifyAfterSave = false;
    ProgramWindows Windows;
};

} // namespace vg
