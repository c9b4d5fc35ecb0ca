#include "gui/StatusDisplay.h"

#include "link/DeviceMessage.h"

namespace vg {

void StatusDisplay::ShowOn(StatusBarView* bar) {
    if (bar != Bar) {
        Poll.RedrawWithNextRecord();
    }
    Bar = bar;
}

void StatusDisplay::PollIntervalChanged(int /*milliseconds*/) {
    TakeHeartbeat();
}

void StatusDisplay::UnitReachableChanged(bool /*reachable*/) {
    TakeHeartbeat();
}

void StatusDisplay::UnitWentOffline() {
    TakeHeartbeat();
    LampState.Out1On = false;
    LampState.Out2On = false;
    if (Front == WindowInFront::Monitor) {
        if (Monitor != nullptr) {
            Monitor->MonitorShowOutputs();
            Monitor->SetZeroPositionLamp(false);
            Monitor->SetScanningLamp(false);
            Monitor->SetCurrentAngle(StatusText::Unknown);
            Monitor->MonitorShowLed();
        }
        return;
    }
    if (Bar != nullptr) {
        Bar->SetPanelText(StatusPanel::Scanning, StatusText::Unknown);
        Bar->SetPanelText(StatusPanel::Angle, StatusText::Unknown);
        Bar->Repaint();
    }
}

void StatusDisplay::HeartbeatTurned() {
    TakeHeartbeat();
    if (Bar != nullptr) {
        Bar->Repaint();
    } else if (Monitor != nullptr) {
        Monitor->MonitorShowLed();
    }
}

void StatusDisplay::StatusRecordTaken(const StatusRecordUpdate& record) {
    TakeHeartbeat();
    if (record.FlagsNew) {
        ShowFlags(record.StateBits);
    }
    if (record.ErrorNew) {
        ShowError(record.ErrorBits);
    }
    if (record.AngleNew) {
        ShowAngle(record.AngleHundredths, record.Kind);
    }
    if (Bar != nullptr) {
        Bar->SetPanelText(StatusPanel::Id, record.Status.IdentifierText());
    } else if (Monitor != nullptr) {
        Monitor->MonitorShowTool(record.Kind, record.ToolNr);
    }
}

void StatusDisplay::ShowFlags(uint8_t stateBits) {
    LampState.Out1On = (stateBits & StateBit::Out1) != 0;
    LampState.Out2On = (stateBits & StateBit::Out2) != 0;
    if (Bar != nullptr) {
        Bar->Repaint();
        Bar->SetPanelText(StatusPanel::Scanning, ScanningText(stateBits));
    } else if (Monitor != nullptr) {
        Monitor->MonitorShowOutputs();
        Monitor->SetZeroPositionLamp((stateBits & StateBit::ZeroPosition) != 0);
        Monitor->SetScanningLamp((stateBits & StateBit::Scanning) != 0);
    }
}

void StatusDisplay::ShowError(uint8_t errorBits) {
    const std::string text = ErrorMessageText(errorBits);
    if (Bar != nullptr) {
        Bar->SetPanelText(StatusPanel::Error, text);
    } else if (Monitor != nullptr) {
        Monitor->SetMessage(text);
    }
}

void StatusDisplay::ShowAngle(uint16_t angle, int kind) {
    const std::string text = AngleText(angle);
    if (Bar != nullptr) {
        std::string panel = StatusText::AnglePrefix;
        panel += text;
        Bar->SetPanelText(StatusPanel::Angle, panel);
    } else if (Monitor != nullptr) {
        // The monitor's angle field belongs to the current tool: records of kind 0 only.
        if (kind == 0) {
            Monitor->SetCurrentAngle(text);
        }
    }
}

} // namespace vg
