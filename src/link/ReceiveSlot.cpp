#include "link/ReceiveSlot.h"

#include <algorithm>

namespace vg {

void ReceiveSlot::Deposit(const uint8_t* bytes, size_t count) {
    {
        std::lock_guard lock(Mutex);
        const size_t kept = std::min(count, V24_RxBuffer.size());
        std::copy_n(bytes, kept, V24_RxBuffer.begin());
        V24_RxCount = static_cast<uint32_t>(kept);
        V24_RxFailed = 0;
    }
    Arrived.notify_all();
}

void ReceiveSlot::DepositReadFailure() {
    std::lock_guard lock(Mutex);
    V24_RxFailed = 1;
}

bool ReceiveSlot::V24_ReplyAvailable() const {
    std::lock_guard lock(Mutex);
    return V24_RxCount > 0;
}

bool ReceiveSlot::V24_ReadFailed() const {
    std::lock_guard lock(Mutex);
    return V24_RxFailed != 0;
}

bool ReceiveSlot::WaitForReply(Clock::time_point deadline) const {
    std::unique_lock lock(Mutex);
    return Arrived.wait_until(lock, deadline, [this] { return V24_RxCount > 0; });
}

bool ReceiveSlot::V24_ReadFrame(DeviceMessage& payload, uint32_t& count, ErrorCode& error) {
    std::lock_guard lock(Mutex);
    error = 0;
    if (V24_RxFailed != 0) {
        V24_RxFailed = 0;
        V24_RxCount = 0;
        error = V24_ERR_READ;
        return false;
    }
    error = V24_DecodeFrame(V24_RxBuffer.data(), V24_RxCount, payload);
    count = 6;
    V24_RxCount = 0;
    return error == 0;
}

void ReceiveSlot::Clear() {
    std::lock_guard lock(Mutex);
    V24_RxCount = 0;
    V24_RxFailed = 0;
}

} // namespace vg
