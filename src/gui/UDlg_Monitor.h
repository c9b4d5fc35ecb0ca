#pragma once

#include "gui/ProgramContext.h"
#include "status/StatusViews.h"

#include <QDialog>

namespace vg {

// The monitor window.
class TDlg_Monitor : public QDialog, public MonitorView {
    Q_OBJECT
public:
    explicit TDlg_Monitor(ProgramContext& context, QWidget* parent = nullptr);

    // The main menu's Monitor Mode.
    void OpenFromMenu();

    void MonitorShowOutputs() override {}
    void SetZeroPositionLamp(bool /*on*/) override {}
    void SetScanningLamp(bool /*on*/) override {}
    void SetMessage(const std::string& /*text*/) override {}
    void SetCurrentAngle(const std::string& /*text*/) override {}
    void MonitorShowLed() override {}
    void MonitorShowTool() override {}

private:
    ProgramContext& Context;
};

} // namespace vg
