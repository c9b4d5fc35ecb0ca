#pragma once

#include "common/ErrorCode.h"
#include "link/DeviceMessage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vg {

// Link error codes of the serial line.
constexpr ErrorCode V24_ERR_OPEN = 0xC001;
constexpr ErrorCode V24_ERR_PARAM = 0xC002;
constexpr ErrorCode V24_ERR_NOT_OPEN = 0xC003;
constexpr ErrorCode V24_ERR_READ = 0xC004;
constexpr ErrorCode V24_ERR_FRAME = 0xC007;
constexpr ErrorCode V24_ERR_REMOTE = 0xC008;
constexpr ErrorCode V24_ERR_CHECKSUM = 0xC009;

constexpr uint8_t FrameStartByte = 0x01;
constexpr uint8_t FrameEndByte = 0x17;
// A frame of a 6-byte block: start, 2 address characters, 12 payload characters,
// 2 checksum characters, end.
constexpr size_t FrameLength = 2 * 6 + 6;
// The receive slot holds the bytes of one read, at most this many.
constexpr size_t V24_RxBufferSize = 80;

std::array<char, 2> HexEncodeByte(uint8_t value);
uint8_t HexDecodePair(uint8_t high, uint8_t low);

// The framed form of n payload bytes (2n + 6 bytes). The PC always sends address 0; the
// simulated unit uses other addresses to reject a request.
std::vector<uint8_t> V24_BuildFrame(const uint8_t* payload, size_t n, uint8_t address = 0);
inline std::vector<uint8_t> V24_BuildFrame(const DeviceMessage& block, uint8_t address = 0) {
    return V24_BuildFrame(block.data(), block.size(), address);
}

// Checks a received block of `count` bytes and decodes its 6 payload bytes into `payload`
// (left untouched on failure). Returns 0 or the frame error code.
ErrorCode V24_DecodeFrame(const uint8_t* bytes, size_t count, DeviceMessage& payload);

} // namespace vg
