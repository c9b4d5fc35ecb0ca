#include "link/SerialLineTransport.h"

namespace vg {

bool SerialLineTransport::Open(uint16_t port, ErrorCode& error) {
    return Serial.OpenUnitLine(static_cast<int16_t>(port), error);
}

bool SerialLineTransport::Close(uint16_t port, ErrorCode& error) {
    return Serial.V24_Close(static_cast<int16_t>(port), error);
}

void SerialLineTransport::StartReceiving() {
    Serial.Slot.Clear();
    Serial.StartReceiver();
}

bool SerialLineTransport::Send(const DeviceRequest& request, ErrorCode& error) {
    return Serial.V24_SendFrame(request.data(), request.size(), error);
}

bool SerialLineTransport::Receive(DeviceReply& reply, ErrorCode& error) {
    uint32_t count = 0;
    return Serial.Slot.V24_ReadFrame(reply, count, error);
}

uint32_t SerialLineTransport::Service(bool repeat, const DeviceRequest& last) {
    if (repeat) {
        if (Trace != nullptr) {
            Trace->TraceEvent(TraceEventKind::Repeat, {});
        }
        ErrorCode ignored = 0;
        Send(last, ignored);
    }
    return 0;
}

std::string SerialLineTransport::PortName(uint16_t port) const {
    // The port that is open, whatever COMn would lead to now.
    std::string device =
        Serial.IsOpen() ? Serial.OpenDevice() : Serial.ResolveDevice(static_cast<int16_t>(port));
    return device.append(" (COM").append(std::to_string(port)).append(")");
}

std::string SerialLineTransport::OpenFailureDetail() const {
    return DescribeOpenFailure(Serial.LastOpenFailure());
}

void SerialLineTransport::SetTrace(LineTraceSink* trace) {
    Trace = trace;
    Serial.SetTrace(trace);
}

} // namespace vg
