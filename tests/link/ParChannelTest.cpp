#include "link/FrameCodec.h"
#include "support/FastForwardClock.h"
#include "support/PtyPair.h"
#include "support/UnitWorld.h"

#include <gtest/gtest.h>
#include <thread>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ParChannelTest : public ::testing::TestWithParam<CommMode> {
protected:
    test::UnitWorld W{GetParam()};

    void SetFault(void (*arm)(sim::SimFaults&)) {
        sim::SimFaults faults;
        arm(faults);
        W.Unit().SetFaults(faults);
    }
};

TEST_P(ParChannelTest, OneByteIsReadInByteModeAtElementZero) {
    uint8_t value = 0;
    ErrorCode error = 0;
    EXPECT_TRUE(W.Par.ReadByte(31, value, error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(value, 1);
    const auto log = W.Unit().ChannelRequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], (DeviceRequest{31, 0x81, 0x00, 0, 0, 0}));
    EXPECT_EQ(W.Par.ParState, 0);
}

TEST_P(ParChannelTest, TwentyBytesAreTenWordRequests) {
    W.Unit().SetCuId("31415926");
    std::array<uint8_t, 20> block{};
    ErrorCode error = 0;
    EXPECT_TRUE(W.Par.ReadUnitId(block, error));
    EXPECT_EQ(std::string(block.begin(), block.begin() + 8), "31415926");
    EXPECT_EQ(block, W.Unit().NamespaceBlock());
    const auto log = W.Unit().ChannelRequestLog();
    ASSERT_EQ(log.size(), 10u);
    for (size_t k = 0; k < log.size(); ++k) {
        EXPECT_EQ(log[k][2], 0x80 + 2 * k);
    }
}

TEST_P(ParChannelTest, AnOddCountUsesByteModeForEveryElement) {
    std::array<uint8_t, 3> bytes{};
    ErrorCode error = 0;
    W.Unit().SetCuId("98765432");
    EXPECT_TRUE(W.Par.Read(32, 3, 2, bytes.data(), false, error));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "765");
    for (const auto& request : W.Unit().ChannelRequestLog()) {
        EXPECT_EQ(request[2] & 0x80, 0);
    }
}

TEST_P(ParChannelTest, WritesReachTheUnitWordForWord) {
    std::array<uint8_t, 20> block{};
    std::string id = "24681357";
    std::copy(id.begin(), id.end(), block.begin());
    block[8] = 0xD4;
    block[9] = 0x07;
    ErrorCode error = 0;
    EXPECT_TRUE(W.Par.WriteUnitId(block, error));
    EXPECT_EQ(W.Unit().NamespaceBlock(), block);
    EXPECT_TRUE(W.Par.WriteByte(14, 250, error));
    EXPECT_EQ(W.Unit().Parameter(14), 250);
}

TEST_P(ParChannelTest, ElementFlagIsIgnoredOnlyForIndex127) {
    uint8_t value = 0xAA;
    ErrorCode error = 0;
    // Parameter 32 has 20 elements: the unit flags 127 as not accepted.
    EXPECT_TRUE(W.Par.Read(32, 1, 127, &value, false, error));
    EXPECT_EQ(error, 0u);
    EXPECT_FALSE(W.Par.Read(32, 1, 126, &value, false, error));
    EXPECT_EQ(error, TransferCode::Synchronisation);
}

TEST_P(ParChannelTest, RefusalsAndMismatchesGiveTheirCodes) {
    struct Case {
        void (*Arm)(sim::SimFaults&);
        bool Write;
        ErrorCode Expected;
    };
    const Case cases[] = {
        {[](sim::SimFaults& f) { f.RefuseRead = true; }, false, TransferCode::ReadRefused},
        {[](sim::SimFaults& f) { f.RefuseWrite = true; }, true, TransferCode::WriteRefused},
        {[](sim::SimFaults& f) { f.SoftError = true; }, false, TransferCode::SoftError},
        {[](sim::SimFaults& f) { f.SoftError = true; }, true, TransferCode::SoftError},
        {[](sim::SimFaults& f) { f.WrongEcho = true; }, false, TransferCode::Synchronisation},
        {[](sim::SimFaults& f) { f.ElementNotAccepted = true; }, true,
         TransferCode::Synchronisation},
        {[](sim::SimFaults& f) { f.NoReply = true; }, false, TransferCode::Timeout},
    };
    for (const auto& c : cases) {
        SetFault(c.Arm);
        uint8_t value = 0x55;
        ErrorCode error = 0;
        const bool ok = c.Write ? W.Par.WriteByte(3, 0, error) : W.Par.ReadByte(3, value, error);
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, c.Expected);
        EXPECT_EQ(value, 0x55); // nothing stored from a failed read
    }
    W.Unit().SetFaults({});
    uint8_t value = 0;
    ErrorCode error = 0;
    EXPECT_TRUE(W.Par.ReadByte(3, value, error)) << "the channel works again";
}

TEST_P(ParChannelTest, IdentifierWithALetterGivesCode20) {
    W.Unit().SetCuId("1234567A");
    std::array<uint8_t, 20> block{};
    ErrorCode error = 0;
    EXPECT_FALSE(W.Par.ReadUnitId(block, error));
    EXPECT_EQ(error, TransferCode::NoCuId);
}

TEST_P(ParChannelTest, ASilentUnitEndsTheTransactionAfterOneDeadline) {
    W.Unit().SetSilent(true);
    uint8_t value = 0;
    ErrorCode error = 0;
    const auto began = Clock::now();
    EXPECT_FALSE(W.Par.ReadByte(0, value, error));
    EXPECT_EQ(error, TransferCode::Timeout);
    EXPECT_LT(Clock::now() - began, 2 * W.Par.Timeout);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ParChannelTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus), test::ModeName);

