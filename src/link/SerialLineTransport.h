#pragma once

#include "link/LinkTransport.h"
#include "link/SerialPort.h"

namespace vg {

// The unit on the serial line: framed blocks written to the port, replies handed over by the
// receive thread through the port's receive slot, one reply per request.
class SerialLineTransport final : public LinkTransport {
public:
    explicit SerialLineTransport(SerialPort& serial) : Serial(serial) {}

    bool Open(uint16_t port, ErrorCode& error) override;
    bool Close(uint16_t port, ErrorCode& error) override;
    void StartReceiving() override;
    bool Send(const DeviceRequest& request, ErrorCode& error) override;
    bool Receive(DeviceReply& reply, ErrorCode& error) override;
    bool ReplyAvailable() const override { return Serial.Slot.V24_ReplyAvailable(); }
    bool UnitHeard(bool /*received*/) const override { return true; }
    bool HoldsEarlierReply() const override { return Serial.Slot.V24_ReplyAvailable(); }
    bool RepliesInTurn() const override { return true; }
    bool OpenCountsAsOnline() const override { return false; }
    bool HungUp() const override { return Serial.Slot.V24_ReadFailed(); }
    // A few frame times at 19200 bit/s.
    std::chrono::milliseconds RepeatGrace() const override { return std::chrono::milliseconds(50); }
    uint32_t Service(bool repeat, const DeviceRequest& last) override;
    void WaitReply(Clock::time_point deadline) override { Serial.Slot.WaitForReply(deadline); }
    std::string PortName(uint16_t port) const override;
    std::string OpenFailureDetail() const override;
    void SetTrace(LineTraceSink* trace) override;

private:
    SerialPort& Serial;
    LineTraceSink* Trace = nullptr;
};

} // namespace vg
