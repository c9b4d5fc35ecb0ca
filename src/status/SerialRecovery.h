#pragma once

#include "common/ErrorCode.h"
#include "config/model/ConfigState.h"
#include "link/CommSettings.h"
#include "link/DeviceLink.h"
#include "link/SerialPort.h"
#include "status/PollState.h"

namespace vg {

// Brings the serial port back after its device went away: an adapter unplugged and plugged
// in again, a unit's pseudo-terminal closed and made anew under the same name. A port that
// hung up or failed a read is closed at once; a closed port is opened again on every tick
// while the unit counts as offline, silently, until it opens. A transfer owns the link while
// it runs: then nothing is touched.
class SerialRecovery {
public:
    SerialRecovery(const CommSettings& settings, DeviceLink& link, SerialPort& serial,
                   PollState& poll, const ConfigState& config)
        : Settings(settings), Link(link), Serial(serial), Poll(poll), Config(config) {}

    // Opens the port with an empty slot and starts the receiver, which stays suspended when
    // the open failed. LinkOpened holds the result.
    bool OpenPort(ErrorCode& error);
    // Once per tick in serial mode, before the poll.
    void Recover();

private:
    // The open port reported a hang-up or a read error: it is closed.
    void PortHungUp();
    // One attempt to open the closed port again; true when it opened.
    bool TryReopen();
    // The port is open again: the poll asks the unit at once.
    void Reopened();

    const CommSettings& Settings;
    DeviceLink& Link;
    SerialPort& Serial;
    PollState& Poll;
    const ConfigState& Config;
};

} // namespace vg
