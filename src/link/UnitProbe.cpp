#include "link/UnitProbe.h"

#include "link/DeviceMessage.h"
#include "link/ReceiveSlot.h"
#include "link/SerialPort.h"

namespace vg {

ProbeResult ProbeForUnit(const std::string& device, std::chrono::milliseconds wait,
                         LineTraceSink* trace) {
    const auto deadline = ReceiveSlot::Clock::now() + wait;
    ReceiveSlot slot;
    SerialPort port(slot);
    port.DeviceOverride = device;
    ErrorCode error = 0;
    // The port number only has to be one the serial port takes; the device is given.
    constexpr int16_t AnyPort = 1;
    if (!port.OpenUnitLine(AnyPort, error)) {
        if (trace != nullptr) {
            trace->TraceEvent(TraceEventKind::PortOpenFailed, device);
        }
        return ProbeResult::NotOpened;
    }
    if (trace != nullptr) {
        trace->TraceEvent(TraceEventKind::PortOpen, device);
    }
    port.SetTrace(trace);
    port.StartReceiver();
    const DeviceRequest request = MakeStatusRequest(0);
    port.V24_SendFrame(request.data(), request.size(), error);
    bool answered = false;
    // Noise that fails its checks is no answer: wait on for one that passes.
    while (!answered && slot.WaitForReply(deadline)) {
        DeviceReply reply{};
        uint32_t count = 0;
        answered = slot.V24_ReadFrame(reply, count, error);
    }
    if (trace != nullptr) {
        trace->TraceEvent(answered ? TraceEventKind::UnitFound : TraceEventKind::Timeout, device);
        trace->TraceEvent(TraceEventKind::PortClose, device);
    }
    port.V24_Close(AnyPort, error);
    port.SetTrace(nullptr);
    return answered ? ProbeResult::Answered : ProbeResult::NoAnswer;
}

} // namespace vg
