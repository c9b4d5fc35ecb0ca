#include "link/FrameCodec.h"

namespace vg {

namespace {
constexpr char HexDigits[] = "0123456789ABCDEF";

uint8_t DecodeNibble(uint8_t c) {
    // No validation: the checksum, computed over the raw characters, catches bad digits.
    return static_cast<uint8_t>(c < 'A' ? c - 0x30 : c - 0x37);
}
} // namespace

std::array<char, 2> HexEncodeByte(uint8_t value) {
    return {HexDigits[value >> 4], HexDigits[value & 0x0F]};
}

uint8_t HexDecodePair(uint8_t high, uint8_t low) {
    return static_cast<uint8_t>((DecodeNibble(high) << 4) + DecodeNibble(low));
}

std::vector<uint8_t> V24_BuildFrame(const uint8_t* payload, size_t n, uint8_t address) {
    std::vector<uint8_t> frame;
    frame.reserve(2 * n + 6);
    frame.push_back(FrameStartByte);
    auto append = [&frame](uint8_t byte) {
        auto hex = HexEncodeByte(byte);
        frame.push_back(static_cast<uint8_t>(hex[0]));
        frame.push_back(static_cast<uint8_t>(hex[1]));
    };
    append(address);
    for (size_t i = 0; i < n; ++i) {
        append(payload[i]);
    }
    uint8_t checksum = 0;
    for (size_t i = 1; i < frame.size(); ++i) {
        checksum = static_cast<uint8_t>(checksum + frame[i]);
    }
    append(checksum);
    frame.push_back(FrameEndByte);
    return frame;
}

ErrorCode V24_DecodeFrame(const uint8_t* bytes, size_t count, DeviceMessage& payload) {
    if (count < FrameLength || bytes[0] != FrameStartByte || bytes[count - 1] != FrameEndByte) {
        return V24_ERR_FRAME;
    }
    if ((HexDecodePair(bytes[1], bytes[2]) & 0x01) != 0) {
        return V24_ERR_REMOTE;
    }
    const uint8_t expected = HexDecodePair(bytes[count - 3], bytes[count - 2]);
    uint8_t sum = 0;
    // Everything between the start byte and the checksum: two frames read together fail here.
    for (size_t i = 1; i + 3 < count; ++i) {
        sum = static_cast<uint8_t>(sum + bytes[i]);
    }
    if (sum != expected) {
        return V24_ERR_CHECKSUM;
    }
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = HexDecodePair(bytes[3 + 2 * i], bytes[4 + 2 * i]);
    }
    return 0;
}

} // namespace vg
