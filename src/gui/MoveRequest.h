#pragma once

#include "config/model/ConfigImage.h"
#include "link/DeviceMessage.h"

namespace vg {

// Start: the scanner moves to `angle` degrees and checks there with the tool's intensity and
// tolerance. The angle goes as whole hundredths, rounded, in 16 bits (negative angles in
// two's complement).
DeviceRequest BuildStartRequest(const ToolRecord& tool, double angle);

// Teach: the unit searches with the default settings of `image` (not of the pages, whose
// edits may not be saved yet).
DeviceRequest BuildTeachRequest(const ConfigImage& image);

} // namespace vg
