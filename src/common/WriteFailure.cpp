#include "common/WriteFailure.h"

#include "common/AsciiText.h"

#include <cerrno>
#include <cstring>

namespace vg {

void WriteFailure::Record(const std::string& path) {
    Reason = errno;
    ReasonText.clear();
    Path = path;
}

std::string WriteFailure::Line() const {
    std::string line = EscapedText(Path);
    line.append(": ").append(ReasonText.empty() ? std::strerror(Reason) : ReasonText);
    return line;
}

} // namespace vg
