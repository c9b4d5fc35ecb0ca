#pragma once

#include "link/DeviceMessage.h"

#include <array>
#include <cstdint>

namespace vg {

// A status record is a reply whose byte 1 has bit 7 clear: byte 0 the selected tool, byte 1
// the state bits, byte 3 the error bits, bytes 4-5 the measured angle in hundredths.
using StatusRecord = DeviceReply;

// State of the periodic status poll. One per process.
struct PollState {
    bool Online = false;
    bool LinkOpened = false;
    bool ReconnectRequest = false;
    // A status request went out and its reply has not been read yet. Only where replies come
    // in turn (the serial line) does this last from one tick to the next; the fieldbus inputs
    // answer within the tick. Parameter transactions read and clear it: they consume that
    // reply themselves.
    bool RequestOutstanding = false;
    uint16_t ReplyCountdown = 0;
    uint16_t PollCounter = 0;
    uint16_t PollModulus = 2;
    uint16_t StatusKind = 0;
    std::array<StatusRecord, 2> LastStatus{};
    // Both kinds are asked for in turn (a view of the actual tool is open), else kind 0 only.
    bool BothKinds = false;
    int16_t CurrentToolNr = -1;
    DeviceRequest PendingCommand{};
    bool PendingCommandFlag = false;
    // The next record counts as new in every field: the offline picture is on the screen (the
    // fieldbus open counts the unit as online before any record came), or a front end asked
    // for a redraw.
    bool RedrawAll = false;
};

} // namespace vg
