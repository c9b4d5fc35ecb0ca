#pragma once

#include "common/ErrorCode.h"
#include "link/CommSettings.h"
#include "link/DeviceMessage.h"
#include "link/FieldbusMaster.h"

#include <array>

namespace vg {

// The request and reply of the unit as the outputs and inputs of a fieldbus slave.
class FieldbusTransport {
public:
    FieldbusTransport(FieldbusMaster& master, const CommSettings& settings)
        : Master(&master), Settings(settings) {}

    // Puts another master behind the transport; one that is still open is closed first.
    void UseMaster(FieldbusMaster& master);

    // Every open that succeeds is paired with exactly one close: after a failed add, by
    // Close (also when the slave cannot be removed), or before the next open.
    bool Open(uint16_t port, ErrorCode& error);
    // Removes the slave and closes the master; the first failure is the error. Nothing to do
    // when the master is not open.
    bool Close(uint16_t port, ErrorCode& error);
    bool MasterIsOpen() const { return MasterOpen; }
    bool Send(const DeviceRequest& request, ErrorCode& error);
    bool Receive(DeviceReply& reply, ErrorCode& error);
    uint32_t Cycle() { return Master->RunCycle(); }

    // Both validity words of the last inputs read are non-zero.
    bool InputsValid() const;
    void WaitForInputs(FieldbusMaster::Clock::time_point deadline) {
        Master->WaitForInputs(deadline);
    }

    std::array<uint8_t, FieldbusOutputRecordSize> OutputRecord{};
    std::array<uint8_t, FieldbusInputRecordSize> InputRecord{};

private:
    uint8_t Station() const { return static_cast<uint8_t>(Settings.DevAddr & 0xFF); }
    ErrorCode CloseMaster();

    FieldbusMaster* Master;
    bool MasterOpen = false;
    const CommSettings& Settings;
};

} // namespace vg
