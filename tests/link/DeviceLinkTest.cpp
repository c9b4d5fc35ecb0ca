#include "link/FrameCodec.h"
#include "support/LinkWorld.h"
#include "support/PtyPair.h"
#include "support/RecordingTrace.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

DeviceReply AwaitReply(test::LinkWorld& world, ErrorCode& error) {
    DeviceReply reply{};
    const auto deadline = Clock::now() + 3s;
    while (!world.Link.ReplyAvailable() && Clock::now() < deadline) {
        world.Link.WaitReply(deadline);
    }
    world.Link.Receive(reply, error);
    return reply;
}

// The trace is read when something went wrong: it names what was really open.
TEST(DeviceLink, TheTraceNamesThePortThatWasOpenAndTheFieldbusDriver) {
    test::TempDir dir;
    test::PtyPair pty;
    std::filesystem::create_symlink(pty.SlavePath(), dir / "COM1");
    test::LinkWorld serial(CommMode::Serial);
    test::RecordingTrace trace;
    serial.Link.SetTrace(&trace);
    serial.Serial.LinkDir = dir.ProgramDir();
    ErrorCode error = 0;
    ASSERT_TRUE(serial.Link.Open(1, error));
    std::filesystem::remove(dir / "COM1"); // the adapter went, its link with it
    serial.Link.Close(1, error);
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::PortClose),
              std::vector<std::string>{dir.ProgramDir() + "COM1 (COM1)"});

    test::LinkWorld fieldbus(CommMode::Fieldbus);
    fieldbus.Link.SetTrace(&trace);
    ASSERT_TRUE(fieldbus.Link.Open(1, error));
    fieldbus.Settings.DriverPath = "/opt/card/libvgdp-card.so";
    fieldbus.Link.Close(1, error);
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::PortOpen),
              (std::vector<std::string>{dir.ProgramDir() + "COM1 (COM1)",
                                        "built-in simulated unit, station 50"}));
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::PortClose).back(),
              "fieldbus driver /opt/card/libvgdp-card.so, station 50");
}

// The communication window changes the mode of the settings the link was made with: the next
// call goes the new way, with no new link.
TEST(DeviceLink, AChangedModeTakesEffectWithTheNextCall) {
    test::PtyPair pty;
    test::LinkWorld world(CommMode::Fieldbus);
    world.Serial.DeviceOverride = pty.SlavePath();
    ErrorCode error = 0;
    ASSERT_TRUE(world.Link.Open(1, error));
    ASSERT_TRUE(world.Link.Close(1, error));
    world.Settings.Mode = CommMode::Serial;
    ASSERT_TRUE(world.Link.Open(1, error));
    EXPECT_TRUE(world.Serial.IsOpen());
    EXPECT_FALSE(world.BusMaster.IsOpen());
    EXPECT_TRUE(world.Link.RepliesInTurn()) << "the serial line answers one request at a time";
    world.Link.Close(1, error);
}

TEST(DeviceLink, SerialRequestToTheSimulatorProcessComesBackDecoded) {
    test::SimProcess sim({"--tool", "1:90.00:2.0:3"});
    test::LinkWorld world(CommMode::Serial);
    ASSERT_TRUE(world.OpenSerial(sim.DevicePath()));

    ErrorCode error = 0;
    EXPECT_TRUE(world.Link.Send(DeviceRequest{1, RequestCode::ToolRead, 0, 0, 0, 0}, error));
    const DeviceReply reply = AwaitReply(world, error);
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(reply, (DeviceReply{1, 0x81, 3, 20, 0x28, 0x23}));
}

