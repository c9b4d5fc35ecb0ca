#pragma once

#include "common/ErrorCode.h"
#include "link/DeviceMessage.h"
#include "link/FrameCodec.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vg {

// Where the receive thread hands a received block to the user-interface thread. The byte
// count is the hand-over signal; a mutex and a condition variable make it safe and let a
// reader sleep until a block arrives or its deadline passes.
class ReceiveSlot {
public:
    using Clock = std::chrono::steady_clock;

    // Receive thread: the bytes of one read (at most V24_RxBufferSize are kept). A new read
    // overwrites a block that was not taken yet.
    void Deposit(const uint8_t* bytes, size_t count);
    void DepositReadFailure();

    bool V24_ReplyAvailable() const;
    // The receive thread found the port failing (hung up, or a read failed) and no block came
    // since.
    bool V24_ReadFailed() const;
    // Blocks until a block is in the slot or the deadline passes; true when one is there.
    bool WaitForReply(Clock::time_point deadline) const;
    // Validates and decodes the block in the slot and empties it.
    bool V24_ReadFrame(DeviceMessage& payload, uint32_t& count, ErrorCode& error);

    // Empties the slot and forgets a read failure (used when the port is purged).
    void Clear();

private:
    mutable std::mutex Mutex;
    mutable std::condition_variable Arrived;
    std::array<uint8_t, V24_RxBufferSize> V24_RxBuffer{};
    uint32_t V24_RxCount = 0;
    uint32_t V24_RxFailed = 0;
};

} // namespace vg
