#pragma once

#include "link/DeviceMessage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vg {

enum class TraceDirection { Tx, Rx };

// What the traced bytes are: a frame of the serial line (or what the receive thread handed
// over as one), bytes the receive thread dropped as line noise, or the 6-byte block of the
// fieldbus records.
enum class TraceCarrier { SerialFrame, SerialNoise, FieldbusBlock };

// Moments that explain the traffic around them.
enum class TraceEventKind {
    PortOpen,
    PortOpenFailed,
    PortClose,
    HangUp,        // the receive thread's read failed (the device went away)
    Timeout,       // a wait for the unit reached its deadline
    ChecksumError, // a received frame failed its checksum
    FrameError,    // a received block was not one whole frame
    Rejected,      // the unit marked its answer as a rejection
    FieldbusError, // reading the fieldbus inputs failed
    Repeat,        // the last request goes out again
    Reconnect,     // the link restarts: the settings changed, or a lost port opened again
    UnitLost,
    UnitFound,
};

// Where the link reports its traffic while a trace is on. The link layer calls it only when
// one is set, so it costs nothing when off. Received frames come from the serial receive
// thread, everything else from the user-interface thread: an implementation takes both.
class LineTraceSink {
public:
    virtual ~LineTraceSink() = default;
    virtual void TraceFrame(TraceDirection direction, TraceCarrier carrier, const uint8_t* bytes,
                            size_t count) = 0;
    virtual void TraceEvent(TraceEventKind kind, std::string_view detail) = 0;
};

// "port open", "checksum error", ...
const char* TraceEventName(TraceEventKind kind);

// What a request means: "parameter read 26", "tool write 5: angle 45.50, tolerance 1.00,
// intensity 1", "status request", ...
std::string DescribeRequest(const DeviceRequest& request);

// What a reply means, read in the light of the request it most likely answers:
// "parameter 26: done, value 4", "tool 5: done, slot empty", "status: tool 3, ...".
std::string DescribeReply(const DeviceReply& reply, const DeviceRequest& request);

} // namespace vg
