#include "status/StatusPresenter.h"

#include "config/model/TextFormats.h"

#include <cstring>

namespace vg {

void StatusPresenter::Status_Reset(StatusBarView* bar) {
    Display.Out1On = false;
    Display.Out2On = false;
    if (Host->FrontWindow() == FrontWindowNr::Monitor) {
        if (MonitorView* monitor = Host->Monitor()) {
            monitor->MonitorShowOutputs();
            monitor->SetZeroPositionLamp(false);
            monitor->SetScanningLamp(false);
            monitor->SetCurrentAngle(StatusText::Unknown);
            monitor->MonitorShowLed();
        }
        return;
    }
    if (bar != nullptr) {
        bar->SetPanelText(StatusPanel::Scanning, StatusText::Unknown);
        bar->SetPanelText(StatusPanel::Angle, StatusText::Unknown);
        bar->Repaint();
    }
}

void StatusPresenter::Status_ShowFlags(StatusBarView* bar, uint8_t stateBits, uint16_t angle) {
    Display.Out1On = (stateBits & StateBit::Out1) != 0;
    Display.Out2On = (stateBits & StateBit::Out2) != 0;
    MonitorView* monitor = bar == nullptr ? Host->Monitor() : nullptr;
    if (bar != nullptr) {
        bar->Repaint();
    } else if (monitor != nullptr) {
        monitor->MonitorShowOutputs();
    }
    if (Display.TeachTarget != -1 && (Display.Out1On || Display.Out2On)) {
        if (Display.Out1On) {
            DeliverTeachResult(angle);
        }
        // Out2 alone: the unit found nothing, the teach ends without a result.
        Display.TeachTarget = -1;
    }
    if (bar != nullptr) {
        bar->SetPanelText(StatusPanel::Scanning, ScanningText(stateBits));
    } else if (monitor != nullptr) {
        monitor->SetZeroPositionLamp((stateBits & StateBit::ZeroPosition) != 0);
        monitor->SetScanningLamp((stateBits & StateBit::Scanning) != 0);
    }
}

void StatusPresenter::DeliverTeachResult(uint16_t angle) {
    const int32_t target = Display.TeachTarget;
    if (target >= 0 && (target & TeachTargetEditorBit) != 0) {
        Host->EditorAngleTaught(angle * 0.01);
        return;
    }
    // Anything but a tool number would write outside the tool table: keep nothing.
    if (target < 0 || target >= ToolSlotCount) {
        return;
    }
    Config.ConfigImage.Tools[static_cast<size_t>(target)].Angle = HundredthsToValue(angle);
    BuildToolLines(Config);
    Host->ToolAngleTaught(target);
}

void StatusPresenter::Status_ShowError(StatusBarView* bar, uint8_t errorBits) {
    const std::string text = ErrorMessageText(errorBits);
    if (bar != nullptr) {
        bar->SetPanelText(StatusPanel::Error, text);
    } else if (MonitorView* monitor = Host->Monitor()) {
        monitor->SetMessage(text);
    }
}

void StatusPresenter::Status_ShowAngle(StatusBarView* bar, uint16_t angle) {
    const std::string text = AngleText(angle);
    Display.MeasuredAngle = angle;
    Host->MeasuredAngleShown(angle);
    if (bar != nullptr) {
        bar->SetPanelText(StatusPanel::Angle, StatusText::AnglePrefix + text);
    } else if (MonitorView* monitor = Host->Monitor()) {
        // The monitor's angle field belongs to the current tool: records of kind 0 only.
        if (Poll.StatusKind == 0) {
            monitor->SetCurrentAngle(text);
        }
    }
}

void StatusPresenter::Status_ShowId(StatusBarView* bar) {
    if (bar == nullptr) {
        return;
    }
    if (!Config.NamespaceIdValid) {
        bar->SetPanelText(StatusPanel::Id, StatusText::NoId);
        return;
    }
    const auto& id = Config.NamespaceInfo.CU_Id;
    bar->SetPanelText(StatusPanel::Id,
                      StatusText::IdPrefix + std::string(id.data(), strnlen(id.data(), id.size())));
}

} // namespace vg
