#pragma once

#include "link/CommSettings.h"
#include "link/FieldbusTransport.h"
#include "link/LinkTransport.h"

namespace vg {

// The unit as a fieldbus slave: a request goes into its outputs, and every exchange cycle of
// the master brings its inputs back as the reply. The inputs are always there to read.
class FieldbusLinkTransport final : public LinkTransport {
public:
    FieldbusLinkTransport(const CommSettings& settings, FieldbusTransport& fieldbus)
        : Settings(settings), Fieldbus(fieldbus) {}

    bool Open(uint16_t port, ErrorCode& error) override { return Fieldbus.Open(port, error); }
    bool Close(uint16_t port, ErrorCode& error) override { return Fieldbus.Close(port, error); }
    void StartReceiving() override {}
    bool Send(const DeviceRequest& request, ErrorCode& error) override;
    bool Receive(DeviceReply& reply, ErrorCode& error) override;
    bool ReplyAvailable() const override { return true; }
    bool UnitHeard(bool received) const override { return received && Fieldbus.InputsValid(); }
    bool HoldsEarlierReply() const override { return false; }
    bool RepliesInTurn() const override { return false; }
    bool OpenCountsAsOnline() const override { return true; }
    bool HungUp() const override { return false; }
    std::chrono::milliseconds RepeatGrace() const override { return std::chrono::milliseconds(0); }
    uint32_t Service(bool /*repeat*/, const DeviceRequest& /*last*/) override {
        return Fieldbus.Cycle();
    }
    void WaitReply(Clock::time_point deadline) override { Fieldbus.WaitForInputs(deadline); }
    std::string PortName(uint16_t port) const override;
    std::string OpenFailureDetail() const override { return {}; }
    void SetTrace(LineTraceSink* trace) override { Trace = trace; }

private:
    const CommSettings& Settings;
    FieldbusTransport& Fieldbus;
    LineTraceSink* Trace = nullptr;
};

} // namespace vg
