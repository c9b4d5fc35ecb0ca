#pragma once

#include "common/ErrorCode.h"
#include "common/WaitClock.h"
#include "link/DeviceLink.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace vg {

// The parameter channel: one request per byte or 16-bit word of a unit parameter, each
// preceded by a wait for a plain status record (so no status reply is still on its way) and
// followed by a wait for the matching reply. The tool exchange of the transfers uses the same
// handshake through SynchroniseWithStatus and SendAndAwaitReply.
class ParChannel {
public:
    using TimePoint = WaitClock::TimePoint;
    static constexpr std::chrono::milliseconds DefaultTimeout{10000};
    static constexpr size_t CuIdBlockSize = 20;
    static constexpr uint8_t CuIdParameter = 32;

    // `statusRequestOutstanding` is the status poll's flag for a status request whose reply
    // is still to come: a transaction takes that reply as its own.
    ParChannel(DeviceLink& link, bool& statusRequestOutstanding)
        : Link(link), StatusRequestOutstanding(statusRequestOutstanding) {}

    // Every wait on the unit is bounded by this; tests shorten it to keep fault runs quick.
    std::chrono::milliseconds Timeout = DefaultTimeout;
    // The time the deadlines are measured in; tests pass one that does not sleep through a
    // deadline nothing will come before.
    WaitClock* Time = &SteadyWaitClock();
    // Set from another thread (a termination signal): every wait ends at once with
    // TransferCode::Interrupted. Waits look at it at least every InterruptCheck.
    const std::atomic<bool>* Interrupt = nullptr;
    static constexpr std::chrono::milliseconds InterruptCheck{50};
    // 0 idle, 1 request sent, 2 parameter reply received.
    uint16_t ParState = 0;

    void StartTimeout(std::chrono::milliseconds duration);
    bool TimedOut() const;

    bool Read(uint8_t parameter, int count, int startIndex, uint8_t* destination,
              bool forceByteMode, ErrorCode& error);
    bool Write(uint8_t parameter, int count, int startIndex, const uint8_t* source,
               bool forceByteMode, ErrorCode& error);
    bool ReadByte(uint8_t parameter, uint8_t& destination, ErrorCode& error);
    bool WriteByte(uint8_t parameter, uint8_t source, ErrorCode& error);
    bool ReadUnitId(std::array<uint8_t, CuIdBlockSize>& destination, ErrorCode& error);
    bool WriteUnitId(const std::array<uint8_t, CuIdBlockSize>& block, ErrorCode& error);

    // Asks for a status record unless one is already on its way, then waits for it.
    // Error 4 when none comes before the deadline.
    bool SynchroniseWithStatus(ErrorCode& error);
    // Sends `request` and waits for a reply of the parameter channel (bit 7 of byte 1).
    // With `recordLinkErrors` a receive that fails leaves its link code in `error` (until a
    // later one succeeds), and the wait ends with that code instead of 4 when nothing usable
    // came; without it such receives are passed over.
    bool SendAndAwaitReply(const DeviceRequest& request, DeviceReply& reply, ErrorCode& error,
                           bool recordLinkErrors = true);

private:
    enum class Direction { Read, Write };
    bool Transfer(Direction direction, uint8_t parameter, int count, int startIndex, uint8_t* data,
                  bool forceByteMode, ErrorCode& error);
    // Takes blocks until one is accepted or the deadline passes. A block that failed its
    // checks makes the link ask again; a sound block of the wrong kind makes it ask again
    // only when the right one has not followed within the link's RepeatGrace.
    template <typename Accept>
    bool AwaitBlock(DeviceReply& block, ErrorCode& error, bool recordLinkErrors, Accept accept);
    static ErrorCode RefusalCode(const DeviceReply& reply, Direction direction);

    DeviceLink& Link;
    bool& StatusRequestOutstanding;
    TimePoint Deadline{};
};

} // namespace vg
