#include "link/DeviceLink.h"

#include "link/SerialOpenFailure.h"

#include <cstdio>

namespace vg {

void DeviceLink::SetTrace(LineTraceSink* trace) {
    TraceSink = trace;
    Serial.SetTrace(trace);
}

std::string DeviceLink::PortName(uint16_t port) const {
    const std::string com = "COM" + std::to_string(port);
    if (IsSerial()) {
        // The port that is open, whatever COMn would lead to now.
        std::string device = Serial.IsOpen() ? Serial.OpenDevice()
                                             : Serial.ResolveDevice(static_cast<int16_t>(port));
        return device.append(" (").append(com).append(")");
    }
    std::string master = Settings.DriverPath.empty()
                             ? std::string("built-in simulated unit")
                             : std::string("fieldbus driver ").append(Settings.DriverPath);
    return master.append(", station ").append(std::to_string(Settings.DevAddr));
}

bool DeviceLink::Link_Open(uint16_t port, ErrorCode& error) {
    const bool opened = IsSerial() ? Serial.OpenUnitLine(static_cast<int16_t>(port), error)
                                   : Fieldbus.DP_Open(port, error);
    if (Tracing()) {
        char code[16];
        std::snprintf(code, sizeof code, ", code %XH", error);
        TraceEvent(opened ? TraceEventKind::PortOpen : TraceEventKind::PortOpenFailed,
                   PortName(port) + (opened ? "" : code));
    }
    return opened;
}

bool DeviceLink::Link_Close(uint16_t port, ErrorCode& error) {
    if (Tracing()) {
        TraceEvent(TraceEventKind::PortClose, PortName(port));
    }
    if (IsSerial()) {
        return Serial.V24_Close(static_cast<int16_t>(port), error);
    }
    return Fieldbus.DP_Close(port, error);
}

bool DeviceLink::Link_Send(const DeviceRequest& request, ErrorCode& error) {
    LastRequest = request;
    if (IsSerial()) {
        return Serial.V24_SendFrame(request.data(), request.size(), error);
    }
    if (TraceSink != nullptr) {
        TraceSink->TraceFrame(TraceDirection::Tx, TraceCarrier::FieldbusBlock, request.data(),
                              request.size());
    }
    return Fieldbus.DP_Send(request, error);
}

bool DeviceLink::Link_Receive(DeviceReply& reply, ErrorCode& error) {
    bool received = false;
    if (IsSerial()) {
        uint32_t count = 0;
        received = Serial.Slot.V24_ReadFrame(reply, count, error);
    } else {
        received = Fieldbus.DP_Receive(reply, error);
        if (received && TraceSink != nullptr) {
            TraceSink->TraceFrame(TraceDirection::Rx, TraceCarrier::FieldbusBlock, reply.data(),
                                  reply.size());
        }
    }
    if (!received && TraceSink != nullptr) {
        TraceReceiveError(error);
    }
    return received;
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

bool DeviceLink::Link_ReplyAvailable() const {
    return IsSerial() ? Serial.Slot.V24_ReplyAvailable() : true;
}

uint32_t DeviceLink::Link_Service(bool repeat) {
    if (!IsSerial()) {
        return Fieldbus.DP_Cycle();
    }
    if (repeat) {
        TraceEvent(TraceEventKind::Repeat);
        ErrorCode ignored = 0;
        const DeviceRequest again = LastRequest;
        Link_Send(again, ignored);
    }
    return 0;
}

bool DeviceLink::Link_RequestStatus(ErrorCode& error) {
    Link_Send(MakeStatusRequest(0), error);
    Link_Service(false);
    return error == 0;
}

std::string DeviceLink::OpenFailureDetail() const {
    return IsSerial() ? DescribeOpenFailure(Serial.LastOpenFailure()) : std::string();
}

void DeviceLink::Link_WaitReply(Clock::time_point deadline) {
    if (IsSerial()) {
        Serial.Slot.WaitForReply(deadline);
    } else {
        Fieldbus.WaitForInputs(deadline);
    }
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
