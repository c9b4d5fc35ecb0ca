#include "cli/StatusCommands.h"

#include "cli/Vgctl.h"
#include "config/FileTestSupport.h"
#include "sim/SimSerialServer.h"
#include "support/ChildProcess.h"
#include "support/DriverLibraries.h"
#include "support/LockingProcess.h"
#include "support/OtherUser.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vg::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The simulated unit on a pseudo-terminal inside the test process; its scanner moves on a
// clock the test advances.
struct SerialUnit {
    SerialUnit() {
        std::string why;
        if (!Server.Open(why)) {
            throw std::runtime_error(why);
        }
        Server.Start();
    }
    const Clock::time_point Base = Clock::now();
    std::atomic<int64_t> Seconds{0};
    sim::SimUnit Unit{[this] {
        return Base + std::chrono::seconds(Seconds.load());
    }};
    sim::SimSerialServer Server{Unit};
};

struct Run {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

Run Vgctl(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Run run;
    run.Exit = RunVgctl(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

TEST(VgctlStatus, PrintsTheStatusBarFieldByField) {
    test::TempDir dir;
    SerialUnit unit;
    unit.Unit.SetCurrentTool(12);
    unit.Unit.SetErrorBits(0x48);
    unit.Unit.SetObjectAngle(4550);
    unit.Unit.HandleRequest(DeviceRequest{0, RequestCode::Start, 1, 20, 0xC6, 0x11});
    unit.Seconds = 10; // long arrived
    const auto run =
        Vgctl({"--dir", dir.ProgramDir(), "--port", unit.Server.DevicePath(), "status"});
    EXPECT_EQ(run.Exit, ExitSuccess) << run.Err;
    // The start ends at 45.50 with the object within tolerance: Out1.
    EXPECT_EQ(run.Out, "Online: yes\n"
                       "Tool: 12\n"
                       "Message: ERROR! Wand!\n"
                       "Out1: on\n"
                       "Out2: off\n"
                       "Scanner: (none)\n"
                       "MeasA.: 45.50\n"
                       "Id: --------\n");
}

TEST(VgctlStatus, SimulatedReachesTheBuiltInUnitAndSaysSo) {
    test::TempDir dir;
    const auto run = Vgctl({"--dir", dir.ProgramDir(), "--simulated", "status"});
    EXPECT_EQ(run.Exit, ExitSuccess) << run.Err;
    EXPECT_NE(run.Out.find("Online: yes\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Scanner: Zero-Pos.\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Id: --------\nUnit: simulated\n"), std::string::npos) << run.Out;
}

// The unit behind a driver library, named on the command line or in Konfig.Cfg, is shown as
// it is: no mark of the simulated unit.
TEST(VgctlStatus, ADriverLibraryShowsItsUnit) {
    test::TempDir dir;
    const std::string driver = test::DriverLibrary("vgdp-fake-slave");
    const std::string expected = "Online: yes\n"
                                 "Tool: 7\n"
                                 "Message: ERROR! Control Unit!\n"
                                 "Out1: on\n"
                                 "Out2: off\n"
                                 "Scanner: Scanning\n"
                                 "MeasA.: 123.45\n"
                                 "Id: --------\n";
    const auto given = Vgctl({"--dir", dir.ProgramDir(), "--fieldbus-driver", driver, "status"});
    EXPECT_EQ(given.Exit, ExitSuccess) << given.Err;
    EXPECT_EQ(given.Out, expected);

    test::WriteBytes(dir / "Konfig.Cfg", "A:50\r\nC:1\r\nM:1\r\nD:" + driver + "\r\n");
    const auto configured = Vgctl({"--dir", dir.ProgramDir(), "status"});
    EXPECT_EQ(configured.Exit, ExitSuccess) << configured.Err;
    EXPECT_EQ(configured.Out, expected);
}

// The example driver of the documentation, named by a path relative to Konfig.Cfg's folder.
TEST(VgctlStatus, TheExampleDriverAnswersFromAFolderBesideTheSettings) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "drivers");
    std::filesystem::copy_file(test::DriverLibrary("vgdp-example"),
                               dir / "drivers" / "libvgdp-example.so");
    test::WriteBytes(dir / "Konfig.Cfg", "D:drivers/libvgdp-example.so\r\n");
    const auto run = Vgctl({"--dir", dir.ProgramDir(), "status"});
    EXPECT_EQ(run.Exit, ExitSuccess) << run.Err;
    EXPECT_EQ(run.Out, "Online: yes\n"
                       "Tool: 0\n"
                       "Message: (none)\n"
                       "Out1: off\n"
                       "Out2: off\n"
                       "Scanner: Zero-Pos.\n"
                       "MeasA.: 0.00\n"
                       "Id: --------\n");
}

// A driver that cannot be used is never stood in for by the simulated unit: vgctl ends at
// once, naming the library and what is wrong with it.
TEST(VgctlStatus, ADriverThatCannotBeLoadedFailsNamingItAndWhy) {
    test::TempDir dir;
    const struct {
        std::string Path;
        std::string Reason;
    } cases[] = {
        {(dir / "libnone.so").string(),
         "cannot open shared object file: No such file or directory"},
        {test::DriverLibrary("vgdp-fake-no-read-inputs"), "undefined symbol: vgdp_read_inputs"},
        {test::DriverLibrary("vgdp-fake-abi2"),
         "built for interface version 2, this program takes version 1"},
    };
    for (const auto& c : cases) {
        const auto began = Clock::now();
        const auto run = Vgctl({"--dir", dir.ProgramDir(), "--fieldbus-driver", c.Path, "status"});
        EXPECT_EQ(run.Exit, ExitFailure);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Init Communication failed! ErrorCode=C010H\n"
                           "Port is not available or occupied by another process.\n"
                           "Fieldbus driver " +
                               c.Path + ": " + c.Reason + "\n");
        EXPECT_LT(Clock::now() - began, std::chrono::milliseconds(AnswerWaitMilliseconds))
            << "it waited for an answer that cannot come";
    }
}

