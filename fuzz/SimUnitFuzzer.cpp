// The simulated unit fed any sequence of requests, each one through the serial line's frames
// both ways, with the unit's clock moving on between requests.
//
// Input: variant, fault switches, first faulty request, number of faulty requests (one byte
// each), then records of a 6-byte request and a 2-byte time step in milliseconds.

#include "FuzzSupport.h"
#include "link/DeviceMessage.h"
#include "link/FrameCodec.h"
#include "link/ReceiveSlot.h"
#include "sim/SimUnit.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

using namespace vg;

namespace {

bool IsChannelRequest(uint8_t code) {
    return code == RequestCode::ParameterRead || code == RequestCode::ParameterWrite ||
           code == RequestCode::ToolRead || code == RequestCode::ToolWrite ||
           code == RequestCode::ToolDelete;
}

sim::SimFaults FaultsFrom(const uint8_t* header) {
    const uint8_t bits = header[1];
    sim::SimFaults faults;
    faults.NoReply = (bits & 0x01) != 0;
    faults.CorruptChecksum = (bits & 0x02) != 0;
    faults.WrongEcho = (bits & 0x04) != 0;
    faults.RefuseRead = (bits & 0x08) != 0;
    faults.RefuseWrite = (bits & 0x10) != 0;
    faults.ElementNotAccepted = (bits & 0x20) != 0;
    faults.SoftError = (bits & 0x40) != 0;
    faults.FirstRequest = header[2];
    faults.RequestCount = header[3] == 0xFF ? INT32_MAX : header[3];
    return faults;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t HeaderSize = 4;
    constexpr size_t RecordSize = 8;
    if (size < HeaderSize) {
        return 0;
    }
    auto now = sim::SimUnit::Clock::time_point{} + std::chrono::hours(1);
    sim::SimUnit unit([&now] { return now; });
    unit.SetVariant(data[0]);
    unit.SetFaults(FaultsFrom(data));

    ReceiveSlot pcSide;
    for (size_t at = HeaderSize; at + RecordSize <= size; at += RecordSize) {
        DeviceRequest request{};
        for (size_t i = 0; i < request.size(); ++i) {
            request[i] = data[at + i];
        }
        now += std::chrono::milliseconds(data[at + 6] | (data[at + 7] << 8));

        // The PC's frame of the request, as the unit reads it.
        const auto requestFrame = V24_BuildFrame(request);
        DeviceRequest received{};
        FUZZ_CHECK(V24_DecodeFrame(requestFrame.data(), requestFrame.size(), received) == 0);
        FUZZ_CHECK(received == request);

        const auto reply = unit.HandleRequest(received);
        if (!reply) {
            continue;
        }
        // The poll tells status records from channel replies by this mark alone.
        FUZZ_CHECK(IsChannelBlock(reply->Bytes) == IsChannelRequest(request[1]));

        auto replyFrame = V24_BuildFrame(reply->Bytes);
        if (reply->CorruptChecksum) {
            uint8_t& digit = replyFrame[replyFrame.size() - 2];
            digit = digit == '0' ? '1' : '0';
        }
        pcSide.Deposit(replyFrame.data(), replyFrame.size());
        DeviceMessage payload{};
        uint32_t count = 0;
        ErrorCode error = 0;
        const bool ok = pcSide.V24_ReadFrame(payload, count, error);
        if (reply->CorruptChecksum) {
            FUZZ_CHECK(!ok && error == V24_ERR_CHECKSUM);
        } else {
            FUZZ_CHECK(ok && payload == reply->Bytes);
        }
    }
    return 0;
}
