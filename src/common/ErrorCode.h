#pragma once

#include <cstdint>

namespace vg {

// Every link, transaction, transfer and file operation reports through a caller-supplied
// variable of this type; 0 means no error.
using ErrorCode = uint32_t;

} // namespace vg
