#include "link/FieldbusTransport.h"

#include <algorithm>
#include <cstring>

namespace vg {

namespace {
// Library results are 16-bit codes, except the read result which is passed up in full.
ErrorCode Code16(uint32_t result) {
    return result & 0xFFFF;
}

uint32_t ReadWord32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
} // namespace

bool FieldbusTransport::DP_Open(uint16_t port, ErrorCode& error) {
    error = Code16(Master->OpenMaster(0, "COM" + std::to_string(port)));
    if (error != 0) {
        return false;
    }
    Master->RunCycle();
    OutputRecord.fill(0);
    // The slave's parameter bytes.
    constexpr std::array<uint8_t, 7> SlaveParameters = {0x80, 0x10, 0x10, 0x37, 0, 0, 0};
    std::copy(SlaveParameters.begin(), SlaveParameters.end(), OutputRecord.begin());
    error = Code16(Master->AddSlave(Station(), OutputRecord.data(), 1));
    return error == 0;
}

bool FieldbusTransport::DP_Close(uint16_t /*port*/, ErrorCode& error) {
    error = Code16(Master->RemoveSlave(Station()));
    if (error != 0) {
        return false;
    }
    error = Code16(Master->CloseMaster());
    return error == 0;
}

bool FieldbusTransport::DP_Send(const DeviceRequest& request, ErrorCode& error) {
    std::copy(request.begin(), request.end(), OutputRecord.begin() + FieldbusRequestOffset);
    error = Code16(Master->WriteOutputs(Station(), OutputRecord.data()));
    return error == 0;
}

bool FieldbusTransport::DP_Receive(DeviceReply& reply, ErrorCode& error) {
    error = Master->ReadInputs(Station(), InputRecord.data(), 1);
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
