#pragma once

#include "common/ErrorCode.h"
#include "link/CommSettings.h"
#include "link/DeviceMessage.h"
#include "link/FieldbusTransport.h"
#include "link/LineTrace.h"
#include "link/SerialPort.h"

#include <chrono>
#include <string>

namespace vg {

// The one place that knows whether the unit is reached over the serial line or the fieldbus.
class DeviceLink {
public:
    using Clock = std::chrono::steady_clock;

    DeviceLink(const CommSettings& settings, SerialPort& serial, FieldbusTransport& fieldbus)
        : Settings(settings), Serial(serial), Fieldbus(fieldbus) {}

    bool Link_Open(uint16_t port, ErrorCode& error);
    bool Link_Close(uint16_t port, ErrorCode& error);
    bool Link_Send(const DeviceRequest& request, ErrorCode& error);
    bool Link_Receive(DeviceReply& reply, ErrorCode& error);
    bool Link_ReplyAvailable() const;
    uint32_t Link_Service(bool repeat);
    bool Link_RequestStatus(ErrorCode& error);

    // Sleeps until a reply may be there to take (serial: a block in the receive slot;
    // fieldbus: fresh inputs) or the deadline passes. Waiting loops call it instead of
    // polling Link_ReplyAvailable, so the processor idles while the unit answers.
    void Link_WaitReply(Clock::time_point deadline);

    bool IsSerial() const { return Settings.IsSerial(); }
    // Why the last Link_Open failed, one line or more; "" when nothing more than the code is
    // known.
    std::string OpenFailureDetail() const;
    bool FieldbusInputsValid() const { return Fieldbus.InputsValid(); }

    // Every frame and event of the link goes to `trace` while it is set; nullptr turns the
    // trace off. The sink must outlive its use by the link and the receive thread.
    void SetTrace(LineTraceSink* trace);
    bool Tracing() const { return TraceSink != nullptr; }
    // Reports an event to the trace, if one is on (user-interface thread).
    void TraceEvent(TraceEventKind kind, std::string_view detail = {}) const {
        if (TraceSink != nullptr) {
            TraceSink->TraceEvent(kind, detail);
        }
    }

    DeviceRequest LastRequest{};

private:
    // The device or master a port number stands for, as the trace names it.
    std::string PortName(uint16_t port) const;
    void TraceReceiveError(ErrorCode error) const;

    const CommSettings& Settings;
    SerialPort& Serial;
    FieldbusTransport& Fieldbus;
    LineTraceSink* TraceSink = nullptr;
};

// What the program says when the link cannot be opened at start, with the code in hex; a
// `detail` that says more goes on a line of its own below.
std::string LinkOpenFailureText(ErrorCode error, const std::string& detail = {});

} // namespace vg