TEST(ParChannelSerial, AReplyThatFailsItsChecksIsAskedForAgain) {
    test::UnitWorld w(CommMode::Serial);
    sim::SimFaults once;
    once.CorruptChecksum = true;
    once.FirstRequest = 0;
    once.RequestCount = 1;
    w.Unit().SetFaults(once);
    uint8_t value = 0;
    ErrorCode error = 0;
    EXPECT_TRUE(w.Par.ReadByte(31, value, error));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(w.Unit().ChannelRequestsSeen(), 2);

    sim::SimFaults always;
    always.CorruptChecksum = true;
    w.Unit().SetFaults(always);
    EXPECT_FALSE(w.Par.ReadByte(31, value, error));
    EXPECT_EQ(error, V24_ERR_CHECKSUM); // what went wrong, not just that time ran out
}

// The unit played by hand on the far side of a terminal.
class HandPlayedUnit : public ::testing::Test {
protected:
    HandPlayedUnit() : World(CommMode::Serial), Par(World.Link, Poll.RequestOutstanding) {
        Par.Timeout = 1s;
        World.OpenSerial(Pty.SlavePath());
    }
    DeviceRequest ReadRequest() {
        const auto frame = Pty.Read(FrameLength, 2s);
        DeviceRequest request{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        V24_DecodeFrame(frame.data(), frame.size(), request);
        return request;
    }
    void Answer(const DeviceReply& reply) { Pty.Write(V24_BuildFrame(reply)); }

    test::PtyPair Pty;
    test::LinkWorld World;
    PollState Poll;
    ParChannel Par;
};

// A unit that has not taken a request answers it with the other kind of block: the request
// goes out again, or every transfer would wait out its deadline.
TEST_F(HandPlayedUnit, ABlockOfTheOtherKindAloneAsksAgain) {
    std::thread unit([this] {
        EXPECT_EQ(ReadRequest(), DeviceRequest{}); // synchronise with the status channel
        Answer({6, 0x81, 0, 0, 9, 0});             // a parameter block instead
        EXPECT_EQ(ReadRequest(), DeviceRequest{}) << "the status request again";
        Answer({0, 0x01, 0, 0, 0, 0});
        const DeviceRequest request = ReadRequest();
        EXPECT_EQ(request, (DeviceRequest{6, 0x81, 0, 0, 0, 0}));
        Answer({0, 0x01, 0, 0, 0, 0}); // a status record instead
        EXPECT_EQ(ReadRequest(), request) << "the parameter request again";
        Answer({6, 0x81, 0, 0, 2, 0});
    });
    uint8_t value = 0;
    ErrorCode error = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Par.ReadByte(6, value, error)) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms) << "no deadline was waited out";
    EXPECT_EQ(value, 2);
    unit.join();
}

// A status record that answers an earlier request is followed by the reply at once: asking
// again would only bring one more surplus reply for a later wait.
TEST_F(HandPlayedUnit, ABlockOfTheOtherKindFollowedByTheReplyCostsNoRequest) {
    std::thread unit([this] {
        EXPECT_EQ(ReadRequest(), DeviceRequest{}); // synchronise with the status channel
        Answer({0, 0x01, 0, 0, 0, 0});
        EXPECT_EQ(ReadRequest(), (DeviceRequest{6, 0x81, 0, 0, 0, 0}));
        Answer({0, 0x01, 0, 0, 0, 0});
        std::this_thread::sleep_for(10ms); // one frame time on the line
        Answer({6, 0x81, 0, 0, 2, 0});
        EXPECT_TRUE(Pty.Read(FrameLength, 300ms).empty()) << "the request went out again";
    });
    uint8_t value = 0;
    ErrorCode error = 0;
    EXPECT_TRUE(Par.ReadByte(6, value, error));
    EXPECT_EQ(value, 2);
    unit.join();
}

TEST_F(HandPlayedUnit, AnOutstandingStatusReplyIsConsumedInsteadOfAskingAgain) {
    Poll.RequestOutstanding = true; // the poll's request is on its way
    std::thread unit([this] {
        Answer({0, 0x01, 0, 0, 0, 0});
        EXPECT_EQ(ReadRequest(), (DeviceRequest{6, 0x81, 0, 0, 0, 0}));
        Answer({6, 0x81, 0, 0, 2, 0});
    });
    uint8_t value = 0;
    ErrorCode error = 0;
    EXPECT_TRUE(Par.ReadByte(6, value, error));
    EXPECT_FALSE(Poll.RequestOutstanding);
    unit.join();
}

TEST(ParChannelDeadline, TheProgramsOwnDeadlineIsTenSeconds) {
    test::LinkWorld world(CommMode::Fieldbus);
    PollState poll;
    ParChannel par(world.Link, poll.RequestOutstanding);
    // The deadline is the product's own; only the ten seconds are not slept through.
    test::FastForwardClock time(50ms);
    par.Time = &time;
    ErrorCode error = 0;
    ASSERT_TRUE(world.Link.Open(1, error));
    world.BusUnit.SetSilent(true);
    const auto began = time.Now();
    uint8_t value = 0;
    EXPECT_FALSE(par.ReadByte(0, value, error));
    const auto waited = time.Now() - began;
    EXPECT_EQ(error, TransferCode::Timeout);
    EXPECT_GE(waited, 10s);
    EXPECT_LT(waited, 12s);
}

} // namespace
} // namespace vg
