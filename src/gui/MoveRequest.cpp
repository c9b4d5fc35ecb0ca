#include "gui/MoveRequest.h"

#include <cmath>
#include <cstdint>

namespace vg {

DeviceRequest BuildStartRequest(const ToolRecord& tool, double angle) {
    DeviceRequest request = ToolValuesRequest(RequestCode::Start, tool);
    // The angle is the one the target-angle field shows, not necessarily the tool's.
    SetMessageWord(request, static_cast<uint16_t>(std::lround(angle * 100.0) & 0xFFFF));
    return request;
}

DeviceRequest BuildTeachRequest(const ConfigImage& image) {
    DeviceRequest request{};
    request[1] = RequestCode::Teach;
    request[2] = static_cast<uint8_t>(image.DefaultIntensity & 0xFF);
    request[3] = static_cast<uint8_t>((image.DefaultTolerance / 10) & 0xFF);
    SetMessageWord(request, static_cast<uint16_t>(image.DefaultAngle & 0xFFFF));
    return request;
}

} // namespace vg