TEST(VgctlStatus, SilentUnitIsReportedAfterAFewSeconds) {
    test::TempDir dir;
    SerialUnit unit;
    unit.Unit.SetSilent(true);
    const auto began = Clock::now();
    const auto run =
        Vgctl({"--dir", dir.ProgramDir(), "--port", unit.Server.DevicePath(), "status"});
    EXPECT_EQ(run.Exit, ExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "vgctl: the unit does not answer\n");
    EXPECT_GE(Clock::now() - began, std::chrono::milliseconds(AnswerWaitMilliseconds));
    // Requests kept going out while it waited (every second tick of 120 ms).
    EXPECT_GE(unit.Unit.RequestsReceived().size(), 8u);
}

TEST(VgctlStatus, AbsentPortFailsWithTheStartUpMessage) {
    test::TempDir dir;
    const auto run =
        Vgctl({"--dir", dir.ProgramDir(), "--port", (dir / "ttyNone").string(), "status"});
    EXPECT_EQ(run.Exit, ExitFailure);
    EXPECT_EQ(run.Err, "Init Communication failed! ErrorCode=C001H\n"
                       "Port is not available or occupied by another process.\n"
                       "Device " +
                           (dir / "ttyNone").string() +
                           ": No such file or directory\n"
                           "It is not there: is the adapter plugged in?\n");
}

std::string OwnProgramName() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// Below the two lines of the start-up message: the device, the system's reason and what to
// do about it. The exit status stays 1.
TEST(VgctlStatus, APortThatWillNotOpenSaysWhy) {
    test::PtyPair pty;
    const std::string device = pty.SlavePath();
    const std::string head = "Init Communication failed! ErrorCode=C001H\n"
                             "Port is not available or occupied by another process.\n";
    {
        test::LockingProcess holder(device);
        test::TempDir dir;
        const auto run = Vgctl({"--dir", dir.ProgramDir(), "--port", device, "status"});
        EXPECT_EQ(run.Exit, ExitFailure);
        EXPECT_EQ(run.Err, head + "Device " + device +
                               ": Device or resource busy\nIt is in use by another program: " +
                               OwnProgramName() + " (process " + std::to_string(holder.Pid()) +
                               ").\n");
    }
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "the permission case needs another user";
    }
    const group* dialout = getgrnam("dialout");
    const gid_t gid = dialout != nullptr ? dialout->gr_gid : 0;
    const std::string groupName = getgrgid(gid)->gr_name;
    ASSERT_EQ(chown(device.c_str(), 0, gid), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);
    test::TempDir dir("/tmp");
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    const std::string expected =
        head + "Device " + device + ": Permission denied\nMembers of group " + groupName +
        " may open it: sudo usermod -aG " + groupName + " $USER, then log in again.\n";
    EXPECT_EQ(test::RunAsNobody([&] {
                  const auto run = Vgctl({"--dir", dir.ProgramDir(), "--port", device, "status"});
                  return run.Exit != ExitFailure ? 1 : run.Err != expected ? 2 : 0;
              }),
              0);
}

