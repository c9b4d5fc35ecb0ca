#pragma once

#include "link/LineTrace.h"
#include "link/SerialPortList.h"

#include <chrono>
#include <ostream>
#include <string>

namespace vg::cli {

// How long --probe waits for a unit on each port.
constexpr std::chrono::milliseconds ProbeWait{300};

// vgctl ports: a line for every serial device present, with whether this user may open it,
// which other program has it, the COMn that lead to it and its stable names; with `probe`,
// also whether a unit answers a status request on each port that is free. The exit status.
// The probes' traffic goes to `trace` when one is given.
int RunPortsCommand(const std::string& linkDir, const SerialPortPlaces& places, bool probe,
                    std::ostream& out, LineTraceSink* trace = nullptr);

} // namespace vg::cli
