#pragma once

#include <cstdint>

namespace vg {

// Every link, transaction, transfer and file operation reports through a caller-supplied
// variable of this type; 0 means no error.
using ErrorCode = uint32_t;

// Codes of transactions and transfers (the link's own codes live with the link).
namespace TransferCode {
constexpr ErrorCode NamespaceFile = 1; // tool-name file of the wrong size
constexpr ErrorCode ParameterFile = 2; // configuration file of the wrong size
constexpr ErrorCode FileWrite = 3;     // a file could not be written completely
constexpr ErrorCode Timeout = 4;       // no suitable answer before the deadline
constexpr ErrorCode WriteRefused = 5;
constexpr ErrorCode ReadRefused = 6;
constexpr ErrorCode Synchronisation = 7; // the answer's echo does not match
constexpr ErrorCode SoftError = 8;       // an answer without any of the expected flags
constexpr ErrorCode NoCuId = 20;         // the unit's identifier is not eight digits
// A value the unit cannot hold; nothing was sent, and the message shown names the value.
constexpr ErrorCode ValueOutOfRange = 30;
// A termination signal ended the transfer before it was done.
constexpr ErrorCode Interrupted = 31;
} // namespace TransferCode

} // namespace vg
