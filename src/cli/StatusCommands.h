#pragma once

#include "session/Session.h"
#include "session/TerminationSignals.h"
#include "status/StatusEvents.h"
#include "status/StatusPoll.h"
#include "status/UnitStatus.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace vg::cli {

// The poll's rhythm for vgctl: the interval it asks for is the command's own.
class TerminalPollRhythm : public StatusEvents {
public:
    void PollIntervalChanged(int milliseconds) override { Interval = milliseconds; }

    int Interval = PollInterval::Designed;
};

// What the main window's status bar shows of the unit, field by field.
struct StatusPicture {
    bool Online = false;
    int16_t Tool = -1; // -1: not known (offline)
    bool Out1 = false;
    bool Out2 = false;
    std::string Scanner;        // "Scanning", "Zero-Pos.", "" or "-----"
    std::string Angle;          // degrees with a point, or "-----"
    std::string Message;        // the unit's error message, "" for none
    std::string Id;             // the identifier panel as shown
    bool SimulatedUnit = false; // the built-in simulated unit, not a real one
};

StatusPicture TakeStatusPicture(const UnitStatus& status);
// One "Name: value" line per field, for `vgctl status`.
std::string FormatStatusLines(const StatusPicture& picture);
// The whole picture on one line, for `vgctl watch`.
std::string FormatWatchLine(const StatusPicture& picture);

// vgctl status (watch false): polls until the unit answers and prints its status, exit 1 when
// it does not answer within AnswerWait or the port does not open. vgctl watch: prints a line
// on every change of the picture until SIGINT or SIGTERM, also when the port is not there
// yet; with `csv` a header row first and then one row per change, with the time. Opens and
// closes the link itself.
// `signals` ends the command: status with exit 1, watch with 0.
int RunStatusCommand(Session& session, bool watch, bool csv, std::ostream& out, std::ostream& err,
                     TerminationSignals& signals);

constexpr int AnswerWaitMilliseconds = 3000;

} // namespace vg::cli
