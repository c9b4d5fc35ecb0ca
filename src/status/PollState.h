#pragma once

#include "link/DeviceMessage.h"

#include <array>
#include <cstdint>

namespace vg {

class StatusBarView;

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
    // Where the status is shown; none while the monitor window is open.
    StatusBarView* StatusBarTarget = nullptr;
    StatusBarView* LastStatusBarTarget = nullptr;
    int16_t CurrentToolNr = -1;
    DeviceRequest PendingCommand{};
    bool PendingCommandFlag = false;
    // The offline picture is on the screen. The fieldbus open counts the unit as online before
    // any record came, so the next record must redraw every field all the same.
    bool RedrawAll = false;
};

} // namespace vg
