#pragma once

#include <array>
#include <cstdint>

namespace vg {

// The 6-byte block exchanged with the unit in both communication modes:
// byte 0 parameter or tool number, byte 1 request code or reply flags, bytes 2 and 3
// argument bytes, bytes 4 and 5 a 16-bit value, low byte first.
using DeviceMessage = std::array<uint8_t, 6>;
using DeviceRequest = DeviceMessage;
using DeviceReply = DeviceMessage;

namespace RequestCode {
constexpr uint8_t StatusKind0 = 0x00;
constexpr uint8_t StatusKind1 = 0x20;
constexpr uint8_t Start = 0x01;
constexpr uint8_t Teach = 0x02;
constexpr uint8_t GoBack = 0x04;
constexpr uint8_t GoToPosition = 0x08;
constexpr uint8_t ParameterRead = 0x81;
constexpr uint8_t ParameterWrite = 0x82;
constexpr uint8_t ToolRead = 0xC1;
constexpr uint8_t ToolWrite = 0xC2;
constexpr uint8_t ToolDelete = 0xC8;
} // namespace RequestCode

// Flag bits of byte 1 of a parameter-channel reply (parameters and tool exchange).
namespace ReplyFlag {
constexpr uint8_t Acknowledged = 0x01;
constexpr uint8_t WriteRefused = 0x02;
constexpr uint8_t ReadRefused = 0x04;
constexpr uint8_t SlotEmpty = 0x08;
constexpr uint8_t ChannelMark = 0x40;
constexpr uint8_t ParameterReply = 0x80;
} // namespace ReplyFlag

// Bits of byte 1 of a status record.
namespace StateBit {
constexpr uint8_t ZeroPosition = 0x01;
constexpr uint8_t Scanning = 0x02;
constexpr uint8_t Out1 = 0x08;
constexpr uint8_t Out2 = 0x10;
constexpr uint8_t ParameterReply = 0x80; // not a status record
} // namespace StateBit

// Byte 2 of a parameter request: the element index, with this bit for a word transfer.
constexpr uint8_t ElementWordMode = 0x80;
// Byte 2 of a parameter reply: the element was not accepted.
constexpr uint8_t ElementNotAccepted = 0x01;

inline uint16_t MessageWord(const DeviceMessage& m) {
    return static_cast<uint16_t>(m[4] | (m[5] << 8));
}

inline void SetMessageWord(DeviceMessage& m, uint16_t value) {
    m[4] = static_cast<uint8_t>(value & 0xFF);
    m[5] = static_cast<uint8_t>(value >> 8);
}

// A block with bit 6 or bit 7 of byte 1 set belongs to the parameter channel and is never a
// status record.
inline bool IsChannelBlock(const DeviceMessage& m) {
    return (m[1] & (ReplyFlag::ChannelMark | ReplyFlag::ParameterReply)) != 0;
}

inline DeviceRequest MakeStatusRequest(int kind) {
    DeviceRequest r{};
    r[1] = kind == 1 ? RequestCode::StatusKind1 : RequestCode::StatusKind0;
    return r;
}

} // namespace vg
