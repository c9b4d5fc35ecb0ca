#pragma once

#include <string>

namespace vg {

// A file or folder that could not be written, and the system's reason.
struct WriteFailure {
    std::string Path;
    int Reason = 0;           // an errno value
    std::string ReasonText{}; // the reason in words where no errno value says it

    // Takes errno as it is now: call right after the call that failed.
    void Record(const std::string& path);
    // "path: reason", the line shown below the message that tells of the failure.
    std::string Line() const;
};

} // namespace vg
