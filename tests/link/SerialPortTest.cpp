#include "link/SerialPort.h"

#include "link/FrameCodec.h"
#include "link/ReceiveSlot.h"
#include "support/LockingProcess.h"
#include "support/OtherUser.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The unit's line as the link layer opens it.
bool OpenLine(SerialPort& port, int16_t number, ErrorCode& error) {
    return port.V24_Open(number, 8, 8, 0, 4, 0, error);
}

class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest() { Port.DeviceOverride = Pty.SlavePath(); }

    bool ReadFrameFromSlot(DeviceMessage& payload, ErrorCode& error) {
        if (!Slot.WaitForReply(Clock::now() + 2s)) {
            return false;
        }
        uint32_t count = 0;
        Slot.V24_ReadFrame(payload, count, error);
        return true;
    }

    test::PtyPair Pty;
    ReceiveSlot Slot;
    SerialPort Port{Slot};
};

TEST_F(SerialPortTest, PortNumbersOutsideOneToSixAreRefusedWithoutOpening) {
    test::TempDir dir;
    SerialPort fresh{Slot};
    fresh.LinkDir = dir.ProgramDir();
    ErrorCode error = 0;
    // Were a device tried, /dev/ttyS-1 or a missing COM7 would fail with 0xC001 instead.
    EXPECT_FALSE(OpenLine(fresh, 0, error));
    EXPECT_EQ(error, V24_ERR_PARAM);
    EXPECT_FALSE(OpenLine(fresh, 7, error));
    EXPECT_EQ(error, V24_ERR_PARAM);
    EXPECT_FALSE(fresh.V24_Close(7, error));
    EXPECT_EQ(error, V24_ERR_PARAM);
}

TEST_F(SerialPortTest, ComPortResolvesToALinkInTheProgramDirectoryFirst) {
    test::TempDir dir;
    std::filesystem::create_symlink(Pty.SlavePath(), dir / "COM3");
    SerialPort port{Slot};
    port.LinkDir = dir.ProgramDir();
    EXPECT_EQ(port.ResolveDevice(3), dir.ProgramDir() + "COM3");
    EXPECT_EQ(port.ResolveDevice(2), "/dev/ttyS1");
    ErrorCode error = 0;
    EXPECT_TRUE(OpenLine(port, 3, error));
    EXPECT_EQ(port.OpenPort(), 3);
}

// After a replug the unit's adapter is back under its link; the fallback ttyS port is some
// other device, and a program that opened it stayed there, offline, for good.
TEST_F(SerialPortTest, APortOpenedThroughALinkIsOpenedAgainOnlyThroughIt) {
    test::TempDir dir;
    test::PtyPair other;
    std::filesystem::create_directory(dir / "dev");
    std::filesystem::create_symlink(other.SlavePath(), dir / "dev" / "ttyS0");
    std::filesystem::create_symlink(Pty.SlavePath(), dir / "COM1");
    SerialPort port{Slot};
    port.LinkDir = dir.ProgramDir();
    port.DevDir = (dir / "dev").string() + "/";
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(port, 1, error));
    ASSERT_TRUE(port.V24_Close(1, error));

    std::filesystem::remove(dir / "COM1"); // the adapter went, and its link with it
    EXPECT_FALSE(OpenLine(port, 1, error));
    EXPECT_EQ(error, V24_ERR_OPEN);
    EXPECT_EQ(port.LastOpenFailure().Path, dir.ProgramDir() + "COM1");

    std::filesystem::create_symlink(Pty.SlavePath(), dir / "COM1"); // and came back
    EXPECT_TRUE(OpenLine(port, 1, error));
    EXPECT_TRUE(port.V24_Close(1, error));

    // A port that had no link when it was opened keeps its fallback.
    std::filesystem::create_symlink(other.SlavePath(), dir / "dev" / "ttyS1");
    EXPECT_TRUE(OpenLine(port, 2, error));
    EXPECT_EQ(port.ResolveDevice(2), port.DevDir + "ttyS1");
    EXPECT_TRUE(port.V24_Close(2, error));
    EXPECT_TRUE(OpenLine(port, 2, error));
}

