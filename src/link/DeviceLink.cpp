#include "link/DeviceLink.h"

#include "link/SerialOpenFailure.h"

#include <cstdio>

namespace vg {

bool DeviceLink::Link_Open(uint16_t port, ErrorCode& error) {
    if (IsSerial()) {
        return Serial.OpenUnitLine(static_cast<int16_t>(port), error);
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

std::string LinkOpenFailureText(ErrorCode error) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Init Communication failed! ErrorCode=%XH\nPort is not available or occupied "
                  "by another process.",
                  error);
    return text;
}

std::string LinkOpenFailureText(ErrorCode error, const DeviceLink& link) {
    std::string text = LinkOpenFailureText(error);
    const std::string detail = link.OpenFailureDetail();
    if (!detail.empty()) {
        text.append("\n").append(detail);
    }
    return text;
}

} // namespace vg
