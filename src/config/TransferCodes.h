#pragma once

#include "common/ErrorCode.h"

namespace vg {

// Transfer error codes of the configuration files (TransferError and the file operations).
constexpr ErrorCode TRF_ERR_NAMESPACE_FILE = 1; // tool-name file of illegal size
constexpr ErrorCode TRF_ERR_PARAMETER_FILE = 2; // configuration file of illegal size
constexpr ErrorCode TRF_ERR_FILE_WRITE = 3;     // a file was not opened or not fully written

} // namespace vg
