// vgconfig as a separate process, ended by a signal while it holds the serial port.

#include "support/ChildProcess.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vg {
namespace {

using namespace std::chrono_literals;

// Whether the terminal is in exclusive mode; -1 when it cannot be asked.
int ExclusiveMode(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int exclusive = -1;
    if (fd >= 0 && ioctl(fd, TIOCGEXCL, &exclusive) != 0) {
        exclusive = -1;
    }
    if (fd >= 0) {
        close(fd);
    }
    return exclusive;
}

// Killed, the windows used to leave the terminal exclusive while the unit's end was held:
// every later open failed, blaming the program at the other end.
TEST(ProgramSignal, EveryTerminationSignalGivesThePortBack) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A copy of the program in a folder of its own, which then keeps its settings there.
        test::TempDir dir;
        const std::string program = (dir / "vgconfig").string();
        std::filesystem::copy_file(std::string(VG_BIN_DIR) + "/vgconfig", program);
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        std::ofstream(dir / "Konfig.Cfg") << "A:50\r\nC:1\r\nM:2\r\n";
        test::SimProcess sim({"--link", (dir / "COM1").string()});
        ASSERT_EQ(ExclusiveMode(sim.DevicePath()), 0);

        const pid_t pid = test::SpawnProgram({program}, -1, -1, -1);
        ASSERT_GT(pid, 0);
        int exclusive = 0;
        for (int i = 0; i < 200 && exclusive != 1; ++i) {
            std::this_thread::sleep_for(50ms);
            exclusive = ExclusiveMode(sim.DevicePath());
        }
        ASSERT_EQ(exclusive, 1) << "the program did not open the port";
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "ends as the signal ends a program: " << status;
        EXPECT_EQ(ExclusiveMode(sim.DevicePath()), 0) << "signal " << signal;
    }
}

} // namespace
} // namespace vg
