#include "support/ChildProcess.h"
#include "support/MosquittoBroker.h"
#include "support/SimProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vg {
namespace {

using namespace std::chrono_literals;
using test::MosquittoBroker;
using test::SimProcess;
using test::TempDir;
using test::TopicRecorder;

const std::string SimDriver = std::string(VG_LIB_DIR) + "/libvgdp-sim.so";

// The JSON of a recorded line "topic {...}".
QJsonObject Payload(const std::string& line) {
    const size_t space = line.find(' ');
    return QJsonDocument::fromJson(QByteArray::fromStdString(line.substr(space + 1))).object();
}

// vg-gateway as a child process with its output in a file.
class GatewayProcess {
public:
    GatewayProcess(const std::vector<std::string>& args, const std::filesystem::path& log) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        Pid = test::SpawnBuiltProgram("vg-gateway", args, -1, out, out);
        close(out);
    }
    ~GatewayProcess() {
        if (Pid > 0) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
    }
    GatewayProcess(const GatewayProcess&) = delete;
    GatewayProcess& operator=(const GatewayProcess&) = delete;

    void Signal(int signal) const { kill(Pid, signal); }
    // The exit status after `signal`, or -1 when it ended otherwise.
    int EndWith(int signal) {
        kill(Pid, signal);
        const int status = test::WaitForExit(Pid);
        Pid = -1;
        return status;
    }

private:
    pid_t Pid = -1;
};

class GatewayProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Broker.Start()); }

    std::string Config(const std::string& units) {
        const std::string path = (Dir / "gateway.conf").string();
        std::ofstream(path) << "[broker]\nhost = 127.0.0.1\nport = " << Broker.Port()
                            << "\nclient-id = hall3\n\n"
                            << units;
        return path;
    }
    std::string SerialUnit(const std::string& name, const SimProcess& sim) {
        return "[unit " + name + "]\nport = " + sim.DevicePath() + "\n";
    }
    std::string FieldbusUnit(const std::string& name) {
        return "[unit " + name + "]\nfieldbus-driver = " + SimDriver + "\n";
    }
    std::unique_ptr<GatewayProcess> StartGateway(const std::string& config) {
        return std::make_unique<GatewayProcess>(
            std::vector<std::string>{"--config", config, "--state-dir", State()},
            Dir / "gateway.log");
    }
    std::string State() const { return (Dir / "state").string(); }
    std::string Log() const {
        std::ifstream in(Dir / "gateway.log");
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TempDir Dir;
    MosquittoBroker Broker;
};

TEST_F(GatewayProgramTest, PublishesStatusEventsAndBackupsOfSerialAndFieldbusUnits) {
    SimProcess press({"--demo-tools", "--cu-id", "12345678"});
    TopicRecorder recorder(Broker.Port(), "vigilo/#");
    auto gateway = StartGateway(Config(SerialUnit("press-7", press) + FieldbusUnit("mill-2")));

    EXPECT_NE(recorder.WaitFor("vigilo/gateway/hall3 online"), "") << Log();
    EXPECT_NE(recorder.WaitFor("vigilo/mill-2/event {\"kind\":\"online\""), "") << Log();
    const std::string config = recorder.WaitFor("vigilo/press-7/config ", 30s);
    ASSERT_NE(config, "") << Log();
    const QJsonObject backup = Payload(config);
    EXPECT_EQ(backup["tools"].toInt(), 5);
    EXPECT_TRUE(std::filesystem::exists(backup["file"].toString().toStdString()));
    EXPECT_EQ(backup["sha256"].toString().size(), 64);

    // The identifier read with the backup comes with the status.
    const QJsonObject status = Payload(recorder.WaitFor("\"id\":\"12345678\""));
    EXPECT_TRUE(status["online"].toBool());
    EXPECT_EQ(status["scanner"].toString(), "Zero-Pos.");
    press.Command("error 0x40");
    press.Command("tool 9");
    EXPECT_NE(recorder.WaitFor("vigilo/press-7/event {\"kind\":\"message\",\"text\":\"ERROR! "
                               "Selected Tool not programmed!\""),
              "");
    const QJsonObject rejected = Payload(recorder.WaitFor("\"tool\":9"));
    EXPECT_EQ(rejected["code"].toInt(), 0x40);
    EXPECT_EQ(rejected["message"].toString(), "ERROR! Selected Tool not programmed!");

    // A changed configuration, backed up on request, is told with its differences.
    press.Command("set 3:46.5:2:2");
    ASSERT_EQ(
        test::WaitForExit(test::SpawnProgram({"mosquitto_pub", "-p", std::to_string(Broker.Port()),
                                              "-t", "vigilo/press-7/backup/set", "-m", "now"},
                                             -1, -1, -1)),
        0);
    const std::string changed = recorder.WaitFor("\"kind\":\"config-changed\"", 30s);
    ASSERT_NE(changed, "") << Log();
    EXPECT_NE(Payload(changed)["text"].toString().indexOf("tool 3: "), -1) << changed;
    EXPECT_EQ(gateway->EndWith(SIGTERM), 0) << Log();
    EXPECT_NE(recorder.WaitFor("vigilo/gateway/hall3 offline"), "");
}

