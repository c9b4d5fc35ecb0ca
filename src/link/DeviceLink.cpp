#include "link/DeviceLink.h"

#include <cstdio>

namespace vg {

LinkTransport& DeviceLink::Transport() {
    if (Settings.IsSerial()) {
        return SerialLine;
    }
    return FieldbusLink;
}

const LinkTransport& DeviceLink::Transport() const {
    if (Settings.IsSerial()) {
        return SerialLine;
    }
    return FieldbusLink;
}

void DeviceLink::SetTrace(LineTraceSink* trace) {
    TraceSink = trace;
    SerialLine.SetTrace(trace);
    FieldbusLink.SetTrace(trace);
}

bool DeviceLink::Open(uint16_t port, ErrorCode& error) {
    const bool opened = Transport().Open(port, error);
    if (Tracing()) {
        char code[16];
        std::snprintf(code, sizeof code, ", code %XH", error);
        TraceEvent(opened ? TraceEventKind::PortOpen : TraceEventKind::PortOpenFailed,
                   Transport().PortName(port) + (opened ? "" : code));
    }
    return opened;
}

bool DeviceLink::Close(uint16_t port, ErrorCode& error) {
    if (Tracing()) {
        TraceEvent(TraceEventKind::PortClose, Transport().PortName(port));
    }
    return Transport().Close(port, error);
}

bool DeviceLink::Send(const DeviceRequest& request, ErrorCode& error) {
    LastRequest = request;
    return Transport().Send(request, error);
}

bool DeviceLink::Receive(DeviceReply& reply, ErrorCode& error) {
    const bool received = Transport().Receive(reply, error);
    if (!received && TraceSink != nullptr) {
        TraceReceiveError(error);
    }
    return received;
}

bool DeviceLink::TakeAnswer(DeviceReply& reply, ErrorCode& error, bool& heard) {
    const bool received = Receive(reply, error);
    heard = Transport().UnitHeard(received);
    return received && heard;
}

void DeviceLink::DropEarlierReply() {
    if (Transport().HoldsEarlierReply()) {
        DeviceReply earlier{};
        ErrorCode ignored = 0;
        Receive(earlier, ignored);
    }
}

void DeviceLink::TraceReceiveError(ErrorCode error) const {
    switch (error) {
    case V24_ERR_READ:
        TraceEvent(TraceEventKind::HangUp, "the read from the port failed");
        break;
    case V24_ERR_CHECKSUM:
        TraceEvent(TraceEventKind::ChecksumError);
        break;
    case V24_ERR_REMOTE:
        TraceEvent(TraceEventKind::Rejected);
        break;
    case V24_ERR_FRAME:
        TraceEvent(TraceEventKind::FrameError);
        break;
    default:
        TraceEvent(TraceEventKind::FieldbusError, "code " + std::to_string(error));
        break;
    }
}

bool DeviceLink::ReplyAvailable() const {
    return Transport().ReplyAvailable();
}

uint32_t DeviceLink::Service(bool repeat) {
    const DeviceRequest again = LastRequest;
    return Transport().Service(repeat, again);
}

bool DeviceLink::RequestStatus(ErrorCode& error) {
    Send(MakeStatusRequest(0), error);
    Service(false);
    return error == 0;
}

void DeviceLink::WaitReply(Clock::time_point deadline) {
    Transport().WaitReply(deadline);
}

std::string LinkOpenFailureText(ErrorCode error, const std::string& detail) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Init Communication failed! ErrorCode=%XH\nPort is not available or occupied "
                  "by another process.",
                  error);
    std::string message = text;
    if (!detail.empty()) {
        message.append("\n").append(detail);
    }
    return message;
}

} // namespace vg
