#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vg {

// Where "COMn" leads on this system: the device or link named COMn in `linkDir` when there is
// one (a dangling link included: it names the adapter that is not plugged in), otherwise
// `devDir` + "ttyS<n-1>".
std::string ComPortPath(const std::string& linkDir, int16_t port,
                        const std::string& devDir = "/dev/");

// "COM1" to "COM6" give 1 to 6; any other text gives nothing.
std::optional<int16_t> ComPortOfName(const std::string& name);

// The file a chain of symbolic links ends at, followed as far as it leads: the device itself
// when it is there, otherwise the first name in the chain that is missing.
std::string FinalLinkTarget(const std::string& path);

enum class ComLinkResult {
    Linked,
    NotALink, // COMn is a file or device the user placed there: left alone
    Failed,
};

// Makes COMn in `linkDir` a symbolic link to `target`, creating `linkDir` when needed. An
// existing COMn link is replaced at once; anything else there only when `replaceOther` is
// set. On failure `failure` holds "path: reason".
ComLinkResult MakeComLink(const std::string& linkDir, int16_t port, const std::string& target,
                          bool replaceOther, std::string& failure);

} // namespace vg