TEST(DeviceLink, FieldbusRequestThroughTheInProcessSlave) {
    test::LinkWorld world(CommMode::Fieldbus);
    world.BusUnit.SetTool(1, {true, 9000, 20, 3});
    ErrorCode error = 0;
    ASSERT_TRUE(world.Link.Open(1, error));
    EXPECT_TRUE(world.Link.ReplyAvailable());

    world.Link.Service(false);
    EXPECT_TRUE(world.Link.Send(DeviceRequest{1, RequestCode::ToolRead, 0, 0, 0, 0}, error));
    world.Link.Service(false);
    DeviceReply reply{};
    EXPECT_TRUE(world.Link.Receive(reply, error));
    EXPECT_EQ(reply, (DeviceReply{1, 0x81, 3, 20, 0x28, 0x23}));
    EXPECT_TRUE(world.Link.FieldbusInputsValid());

    EXPECT_TRUE(world.Link.Close(1, error));
    EXPECT_FALSE(world.BusMaster.IsOpen());
}

TEST(DeviceLink, FieldbusReceiveRightAfterOpenGivesWhatTheInputsHold) {
    test::LinkWorld world(CommMode::Fieldbus);
    ErrorCode error = 0;
    ASSERT_TRUE(world.Link.Open(1, error));
    DeviceReply reply{1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(world.Link.Receive(reply, error));
    EXPECT_EQ(reply, DeviceReply{}); // nothing exchanged yet
    EXPECT_FALSE(world.Link.FieldbusInputsValid());
}

TEST(DeviceLink, SettingsNotReadYetTakeTheFieldbusPath) {
    test::LinkWorld world(CommMode::Unset);
    ErrorCode error = 0;
    EXPECT_TRUE(world.Link.Open(1, error));
    EXPECT_TRUE(world.BusMaster.IsOpen());
    EXPECT_FALSE(world.Serial.IsOpen());
}

TEST(DeviceLink, FieldbusOpenFailureIsPassedUp) {
    test::LinkWorld world(CommMode::Fieldbus);
    world.BusMaster.SetOpenResult(0x12345);
    ErrorCode error = 0;
    EXPECT_FALSE(world.Link.Open(1, error));
    EXPECT_EQ(error, 0x12345u) << "the whole result: its low 16 bits alone could be 0";
}

TEST(DeviceLink, OutputRecordCarriesSlaveParametersAndTheRequest) {
    test::LinkWorld world(CommMode::Fieldbus);
    ErrorCode error = 0;
    ASSERT_TRUE(world.Link.Open(1, error));
    const auto& out = world.Fieldbus.OutputRecord;
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 7),
              (std::vector<uint8_t>{0x80, 0x10, 0x10, 0x37, 0, 0, 0}));
    world.Link.Send(DeviceRequest{9, 8, 7, 6, 5, 4}, error);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 514, out.begin() + 520),
              (std::vector<uint8_t>{9, 8, 7, 6, 5, 4}));
}

TEST(DeviceLink, RepeatResendsExactlyTheLastRequest) {
    test::PtyPair pty;
    test::LinkWorld world(CommMode::Serial);
    ASSERT_TRUE(world.OpenSerial(pty.SlavePath()));
    ErrorCode error = 0;
    const DeviceRequest request{32, RequestCode::ParameterRead, 0x84, 0, 0, 0};
    world.Link.Send(request, error);
    const auto first = pty.Read(FrameLength, 2s);
    EXPECT_EQ(first, V24_BuildFrame(request));
    EXPECT_EQ(world.Link.Service(true), 0u);
    EXPECT_EQ(pty.Read(FrameLength, 2s), first);
    EXPECT_EQ(world.Link.LastRequest, request);
    // Without the repeat flag nothing goes out on the serial line.
    world.Link.Service(false);
    EXPECT_TRUE(pty.Read(1, 100ms).empty());
}

TEST(DeviceLink, StatusRequestIsAllZero) {
    test::PtyPair pty;
    test::LinkWorld world(CommMode::Serial);
    ASSERT_TRUE(world.OpenSerial(pty.SlavePath()));
    ErrorCode error = 0;
    EXPECT_TRUE(world.Link.RequestStatus(error));
    EXPECT_EQ(pty.Read(FrameLength, 2s), V24_BuildFrame(DeviceMessage{}));
    EXPECT_EQ(world.Link.LastRequest, DeviceRequest{});
}

} // namespace
} // namespace vg
