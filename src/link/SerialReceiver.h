#pragma once

#include "link/LineTrace.h"
#include "link/ReceiveSlot.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace vg {

// The serial receive thread. Created suspended; Resume starts it. It sleeps in poll() on the
// port and on a wake-up descriptor, gathers what arrives until the frame end byte is among
// it, and hands the bytes to the receive slot. Bytes before a start byte that hold no frame
// end are noise and are dropped. Its owner ends it by setting the stop request,
// calling Wake and then WaitFor, before the port is closed.
class SerialReceiver {
public:
    // How long the thread leaves a failing port alone before it looks at it again, so a
    // device that went away does not make it spin.
    static constexpr std::chrono::milliseconds FailureBackoff{200};

    // `trace`, when given, is where the bytes handed over (and the noise dropped) are reported
    // while it holds a sink.
    SerialReceiver(int portFd, ReceiveSlot& slot, const std::atomic<uint32_t>& stopRequest,
                   const std::atomic<LineTraceSink*>* trace = nullptr);
    ~SerialReceiver();
    SerialReceiver(const SerialReceiver&) = delete;
    SerialReceiver& operator=(const SerialReceiver&) = delete;

    // Best effort: one step above normal priority (needs privileges on Linux).
    void SetHigherPriority() { HigherPriority = true; }
    void Resume();
    bool Resumed() const { return Worker.joinable(); }
    // Ends a pending wait of the thread: the counterpart of setting the port's event mask to 0.
    void Wake();
    void WaitFor();

private:
    void Execute();
    // Reads what the port holds; false when the read failed or the device went away.
    bool ReadAvailable();
    void DepositGathered();
    void Trace(TraceCarrier carrier) const;
    bool WaitForWake(std::chrono::milliseconds timeout);

    int PortFd;
    int WakeFd;
    ReceiveSlot& Slot;
    const std::atomic<uint32_t>& V24_StopRequest;
    const std::atomic<LineTraceSink*>* V24_Trace;
    bool HigherPriority = false;
    std::array<uint8_t, V24_RxBufferSize> Gathered{};
    size_t GatheredCount = 0;
    bool GatheredFrameEnd = false; // a frame end byte is among the gathered bytes
    std::thread Worker;
};

} // namespace vg
