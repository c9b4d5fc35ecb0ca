#pragma once

#include "link/LineTrace.h"

#include <chrono>
#include <string>

namespace vg {

enum class ProbeResult {
    Answered,  // a frame of the unit's protocol came back
    NoAnswer,  // nothing sound came back in time
    NotOpened, // the device did not open
};

// Opens `device` as the program does, sends one status request and waits at most `wait`,
// counted from the open, for an answer; then closes the device again.
// The frames and the open and close go to `trace` when one is given.
ProbeResult ProbeForUnit(const std::string& device, std::chrono::milliseconds wait,
                         LineTraceSink* trace = nullptr);

} // namespace vg
