#pragma once

#include "status/StatusEvents.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vg {

// Colours as 0xRRGGBB. Lamp outlines are black.
namespace LampColour {
constexpr uint32_t Green = 0x80FF80;
constexpr uint32_t Red = 0xFF0000;
constexpr uint32_t Silver = 0xC0C0C0;
constexpr uint32_t Outline = 0x000000;
} // namespace LampColour

// What the lamps of a status picture show: the outputs as last drawn, and the heartbeat.
struct StatusLampState {
    bool Out1On = false;
    bool Out2On = false;
    StatusHeartbeat Heartbeat;
};

uint32_t Out1LampColour(const StatusLampState& lamps); // green on, silver off
uint32_t Out2LampColour(const StatusLampState& lamps); // red on, silver off
// Red offline; online it blinks with the records: green while the heartbeat is lit, silver
// otherwise.
uint32_t OnlineLampColour(const StatusHeartbeat& heartbeat);
// The monitor window's online indicator: red offline; online green at the beat in the middle
// of the cycle, silver at its first, and no value (leave the picture alone) otherwise.
std::optional<uint32_t> MonitorLedColour(const StatusHeartbeat& heartbeat);

struct PanelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// A 12 x 12 lamp with its top left corner at (X, Y).
struct LampSpot {
    int X = 0;
    int Y = 0;
    uint32_t Colour = 0;
};
constexpr int StatusLampSize = 12;

// What the owner-drawn panels of a status bar show: panel 1 the text " Outs:" and the two
// output lamps, panel 5 the online lamp, any other panel nothing.
struct PanelDrawing {
    std::string Text;
    int TextX = 0;
    int TextY = 0;
    std::vector<LampSpot> Lamps;
};
PanelDrawing DrawStatusPanel(int panel, const PanelRect& rect, int barHeight, double scale,
                             const StatusLampState& lamps);

// The monitor's 20 x 20 indicator circle, centred in the picture's client rectangle.
PanelRect MonitorLedCircle(const PanelRect& client);

} // namespace vg