// vgctl as a separate process whose output lines (both streams) the test reads as they come.
class VgctlProcess {
public:
    explicit VgctlProcess(const std::vector<std::string>& args) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        Pid = test::SpawnBuiltProgram("vgctl", args, -1, out[1], out[1]);
        close(out[1]);
        Out = out[0];
    }
    ~VgctlProcess() {
        Stop(SIGKILL);
        close(Out);
    }
    VgctlProcess(const VgctlProcess&) = delete;
    VgctlProcess& operator=(const VgctlProcess&) = delete;

    // Reads lines until one satisfies `wanted` or the deadline passes; that line, or "".
    template <typename Predicate>
    std::string WaitForLine(Predicate wanted, std::chrono::milliseconds timeout = 10s) {
        const auto deadline = Clock::now() + timeout;
        while (true) {
            for (auto end = Pending.find('\n'); end != std::string::npos;
                 end = Pending.find('\n')) {
                std::string line = Pending.substr(0, end);
                Pending.erase(0, end + 1);
                Lines.push_back(line);
                if (wanted(line)) {
                    return line;
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd fd{Out, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                return {};
            }
            char buffer[512];
            const ssize_t n = read(Out, buffer, sizeof buffer);
            if (n <= 0) {
                return {};
            }
            Pending.append(buffer, static_cast<size_t>(n));
        }
    }

    // Sends `signal` and waits; the exit status, or -1 when it did not exit normally.
    int Stop(int signal = SIGTERM) {
        if (Pid <= 0) {
            return -1;
        }
        kill(Pid, signal);
        const int status = test::WaitForExit(Pid);
        Pid = -1;
        return status;
    }

    bool StillRunning() {
        int status = 0;
        return Pid > 0 && waitpid(Pid, &status, WNOHANG) == 0;
    }

    // Sends `signal`; true when the process has ended within `limit` (in any way).
    bool EndsWithin(int signal, std::chrono::milliseconds limit) {
        kill(Pid, signal);
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            int status = 0;
            if (waitpid(Pid, &status, WNOHANG) == Pid) {
                Pid = -1;
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    std::vector<std::string> Lines;

private:
    pid_t Pid = -1;
    int Out = -1;
    std::string Pending;
};

bool Has(const std::string& line, const std::string& part) {
    return line.find(part) != std::string::npos;
}

// The angle of a watch line in hundredths; -1 when it shows none.
int AngleOf(const std::string& line) {
    const std::string key = "MeasA.: ";
    const auto at = line.find(key);
    if (at == std::string::npos) {
        return -1;
    }
    const std::string text =
        line.substr(at + key.size(), line.find(' ', at + key.size()) - at - key.size());
    const auto dot = text.find('.');
    if (dot == std::string::npos) {
        return -1;
    }
    return std::stoi(text.substr(0, dot)) * 100 + std::stoi(text.substr(dot + 1));
}

TEST(VgctlWatch, FollowsAMotionOfTheSimulatorAndALossUntilTerminated) {
    test::TempDir dir;
    test::SimProcess sim({"--speed", "30"});
    VgctlProcess watch({"--dir", dir.ProgramDir(), "--port", sim.DevicePath(), "watch"});
    const auto atRest = [](const std::string& l) {
        return Has(l, "Online |") && Has(l, "Zero-Pos.") && AngleOf(l) == 0;
    };
    ASSERT_NE(watch.WaitForLine(atRest), "");

    sim.Command("goto 45");
    ASSERT_NE(watch.WaitForLine([](const std::string& l) { return Has(l, "Scanning"); }), "");
    const std::string between = watch.WaitForLine([](const std::string& l) {
        return Has(l, "Scanning") && AngleOf(l) > 0 && AngleOf(l) < 4500;
    });
    EXPECT_NE(between, "");
    const std::string arrived = watch.WaitForLine(
        [](const std::string& l) { return !Has(l, "Scanning") && AngleOf(l) == 4500; });
    EXPECT_TRUE(Has(arrived, "Scanner: (none)")) << arrived;

    sim.Command("goback");
    ASSERT_NE(watch.WaitForLine(atRest), "");

    sim.Command("silent on");
    const std::string lost =
        watch.WaitForLine([](const std::string& l) { return Has(l, "Offline"); });
    EXPECT_EQ(lost, "Offline | Tool: - | Out1: off | Out2: off | Scanner: ----- | MeasA.: ----- "
                    "| Message: (none)");
    sim.Command("silent off");
    ASSERT_NE(watch.WaitForLine(atRest), "");

    // Every line is a change from the one before.
    for (size_t i = 1; i < watch.Lines.size(); ++i) {
        EXPECT_NE(watch.Lines[i], watch.Lines[i - 1]);
    }
    EXPECT_EQ(watch.Stop(SIGTERM), ExitSuccess);
}

// The unit's terminal comes and goes under one name, as an adapter's stable name does. Watch
// tells once that the port is not there, then follows the unit each time it comes back.
TEST(VgctlWatch, WaitsForThePortAndComesBackOnlineAfterEachUnplug) {
    test::TempDir dir;
    const std::string name = (dir / "unit").string();
    VgctlProcess watch({"--dir", dir.ProgramDir(), "--port", name, "watch"});
    ASSERT_NE(watch.WaitForLine([](const std::string& l) { return Has(l, "is not there"); }), "");
    const auto online = [](const std::string& l) {
        return Has(l, "Online |");
    };
    auto sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--link", name});
    ASSERT_NE(watch.WaitForLine(online), "");

    sim.reset(); // unplugged
    ASSERT_NE(watch.WaitForLine([](const std::string& l) { return Has(l, "Offline |"); }), "");
    sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--link", name});
    // The poll finds it within two offline ticks; the bound leaves room for a busy machine.
    ASSERT_NE(watch.WaitForLine(online), "");

    EXPECT_EQ(std::count_if(watch.Lines.begin(), watch.Lines.end(),
                            [](const std::string& l) { return Has(l, "Init Communication"); }),
              1);
    EXPECT_EQ(watch.Stop(SIGTERM), ExitSuccess);
}

TEST(VgctlWatch, TheBuiltInUnitIsMarkedSimulated) {
    test::TempDir dir;
    VgctlProcess watch({"--dir", dir.ProgramDir(), "--simulated", "watch"});
    const std::string line =
        watch.WaitForLine([](const std::string& l) { return Has(l, "Online"); });
    EXPECT_EQ(line.substr(line.rfind(" | ")), " | Unit: simulated") << line;
    EXPECT_EQ(watch.Stop(SIGTERM), ExitSuccess);
}

// A watch runs for hours: a trace that stops being written is said when it happens, and the
// watch goes on.
TEST(VgctlWatch, ATraceThatCannotBeWrittenIsSaidAtOnceAndTheWatchGoesOn) {
    test::TempDir dir;
    VgctlProcess watch({"--dir", dir.ProgramDir(), "--simulated", "--trace", "/dev/full", "watch"});
    EXPECT_EQ(watch.WaitForLine([](const std::string& l) { return Has(l, "trace"); }, 5s),
              "vgctl: the trace is incomplete: /dev/full: No space left on device");
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(watch.StillRunning()) << "the watch goes on";
    EXPECT_EQ(watch.Stop(SIGTERM), ExitFailure) << "the trace has a hole";
    EXPECT_EQ(std::count_if(watch.Lines.begin(), watch.Lines.end(),
                            [](const std::string& l) { return Has(l, "trace"); }),
              1)
        << "said once";
}

// The driver's own thread ends only with its close: unloaded under it, the library took
// vgctl down after it had printed its result.
TEST(VgctlDriver, AMasterWhoseSlaveWillNotGoIsClosedBeforeTheLibraryIsUnloaded) {
    test::TempDir dir;
    const std::string log = (dir / "calls").string();
    setenv("VGDP_FAKE_LOG", log.c_str(), 1);
    constexpr int Runs = 5;
    for (int run = 0; run < Runs; ++run) {
        VgctlProcess status({"--dir", dir.ProgramDir(), "--fieldbus-driver",
                             test::DriverLibrary("vgdp-fake-remove-fails"), "status"});
        EXPECT_NE(status.WaitForLine([](const std::string& l) { return l == "Online: yes"; }), "");
        EXPECT_EQ(status.WaitForLine([](const std::string& l) { return Has(l, "close"); }),
                  "vgctl: the fieldbus driver did not close cleanly: ErrorCode=55H");
        EXPECT_EQ(status.Stop(0), ExitSuccess) << "ended normally, not by a crash";
    }
    unsetenv("VGDP_FAKE_LOG");
    std::ifstream calls(log);
    int opened = 0, closed = 0;
    for (std::string line; std::getline(calls, line);) {
        opened += line == "open 0" ? 1 : 0;
        closed += line == "close 0" ? 1 : 0;
    }
    EXPECT_EQ(opened, Runs);
    EXPECT_EQ(closed, Runs);
}

// Only SIGKILL used to end a status or a watch whose driver call hangs.
TEST(VgctlDriver, ATerminationSignalEndsVgctlWithinASecondWhateverTheDriverDoes) {
    test::TempDir dir;
    for (const int signal : {SIGINT, SIGTERM}) {
        for (const char* command : {"status", "watch"}) {
            VgctlProcess run({"--dir", dir.ProgramDir(), "--fieldbus-driver",
                              test::DriverLibrary("vgdp-fake-hangs"), command});
            std::this_thread::sleep_for(300ms); // the driver's read has begun
            EXPECT_TRUE(run.EndsWithin(signal, 1s)) << command << " " << signal;
        }
    }
}

} // namespace
} // namespace vg::cli
