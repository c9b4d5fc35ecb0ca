#include "link/FrameCodec.h"

#include "link/ReceiveSlot.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace vg {
namespace {

std::vector<uint8_t> Framed(const std::string& text) {
    std::vector<uint8_t> bytes(text.size() + 2);
    bytes.front() = FrameStartByte;
    std::copy(text.begin(), text.end(), bytes.begin() + 1);
    bytes.back() = FrameEndByte;
    return bytes;
}

struct ReadResult {
    bool Ok;
    ErrorCode Error;
    DeviceMessage Payload;
};

ReadResult ReadFromSlot(ReceiveSlot& slot, const std::vector<uint8_t>& bytes) {
    slot.Deposit(bytes.data(), bytes.size());
    ReadResult r{false, 0, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}};
    uint32_t count = 0;
    r.Ok = slot.V24_ReadFrame(r.Payload, count, r.Error);
    return r;
}

TEST(FrameCodec, EncodesTheThreeReferenceBlocks) {
    EXPECT_EQ(V24_BuildFrame(DeviceMessage{0, 0, 0, 0, 0, 0}), Framed("00000000000000A0"));
    EXPECT_EQ(V24_BuildFrame(DeviceMessage{0x20, 0x81, 0x80, 0, 0, 0}), Framed("00208180000000B3"));
    EXPECT_EQ(V24_BuildFrame(DeviceMessage{0, 0x20, 0, 0, 0, 0}), Framed("00002000000000A2"));
}

TEST(FrameCodec, EveryBlockGivesEighteenBytesWithUpperCaseHex) {
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        DeviceMessage block;
        for (auto& b : block) {
            b = static_cast<uint8_t>(random());
        }
        const auto frame = V24_BuildFrame(block);
        ASSERT_EQ(frame.size(), FrameLength);
        EXPECT_EQ(frame[1], '0');
        EXPECT_EQ(frame[2], '0');
        for (size_t k = 1; k + 1 < frame.size(); ++k) {
            EXPECT_TRUE(std::isdigit(frame[k]) || (frame[k] >= 'A' && frame[k] <= 'F'));
        }
        DeviceMessage back{};
        EXPECT_EQ(V24_DecodeFrame(frame.data(), frame.size(), back), 0u);
        EXPECT_EQ(back, block);
    }
}

TEST(FrameCodec, RejectedFramesLeavePayloadUntouchedAndEmptyTheSlot) {
    auto good = V24_BuildFrame(DeviceMessage{1, 0x81, 0, 0, 0x34, 0x12});
    auto oddAddress = V24_BuildFrame(DeviceMessage{1, 0x81, 0, 0, 0x34, 0x12}, 0x03);
    auto changedPayload = good;
    changedPayload[6] = changedPayload[6] == '1' ? '2' : '1';
    auto trailing = good;
    trailing.push_back('0');
    auto shortFrame = Framed("000000000000A0");

    const std::vector<std::pair<std::vector<uint8_t>, ErrorCode>> cases = {
        {oddAddress, V24_ERR_REMOTE},
        {changedPayload, V24_ERR_CHECKSUM},
        {trailing, V24_ERR_FRAME},
        {shortFrame, V24_ERR_FRAME},
    };
    ReceiveSlot slot;
    for (const auto& [bytes, code] : cases) {
        const auto r = ReadFromSlot(slot, bytes);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Error, code);
        EXPECT_EQ(r.Payload, (DeviceMessage{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
        EXPECT_FALSE(slot.V24_ReplyAvailable());
    }
    const auto r = ReadFromSlot(slot, good);
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(r.Payload, (DeviceMessage{1, 0x81, 0, 0, 0x34, 0x12}));
    EXPECT_FALSE(slot.V24_ReplyAvailable());
}

TEST(FrameCodec, TwoFramesReadTogetherFailTheChecksum) {
    auto both = V24_BuildFrame(DeviceMessage{0, 0, 0, 0, 0, 0});
    const auto second = V24_BuildFrame(DeviceMessage{0, 0x20, 0, 0, 0, 0});
    both.insert(both.end(), second.begin(), second.end());
    ReceiveSlot slot;
    EXPECT_EQ(ReadFromSlot(slot, both).Error, V24_ERR_CHECKSUM);
}

TEST(FrameCodec, ReadFailureIsReportedOnce) {
    ReceiveSlot slot;
    slot.DepositReadFailure();
    DeviceMessage payload{};
    uint32_t count = 0;
    ErrorCode error = 0;
    EXPECT_FALSE(slot.V24_ReadFrame(payload, count, error));
    EXPECT_EQ(error, V24_ERR_READ);
    EXPECT_FALSE(slot.V24_ReadFrame(payload, count, error));
    EXPECT_EQ(error, V24_ERR_FRAME); // an empty slot, no second read failure
}

TEST(FrameCodec, ArbitraryBytesNeverOverrunTheSlot) {
    std::mt19937 random(11);
    ReceiveSlot slot;
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> bytes(random() % 300);
        for (auto& b : bytes) {
            b = static_cast<uint8_t>(random() % 4 == 0 ? FrameEndByte : random());
        }
        if (!bytes.empty() && random() % 2 == 0) {
            bytes[0] = FrameStartByte;
        }
        const auto r = ReadFromSlot(slot, bytes);
        if (!r.Ok) {
            EXPECT_TRUE(r.Error == V24_ERR_FRAME || r.Error == V24_ERR_REMOTE ||
                        r.Error == V24_ERR_CHECKSUM);
        }
        EXPECT_FALSE(slot.V24_ReplyAvailable());
    }
}

} // namespace
} // namespace vg
