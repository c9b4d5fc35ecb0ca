#include "common/WriteFailure.h"

#include <cerrno>
#include <cstring>

namespace vg {

void WriteFailure::Record(const std::string& path) {
    Reason = errno;
    Path = path;
}

std::string WriteFailure::Line() const {
    return Path + ": " + std::strerror(Reason);
}

} // namespace vg