TEST_F(GatewayProgramTest, AnUnpluggedUnitGoesOfflineAndComesBack) {
    const std::string link = (Dir / "press").string();
    auto press = std::make_unique<SimProcess>(std::vector<std::string>{"--link", link});
    TopicRecorder recorder(Broker.Port(), "vigilo/press-7/event");
    auto gateway = StartGateway(Config("[unit press-7]\nport = " + link + "\nbackup-hours = 0\n"));
    ASSERT_NE(recorder.WaitFor("\"kind\":\"online\""), "") << Log();
    press.reset();
    ASSERT_NE(recorder.WaitFor("\"kind\":\"offline\""), "") << Log();
    press = std::make_unique<SimProcess>(std::vector<std::string>{"--link", link});
    EXPECT_EQ(recorder.Lines().size(), 2U);
    ASSERT_TRUE(std::filesystem::exists(link));
    const auto until = std::chrono::steady_clock::now() + 20s;
    while (recorder.Lines().size() < 3 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(recorder.Lines().size(), 3U) << Log();
    EXPECT_NE(recorder.Lines()[2].find("\"kind\":\"online\""), std::string::npos);
}

TEST_F(GatewayProgramTest, EventsWaitForABrokerThatWasAwayAndStatusIsRetainedAgain) {
    SimProcess press({});
    auto gateway = StartGateway(Config(SerialUnit("press-7", press) + "backup-hours = 0\n"));
    {
        TopicRecorder first(Broker.Port(), "vigilo/press-7/status");
        ASSERT_NE(first.WaitFor("\"online\":true"), "") << Log();
    }
    const int port = Broker.Port();
    Broker.Stop();
    press.Command("error 0x02");
    std::this_thread::sleep_for(500ms); // the message is taken while the broker is away
    MosquittoBroker again({}, port);
    ASSERT_TRUE(again.Start());
    TopicRecorder recorder(port, "vigilo/#");
    // A new broker knows nothing: the gateway gives it the retained status again, and the
    // event that happened meanwhile.
    EXPECT_NE(recorder.WaitFor("\"text\":\"ERROR! Scanner!\"", 45s), "") << Log();
    EXPECT_NE(recorder.WaitFor("vigilo/press-7/status {"), "");
    EXPECT_NE(recorder.WaitFor("vigilo/gateway/hall3 online"), "");
}

TEST_F(GatewayProgramTest, SighupAddsAndRemovesUnitsAndAKilledGatewayLeavesItsWill) {
    SimProcess press({});
    const std::string config = Config(SerialUnit("press-7", press) + "backup-hours = 0\n");
    TopicRecorder recorder(Broker.Port(), "vigilo/+/event");
    auto gateway = StartGateway(config);
    ASSERT_NE(recorder.WaitFor("vigilo/press-7/event {\"kind\":\"online\""), "") << Log();

    Config(FieldbusUnit("mill-2") + "backup-hours = 0\n");
    gateway->Signal(SIGHUP);
    EXPECT_NE(recorder.WaitFor("vigilo/mill-2/event {\"kind\":\"online\""), "") << Log();
    // press-7 is closed: its port is free for another program.
    const auto until = std::chrono::steady_clock::now() + 10s;
    bool free = false;
    while (!free && std::chrono::steady_clock::now() < until) {
        const int fd = open(press.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        free = fd >= 0 && ioctl(fd, TIOCEXCL) == 0;
        if (fd >= 0) {
            close(fd);
        }
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(free) << Log();

    TopicRecorder will(Broker.Port(), "vigilo/gateway/hall3");
    ASSERT_NE(will.WaitFor("online"), "");
    gateway->EndWith(SIGKILL);
    EXPECT_NE(will.WaitFor("vigilo/gateway/hall3 offline"), "");
}

TEST_F(GatewayProgramTest, CheckConfigNamesFaultsWithTheirLines) {
    const std::string config = Config("[unit a]\nport = /dev/ttyS0\nspeed = 9600\n");
    const int out = open((Dir / "check").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int status = test::WaitForExit(
        test::SpawnBuiltProgram("vg-gateway", {"--check-config", config}, -1, out, out));
    close(out);
    EXPECT_EQ(status, 2);
    std::ifstream in(Dir / "check");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              config + ":8: unknown key speed in [unit a]\n");
}

} // namespace
} // namespace vg
