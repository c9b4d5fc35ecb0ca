#include "link/SerialReceiver.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vg {

SerialReceiver::SerialReceiver(int portFd, ReceiveSlot& slot,
                               const std::atomic<uint32_t>& stopRequest,
                               const std::atomic<LineTraceSink*>* trace)
    : PortFd(portFd), WakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), Slot(slot),
      V24_StopRequest(stopRequest), V24_Trace(trace) {
    if (WakeFd < 0) {
        throw std::runtime_error("eventfd failed for the serial receive thread");
    }
}

SerialReceiver::~SerialReceiver() {
    if (Worker.joinable()) {
        Wake();
        Worker.join();
    }
    close(WakeFd);
}

void SerialReceiver::Resume() {
    if (!Worker.joinable()) {
        Worker = std::thread([this] { Execute(); });
    }
}

void SerialReceiver::Wake() {
    const uint64_t one = 1;
    // The descriptor is a counter: a write can only fail if it would overflow, which
    // still leaves it readable.
    [[maybe_unused]] ssize_t ignored = write(WakeFd, &one, sizeof one);
}

void SerialReceiver::WaitFor() {
    if (Worker.joinable()) {
        Worker.join();
    }
}

void SerialReceiver::Execute() {
    if (HigherPriority) {
        // Nice values are per thread on Linux; lowering it needs privileges, so failure is fine.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -1);
    }
    while (true) {
        pollfd fds[2] = {{PortFd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            Slot.DepositReadFailure();
            if (WaitForWake(FailureBackoff)) {
                return;
            }
            continue;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            uint64_t wakes = 0;
            [[maybe_unused]] ssize_t drained = read(WakeFd, &wakes, sizeof wakes);
            if (V24_StopRequest.load() != 0) {
                return;
            }
        }
        if (fds[0].revents != 0 && !ReadAvailable()) {
            // Hang-up or I/O error: tell the reader once per back-off and leave the port
            // alone for a while instead of polling a descriptor that is always ready.
            GatheredCount = 0;
            GatheredFrameEnd = false;
            Slot.DepositReadFailure();
            if (WaitForWake(FailureBackoff)) {
                return;
            }
        }
    }
}

bool SerialReceiver::ReadAvailable() {
    uint8_t chunk[V24_RxBufferSize];
    const ssize_t n = read(PortFd, chunk, sizeof chunk);
    if (n < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    if (n == 0) {
        return false; // end of file: the other side is gone
    }
    const uint8_t* end = chunk + n;
    bool frameEnd = std::find(static_cast<const uint8_t*>(chunk), end, FrameEndByte) != end;
    for (const uint8_t* p = chunk; p != end; ++p) {
        if (*p == FrameStartByte && !GatheredFrameEnd) {
            // What came before a start byte, with no frame end among it, is line noise: kept,
            // it would spoil the frame that starts here.
            if (GatheredCount != 0) {
                Trace(TraceCarrier::SerialNoise);
            }
            GatheredCount = 0;
        }
        if (GatheredCount == Gathered.size()) {
            // A burst longer than the slot: hand over what fits, the rest starts anew.
            DepositGathered();
        }
        Gathered[GatheredCount++] = *p;
        GatheredFrameEnd = GatheredFrameEnd || *p == FrameEndByte;
    }
    if (frameEnd || GatheredCount == Gathered.size()) {
        DepositGathered();
    }
    return true;
}

void SerialReceiver::DepositGathered() {
    Trace(TraceCarrier::SerialFrame);
    Slot.Deposit(Gathered.data(), GatheredCount);
    GatheredCount = 0;
    GatheredFrameEnd = false;
}

void SerialReceiver::Trace(TraceCarrier carrier) const {
    if (V24_Trace == nullptr) {
        return;
    }
    if (LineTraceSink* trace = V24_Trace->load()) {
        trace->TraceFrame(TraceDirection::Rx, carrier, Gathered.data(), GatheredCount);
    }
}

bool SerialReceiver::WaitForWake(std::chrono::milliseconds timeout) {
    pollfd fd{WakeFd, POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(timeout.count()));
    return ready > 0 && V24_StopRequest.load() != 0;
}

} // namespace vg
