#include "link/DeviceLink.h"

#include <cstdio>

namespace vg {

namespace {
// The unit's line: 19200 bit/s, 8 data bits, one stop bit, no parity, no flow control.
constexpr int BaudIndex19200 = 8;
constexpr int DataBits = 8;
constexpr int StopBitsOne = 0;
constexpr int ParityNone = 4;
constexpr int NoHandshake = 0;
} // namespace

bool DeviceLink::Link_Open(uint16_t port, ErrorCode& error) {
    if (IsSerial()) {
        return Serial.V24_Open(static_cast<int16_t>(port), BaudIndex19200, DataBits, StopBitsOne,
                               ParityNone, NoHandshake, error);
    }
    return Fieldbus.DP_Open(port, error);
}

bool DeviceLink::Link_Close(uint16_t port, ErrorCode& error) {
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
    return Fieldbus.DP_Send(request, error);
}

bool DeviceLink::Link_Receive(DeviceReply& reply, ErrorCode& error) {
    if (IsSerial()) {
        uint32_t count = 0;
        return Serial.Slot.V24_ReadFrame(reply, count, error);
    }
    return Fieldbus.DP_Receive(reply, error);
}

bool DeviceLink::Link_ReplyAvailable() const {
    return IsSerial() ? Serial.Slot.V24_ReplyAvailable() : true;
}

uint32_t DeviceLink::Link_Service(bool repeat) {
    if (!IsSerial()) {
        return Fieldbus.DP_Cycle();
    }
    if (repeat) {
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
