#include "link/FrameCodec.h"
#include "sim/SimFieldbusMaster.h"
#include "sim/SimSerialServer.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <array>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace vg::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The program's side of the simulator's terminal, raw.
class RawTerminal {
public:
    explicit RawTerminal(const std::string& path) : Fd(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios raw{};
        tcgetattr(Fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(Fd, TCSANOW, &raw);
    }
    ~RawTerminal() { close(Fd); }
    void Write(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(write(Fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<uint8_t> ReadFrame(std::chrono::milliseconds timeout = 2s) {
        std::vector<uint8_t> got;
        const auto deadline = Clock::now() + timeout;
        while (got.size() < FrameLength && Clock::now() < deadline) {
            pollfd fd{Fd, POLLIN, 0};
            if (poll(&fd, 1, 50) > 0) {
                uint8_t b[64];
                const ssize_t n = read(Fd, b, sizeof b);
                got.insert(got.end(), b, b + std::max<ssize_t>(n, 0));
            }
        }
        return got;
    }

private:
    int Fd;
};

TEST(SimSerialServer, AnswersAFrameAndRejectsOneThatFailsItsChecks) {
    SimUnit unit;
    SimSerialServer server(unit);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    server.Start();
    RawTerminal terminal(server.DevicePath());

    terminal.Write(V24_BuildFrame(DeviceRequest{31, RequestCode::ParameterRead, 0, 0, 0, 0}));
    EXPECT_EQ(terminal.ReadFrame(), V24_BuildFrame(DeviceReply{31, 0x81, 0, 0, 1, 0}));

    auto broken = V24_BuildFrame(DeviceRequest{});
    broken[16] = broken[16] == '0' ? '1' : '0';
    terminal.Write(broken);
    EXPECT_EQ(terminal.ReadFrame(), V24_BuildFrame(DeviceReply{}, 0x01));
}

TEST(SimSerialServer, CorruptChecksumFaultSpoilsTheReplyFrame) {
    SimUnit unit;
    SimFaults faults;
    faults.CorruptChecksum = true;
    unit.SetFaults(faults);
    SimSerialServer server(unit);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    server.Start();
    RawTerminal terminal(server.DevicePath());
    terminal.Write(V24_BuildFrame(DeviceRequest{31, RequestCode::ParameterRead, 0, 0, 0, 0}));
    const auto frame = terminal.ReadFrame();
    DeviceReply reply{};
    EXPECT_EQ(V24_DecodeFrame(frame.data(), frame.size(), reply), V24_ERR_CHECKSUM);
}

TEST(SimSerialServer, PacedReplyTakesAtLeastTheLineTimeOfBothFrames) {
    SimUnit unit;
    SimSerialServer server(unit);
    server.SetPaced(true);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    server.Start();
    RawTerminal terminal(server.DevicePath());
    const auto began = Clock::now();
    terminal.Write(V24_BuildFrame(DeviceRequest{}));
    EXPECT_EQ(terminal.ReadFrame().size(), FrameLength);
    // 36 bytes of 10 bits at 19200 bit/s can never cross faster than this.
    EXPECT_GE(Clock::now() - began, SimSerialServer::ByteTime * 36);
}

TEST(SimSerialServer, LinkIsMadeAndRemovedAgain) {
    test::TempDir dir;
    const std::string link = (dir / "COM1").string();
    {
        SimUnit unit;
        SimSerialServer server(unit);
        std::string error;
        ASSERT_TRUE(server.Open(error));
        ASSERT_TRUE(server.LinkAs(link, error)) << error;
        EXPECT_EQ(std::filesystem::read_symlink(link), server.DevicePath());
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(SimProcess, EndsCleanlyOnTerminationAndTakesCommands) {
    test::TempDir dir;
    const std::string link = (dir / "COM2").string();
    test::SimProcess sim({"--link", link, "--variant", "3", "--cu-id", "87654321"});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    sim.Command("tool 12");
    RawTerminal terminal(link);
    // Commands are read on the simulator's main thread and answers come from another, so ask
    // until the new tool shows, for a bounded time.
    DeviceReply reply{};
    const auto deadline = Clock::now() + 10s;
    while (reply[0] != 12 && Clock::now() < deadline) {
        terminal.Write(V24_BuildFrame(DeviceRequest{}));
        const auto frame = terminal.ReadFrame();
        V24_DecodeFrame(frame.data(), frame.size(), reply);
    }
    EXPECT_EQ(reply[0], 12);
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

class SimFieldbusTest : public ::testing::Test {
protected:
    SimFieldbusTest() {
        Master.OpenMaster(0, "COM1");
        Master.AddSlave(50, Outputs.data(), 1);
    }
    DeviceReply Exchange(const DeviceRequest& request) {
        std::copy(request.begin(), request.end(), Outputs.begin() + FieldbusRequestOffset);
        Master.WriteOutputs(50, Outputs.data());
        Master.RunCycle();
        return Read();
    }
    DeviceReply Read() {
        Master.ReadInputs(50, Inputs.data(), 1);
        DeviceReply r{};
        std::copy_n(Inputs.begin() + FieldbusReplyOffset, 6, r.begin());
        return r;
    }
    bool Valid() const {
        return Inputs[FieldbusValidityOffset1] != 0 && Inputs[FieldbusValidityOffset2] != 0;
    }

    SimUnit Unit;
    SimFieldbusMaster Master{Unit};
    std::array<uint8_t, FieldbusOutputRecordSize> Outputs{};
    std::array<uint8_t, FieldbusInputRecordSize> Inputs{};
};

TEST_F(SimFieldbusTest, ACommandIsCarriedOutOnceAndAStatusRequestOnEveryCycle) {
    const DeviceRequest write{5, RequestCode::ParameterWrite, 0, 0, 9, 0};
    EXPECT_EQ(Exchange(write)[1], 0x81);
    EXPECT_EQ(Unit.ChannelRequestsSeen(), 1);
    Master.RunCycle();
    EXPECT_EQ(Unit.ChannelRequestsSeen(), 1);
    Unit.SetCurrentTool(3);
    EXPECT_EQ(Exchange(MakeStatusRequest(0))[0], 3);
    Unit.SetCurrentTool(4);
    Master.RunCycle();
    EXPECT_EQ(Read()[0], 4);
    EXPECT_TRUE(Valid());
}

TEST_F(SimFieldbusTest, ADelayedReplyWakesAWaiterWhenItIsDue) {
    Unit.SetAnswerDelay(50ms);
    const auto began = Clock::now();
    EXPECT_EQ(Exchange(DeviceRequest{31, RequestCode::ParameterRead, 0, 0, 0, 0})[1], 0);
    Master.WaitForInputs(Clock::now() + 5s);
    EXPECT_EQ(Read()[1], 0x81);
    EXPECT_GE(Clock::now() - began, 50ms);
    EXPECT_LT(Clock::now() - began, 5s);
}

TEST_F(SimFieldbusTest, ASilentUnitLeavesTheInputsInvalid) {
    Exchange(MakeStatusRequest(0));
    EXPECT_TRUE(Valid());
    Unit.SetSilent(true);
    Exchange(MakeStatusRequest(0));
    EXPECT_FALSE(Valid());
    Unit.SetSilent(false);
    Exchange(MakeStatusRequest(0));
    EXPECT_TRUE(Valid());
}

TEST_F(SimFieldbusTest, ASlaveAtAnotherAddressIsNeverHeard) {
    SimFieldbusMaster other(Unit, 7);
    other.OpenMaster(0, "COM1");
    other.AddSlave(50, Outputs.data(), 1);
    other.WriteOutputs(50, Outputs.data());
    other.RunCycle();
    other.ReadInputs(50, Inputs.data(), 1);
    EXPECT_FALSE(Valid());
}

} // namespace
} // namespace vg::sim
