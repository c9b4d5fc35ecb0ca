#include "link/FieldbusLinkTransport.h"

namespace vg {

bool FieldbusLinkTransport::Send(const DeviceRequest& request, ErrorCode& error) {
    if (Trace != nullptr) {
        Trace->TraceFrame(TraceDirection::Tx, TraceCarrier::FieldbusBlock, request.data(),
                          request.size());
    }
    return Fieldbus.Send(request, error);
}

bool FieldbusLinkTransport::Receive(DeviceReply& reply, ErrorCode& error) {
    const bool received = Fieldbus.Receive(reply, error);
    if (received && Trace != nullptr) {
        Trace->TraceFrame(TraceDirection::Rx, TraceCarrier::FieldbusBlock, reply.data(),
                          reply.size());
    }
    return received;
}

std::string FieldbusLinkTransport::PortName(uint16_t /*port*/) const {
    std::string master = Settings.DriverPath.empty()
                             ? std::string("built-in simulated unit")
                             : std::string("fieldbus driver ").append(Settings.DriverPath);
    return master.append(", station ").append(std::to_string(Settings.DevAddr));
}

} // namespace vg
