#pragma once

#include <cstdint>
#include <string>

namespace vg {

// What is known of the last open of a serial device that failed.
struct SerialOpenFailure {
    enum class Step {
        None,     // no device was tried, or the last open succeeded
        Open,     // the device did not open
        Lock,     // it opened, but someone else holds it
        Settings, // it refused the line settings
    };
    Step FailedAt = Step::None;
    int Reason = 0;      // the errno of the step that failed
    std::string Path;    // what was opened: COMn in LinkDir, /dev/ttyS<n-1> or the device given
    int16_t Port = 0;    // the COM number asked for; 0 when a device path was given instead
    std::string LinkDir; // where COMn was looked for
};

// The lines that follow the start-up message: "Device /dev/ttyUSB0: Permission denied" and,
// on a line of its own, what can be done about it. "" when no device was tried.
std::string DescribeOpenFailure(const SerialOpenFailure& failure);

} // namespace vg
