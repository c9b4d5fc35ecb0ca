#pragma once

#include "link/CommSettings.h"
#include "link/DeviceLink.h"
#include "link/DeviceMessage.h"
#include "link/FieldbusTransport.h"
#include "link/ReceiveSlot.h"
#include "link/SerialPort.h"
#include "sim/SimFieldbusMaster.h"
#include "sim/SimUnit.h"

#include <string>
#include <utility>

namespace vg::test {

// A request for either kind of status record, as the poll sends it.
inline bool IsStatusRequest(const DeviceRequest& request) {
    return request == MakeStatusRequest(0) || request == MakeStatusRequest(1);
}

// The link with both transports, the fieldbus one backed by an in-process simulated unit.
struct LinkWorld {
    explicit LinkWorld(CommMode mode, sim::SimUnit::ClockFunction clock = sim::SimUnit::Clock::now)
        : BusUnit(std::move(clock)) {
        Settings.Mode = mode;
    }

    CommSettings Settings;
    ReceiveSlot Slot;
    SerialPort Serial{Slot};
    sim::SimUnit BusUnit;
    sim::SimFieldbusMaster BusMaster{BusUnit};
    FieldbusTransport Fieldbus{BusMaster, Settings};
    DeviceLink Link{Settings, Serial, Fieldbus};

    // Serial mode: opens `device` as COM1 and starts the receive thread.
    bool OpenSerial(const std::string& device) {
        Serial.DeviceOverride = device;
        ErrorCode error = 0;
        if (!Link.Open(1, error)) {
            return false;
        }
        Serial.StartReceiver();
        return true;
    }
};

} // namespace vg::test