TEST_F(SerialPortTest, AMissingDeviceFailsToOpen) {
    test::TempDir dir;
    Port.DeviceOverride = (dir / "ttyNone").string();
    ErrorCode error = 0;
    EXPECT_FALSE(OpenLine(Port, 1, error));
    EXPECT_EQ(error, V24_ERR_OPEN);
}

TEST_F(SerialPortTest, APortHeldByAnotherProcessFailsToOpen) {
    test::LockingProcess holder(Pty.SlavePath());
    ErrorCode error = 0;
    EXPECT_FALSE(OpenLine(Port, 1, error));
    EXPECT_EQ(error, V24_ERR_OPEN);

    holder.Stop();
    EXPECT_TRUE(OpenLine(Port, 1, error));
}

TEST_F(SerialPortTest, SecondCloseReportsNotOpen) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    EXPECT_TRUE(Port.V24_Close(1, error));
    EXPECT_FALSE(Port.V24_Close(1, error));
    EXPECT_EQ(error, V24_ERR_NOT_OPEN);
}

TEST_F(SerialPortTest, TheTerminalIsNoLongerExclusiveAfterClose) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    ASSERT_TRUE(Port.V24_Close(1, error));
    const int observer = open(Pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    int exclusive = -1;
    ASSERT_EQ(ioctl(observer, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    close(observer);
    if (test::CanActAsOtherUser()) {
        // What the user sees: the next program run by someone else opens the port.
        ASSERT_EQ(chmod(Pty.SlavePath().c_str(), 0666), 0);
        const std::string path = Pty.SlavePath();
        EXPECT_EQ(test::RunAsNobody([&] {
                      const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
                      return fd >= 0 && close(fd) == 0 ? 0 : 1;
                  }),
                  0);
    }
}

TEST_F(SerialPortTest, LineSettingsFoundAtOpenAreBackAfterClose) {
    const int observer = open(Pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    termios before{};
    tcgetattr(observer, &before);
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_lflag |= ICANON | ECHO;
    tcsetattr(observer, TCSANOW, &before);

    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    termios during{};
    tcgetattr(observer, &during);
    EXPECT_EQ(cfgetospeed(&during), static_cast<speed_t>(B19200));
    EXPECT_EQ(during.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(during.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u);

    ASSERT_TRUE(Port.V24_Close(1, error));
    termios after{};
    tcgetattr(observer, &after);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
    close(observer);
}

TEST_F(SerialPortTest, SentRequestIsOneFrameOnTheLine) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    const DeviceMessage request{0x20, 0x81, 0x80, 0, 0, 0};
    EXPECT_TRUE(Port.V24_SendFrame(request.data(), request.size(), error));
    EXPECT_EQ(Pty.Read(FrameLength, 2s), V24_BuildFrame(request));
}

TEST_F(SerialPortTest, ReceiverHandsAFrameToTheSlot) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    Port.StartReceiver();
    EXPECT_TRUE(Port.ReceiverRunning());
    // Bytes dribbling in: the frame is handed over once its end byte is there.
    const auto frame = V24_BuildFrame(DeviceMessage{5, 0x0A, 0, 0x41, 0x28, 0x23});
    Pty.Write({frame.begin(), frame.begin() + 7});
    Pty.Write({frame.begin() + 7, frame.end()});
    DeviceMessage payload{};
    ASSERT_TRUE(ReadFrameFromSlot(payload, error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(payload, (DeviceMessage{5, 0x0A, 0, 0x41, 0x28, 0x23}));
}

TEST_F(SerialPortTest, NoiseBeforeAFrameIsDroppedAndTheFrameTaken) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    Port.StartReceiver();
    const DeviceMessage reply{5, 0x81, 0, 0, 2, 0};
    const auto frame = V24_BuildFrame(reply);
    // Noise alone, noise holding a start byte, and noise read together with the frame.
    Pty.Write({0x33, 0xF0, 0x01, 0x7E});
    Pty.Write({0x41, 0x01, 0x42});
    std::vector<uint8_t> noisy(frame.size() + 2);
    noisy[0] = 0xAA;
    noisy[1] = 0x55;
    std::copy(frame.begin(), frame.end(), noisy.begin() + 2);
    Pty.Write(noisy);
    DeviceMessage payload{};
    ASSERT_TRUE(ReadFrameFromSlot(payload, error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(payload, reply);
}

TEST_F(SerialPortTest, TwoFramesArrivingTogetherAreRejected) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    auto both = V24_BuildFrame(DeviceMessage{});
    const auto second = V24_BuildFrame(DeviceMessage{1, 2, 3, 4, 5, 6});
    both.insert(both.end(), second.begin(), second.end());
    Pty.Write(both); // both in the driver before the thread reads
    Port.StartReceiver();
    DeviceMessage payload{};
    ASSERT_TRUE(ReadFrameFromSlot(payload, error));
    EXPECT_EQ(error, V24_ERR_CHECKSUM);
}

TEST_F(SerialPortTest, ABurstLongerThanTheSlotGivesAnErrorAndTheLinkGoesOn) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    Port.StartReceiver();
    Pty.Write(std::vector<uint8_t>(200, 'A'));
    DeviceMessage payload{};
    ASSERT_TRUE(ReadFrameFromSlot(payload, error));
    EXPECT_EQ(error, V24_ERR_FRAME);
    // Whatever of the burst is still on its way is taken and rejected too; then a good frame
    // comes through.
    const DeviceMessage good{7, 0, 0, 0, 0, 0};
    const auto frame = V24_BuildFrame(good);
    for (int attempt = 0; attempt < 5 && payload != good; ++attempt) {
        Pty.Write(frame);
        ASSERT_TRUE(ReadFrameFromSlot(payload, error));
    }
    EXPECT_EQ(payload, good);
}

TEST_F(SerialPortTest, StopSequenceEndsAReceiverThatNeverGotAByte) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    Port.StartReceiver();
    ASSERT_TRUE(Port.ReceiverRunning());
    Port.StopReceiver();
    EXPECT_FALSE(Port.ReceiverExists());
    EXPECT_TRUE(Port.V24_Close(1, error));
}

TEST_F(SerialPortTest, ReceiverOfAClosedPortStaysSuspended) {
    Port.StartReceiver();
    EXPECT_TRUE(Port.ReceiverExists());
    EXPECT_FALSE(Port.ReceiverRunning());
    Port.StopReceiver();
    EXPECT_FALSE(Port.ReceiverExists());
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(SerialPortTest, ADeviceThatGoesAwayIsReportedWithoutSpinning) {
    ErrorCode error = 0;
    ASSERT_TRUE(OpenLine(Port, 1, error));
    Port.StartReceiver();
    Pty.CloseMaster(); // the adapter is unplugged

    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = Clock::now();
    DeviceMessage payload{};
    uint32_t count = 0;
    error = 0;
    while (error != V24_ERR_READ && Clock::now() - wallBefore < 5s) {
        std::this_thread::sleep_for(20ms);
        Slot.V24_ReadFrame(payload, count, error);
    }
    EXPECT_EQ(error, V24_ERR_READ);
    std::this_thread::sleep_for(1s);
    const double cpuUsed = ProcessCpuSeconds() - cpuBefore;
    // A spinning thread would burn about as much processor time as the wall time passed.
    EXPECT_LT(cpuUsed, 0.3) << "receive thread spins on a hung-up port";

    const auto stopBegan = Clock::now();
    Port.StopReceiver();
    EXPECT_LT(Clock::now() - stopBegan, 1s);
}

} // namespace
} // namespace vg
