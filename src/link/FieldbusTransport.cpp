#include "link/FieldbusTransport.h"

#include <algorithm>
#include <cstring>

namespace vg {

namespace {
// Any result but 0 is a failure, and is passed up whole: a driver that sets only high bits
// would otherwise be taken as having succeeded.
ErrorCode Code(uint32_t result) {
    return result;
}

uint32_t ReadWord32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
} // namespace

void FieldbusTransport::UseMaster(FieldbusMaster& master) {
    if (&master != Master && MasterOpen) {
        ErrorCode ignored = 0;
        Close(0, ignored);
    }
    Master = &master;
}

ErrorCode FieldbusTransport::CloseMaster() {
    MasterOpen = false;
    return Code(Master->CloseMaster());
}

bool FieldbusTransport::Open(uint16_t port, ErrorCode& error) {
    if (MasterOpen) {
        // Opened once, closed once: a master still open is closed before it opens again.
        ErrorCode ignored = 0;
        Close(port, ignored);
    }
    error = Code(Master->OpenMaster(0, "COM" + std::to_string(port)));
    if (error != 0) {
        return false;
    }
    MasterOpen = true;
    Master->RunCycle();
    OutputRecord.fill(0);
    // The slave's parameter bytes.
    constexpr std::array<uint8_t, 7> SlaveParameters = {0x80, 0x10, 0x10, 0x37, 0, 0, 0};
    std::copy(SlaveParameters.begin(), SlaveParameters.end(), OutputRecord.begin());
    error = Code(Master->AddSlave(Station(), OutputRecord.data(), 1));
    if (error != 0) {
        // A master left open would refuse the next open: the unit could never come online.
        CloseMaster();
        return false;
    }
    return true;
}

bool FieldbusTransport::Close(uint16_t /*port*/, ErrorCode& error) {
    error = 0;
    if (!MasterOpen) {
        return true;
    }
    // The master is closed even when the slave would not go: a driver's own threads end
    // only with the close.
    error = Code(Master->RemoveSlave(Station()));
    const ErrorCode closed = CloseMaster();
    if (error == 0) {
        error = closed;
    }
    return error == 0;
}

bool FieldbusTransport::Send(const DeviceRequest& request, ErrorCode& error) {
    std::copy(request.begin(), request.end(), OutputRecord.begin() + FieldbusRequestOffset);
    error = Code(Master->WriteOutputs(Station(), OutputRecord.data()));
    return error == 0;
}

bool FieldbusTransport::Receive(DeviceReply& reply, ErrorCode& error) {
    error = Code(Master->ReadInputs(Station(), InputRecord.data(), 1));
    if (error == 0) {
        std::memcpy(reply.data(), InputRecord.data() + FieldbusReplyOffset, reply.size());
    }
    return error == 0;
}

bool FieldbusTransport::InputsValid() const {
    return ReadWord32(InputRecord.data() + FieldbusValidityOffset1) != 0 &&
           ReadWord32(InputRecord.data() + FieldbusValidityOffset2) != 0;
}

} // namespace vg
