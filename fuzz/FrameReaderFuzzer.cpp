// What arrives on the serial line: any bytes, any count, as one read of the receive thread.

#include "FuzzSupport.h"
#include "link/FrameCodec.h"
#include "link/ReceiveSlot.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace vg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr DeviceMessage Untouched = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};

    DeviceMessage direct = Untouched;
    const ErrorCode directError = V24_DecodeFrame(data, size, direct);
    FUZZ_CHECK(directError == 0 || directError == V24_ERR_FRAME || directError == V24_ERR_REMOTE ||
               directError == V24_ERR_CHECKSUM);
    if (directError != 0) {
        FUZZ_CHECK(direct == Untouched);
    } else {
        // Whatever the unit's digits looked like, our own frame of the payload reads back.
        const auto rebuilt = V24_BuildFrame(direct);
        FUZZ_CHECK(rebuilt.size() == FrameLength);
        DeviceMessage again{};
        FUZZ_CHECK(V24_DecodeFrame(rebuilt.data(), rebuilt.size(), again) == 0);
        FUZZ_CHECK(again == direct);
    }

    // Through the slot only the first V24_RxBufferSize bytes count, and the slot is empty
    // afterwards whatever the outcome.
    ReceiveSlot slot;
    slot.Deposit(data, size);
    FUZZ_CHECK(slot.V24_ReplyAvailable() == (size > 0));
    DeviceMessage viaSlot = Untouched;
    uint32_t count = 0;
    ErrorCode slotError = 0;
    const bool ok = slot.V24_ReadFrame(viaSlot, count, slotError);
    FUZZ_CHECK(ok == (slotError == 0));
    FUZZ_CHECK(!slot.V24_ReplyAvailable());

    DeviceMessage kept = Untouched;
    const ErrorCode keptError = V24_DecodeFrame(data, std::min(size, V24_RxBufferSize), kept);
    FUZZ_CHECK(slotError == keptError);
    FUZZ_CHECK(viaSlot == kept);
    return 0;
}
