#pragma once

#include "common/ErrorCode.h"
#include "link/CommSettings.h"
#include "link/DeviceMessage.h"
#include "link/FieldbusLinkTransport.h"
#include "link/FieldbusTransport.h"
#include "link/LineTrace.h"
#include "link/LinkTransport.h"
#include "link/SerialLineTransport.h"
#include "link/SerialPort.h"

#include <chrono>
#include <string>

namespace vg {

// The one place that knows whether the unit is reached over the serial line or the fieldbus:
// it speaks through the transport the settings choose (LinkTransport), and those who use it
// ask what the link does, never which one it is.
class DeviceLink {
public:
    using Clock = std::chrono::steady_clock;

    DeviceLink(const CommSettings& settings, SerialPort& serial, FieldbusTransport& fieldbus)
        : Settings(settings), Fieldbus(fieldbus), SerialLine(serial),
          FieldbusLink(settings, fieldbus) {}

    bool Open(uint16_t port, ErrorCode& error);
    bool Close(uint16_t port, ErrorCode& error);
    bool Send(const DeviceRequest& request, ErrorCode& error);
    bool Receive(DeviceReply& reply, ErrorCode& error);
    bool ReplyAvailable() const;
    uint32_t Service(bool repeat);
    bool RequestStatus(ErrorCode& error);

    // Sleeps until a reply may be there to take (serial: a block in the receive slot;
    // fieldbus: fresh inputs) or the deadline passes. Waiting loops call it instead of
    // polling ReplyAvailable, so the processor idles while the unit answers.
    void WaitReply(Clock::time_point deadline);

    // What differs between the ways to the unit, as LinkTransport describes each.
    void StartReceiving() { Transport().StartReceiving(); }
    bool RepliesInTurn() const { return Transport().RepliesInTurn(); }
    bool OpenCountsAsOnline() const { return Transport().OpenCountsAsOnline(); }
    bool HungUp() const { return Transport().HungUp(); }
    std::chrono::milliseconds RepeatGrace() const { return Transport().RepeatGrace(); }
    // Takes the reply that is there; true when it is a sound answer of the unit. `heard`
    // tells whether the unit showed itself at all (LinkTransport::UnitHeard).
    bool TakeAnswer(DeviceReply& reply, ErrorCode& error, bool& heard);
    // A reply still waiting when a new request goes out answers an earlier one: it is taken
    // out of the way so the new request's wait cannot mistake it.
    void DropEarlierReply();

    // Why the last Open failed, one line or more; "" when nothing more than the code is
    // known.
    std::string OpenFailureDetail() const { return Transport().OpenFailureDetail(); }
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
    LinkTransport& Transport();
    const LinkTransport& Transport() const;
    void TraceReceiveError(ErrorCode error) const;

    const CommSettings& Settings;
    FieldbusTransport& Fieldbus;
    SerialLineTransport SerialLine;
    FieldbusLinkTransport FieldbusLink;
    LineTraceSink* TraceSink = nullptr;
};

// What the program says when the link cannot be opened at start, with the code in hex; a
// `detail` that says more goes on a line of its own below.
std::string LinkOpenFailureText(ErrorCode error, const std::string& detail = {});

} // namespace vg
