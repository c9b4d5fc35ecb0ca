#pragma once

#include <cstdint>
#include <string>

namespace vg {

// How the unit is reached; the number is the one "Konfig.Cfg" keeps on its "M:" line.
enum class CommMode : int8_t {
    Unset = 0, // until the settings file has been read
    Fieldbus = 1,
    Serial = 2,
};

// How the PC reaches the unit. One per process; read from "Konfig.Cfg" at start and changed
// by the communication dialog.
struct CommSettings {
    uint16_t ComPortNr = 1; // COM port 1..6; also handed to the fieldbus master
    uint16_t DevAddr = 50;  // fieldbus station address; its low byte is used
    CommMode Mode = CommMode::Unset;
    // The fieldbus driver library ("D:" line); empty: the built-in simulated unit.
    std::string DriverPath{};

    bool IsSerial() const { return Mode == CommMode::Serial; }
    // Fieldbus mode without a driver talks to the built-in simulated unit, which the
    // program then says wherever it shows the unit.
    bool UsesSimulatedUnit() const { return !IsSerial() && DriverPath.empty(); }
};

} // namespace vg
