#include "gui/StatusLamps.h"

#include "gui/StatusViews.h"

namespace vg {

uint32_t Out1LampColour(const StatusLampState& lamps) {
    return lamps.Out1On ? LampColour::Green : LampColour::Silver;
}

uint32_t Out2LampColour(const StatusLampState& lamps) {
    return lamps.Out2On ? LampColour::Red : LampColour::Silver;
}

uint32_t OnlineLampColour(const StatusHeartbeat& heartbeat) {
    if (!heartbeat.Online) {
        return LampColour::Red;
    }
    return heartbeat.Lit() ? LampColour::Green : LampColour::Silver;
}

std::optional<uint32_t> MonitorLedColour(const StatusHeartbeat& heartbeat) {
    if (!heartbeat.Online) {
        return LampColour::Red;
    }
    if (!heartbeat.AtTurn()) {
        return std::nullopt;
    }
    return heartbeat.Lit() ? LampColour::Green : LampColour::Silver;
}

PanelDrawing DrawStatusPanel(int panel, const PanelRect& rect, int barHeight, double scale,
                             const StatusLampState& lamps) {
    PanelDrawing drawing;
    const int offset = (barHeight - 15) / 2;
    const int y = rect.Top + offset;
    if (panel == StatusPanel::Outputs) {
        drawing.Text = " Outs:";
        drawing.TextX = rect.Left;
        drawing.TextY = rect.Top + 1;
        const int x1 = rect.Left + static_cast<int>(35 * scale);
        const int x2 = x1 + static_cast<int>(22 * scale);
        drawing.Lamps = {{x1, y, Out1LampColour(lamps)}, {x2, y, Out2LampColour(lamps)}};
    } else if (panel == StatusPanel::Online) {
        const int x = rect.Left + (rect.Right - rect.Left - StatusLampSize) / 2;
        drawing.Lamps = {{x, y, OnlineLampColour(lamps.Heartbeat)}};
    }
    return drawing;
}

PanelRect MonitorLedCircle(const PanelRect& client) {
    constexpr int Diameter = 20;
    const int x0 = client.Left + (client.Right - client.Left - Diameter) / 2;
    const int y0 = client.Top + (client.Bottom - client.Top - Diameter) / 2;
    return {x0, y0, x0 + Diameter, y0 + Diameter};
}

} // namespace vg
