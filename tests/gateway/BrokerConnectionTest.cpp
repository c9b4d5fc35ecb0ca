#include "gateway/BrokerConnection.h"

#include "support/ChildProcess.h"
#include "support/MosquittoBroker.h"

#include <condition_variable>
#include <fstream>
#include <gtest/gtest.h>

namespace vg {
namespace {

using namespace std::chrono_literals;
using test::MosquittoBroker;
using test::TempDir;
using test::TopicRecorder;

// A connection and the events its network thread handed over.
class Client {
public:
    explicit Client(BrokerSettings settings)
        : Connection(std::move(settings), "vigilo/gateway/test", [this] { Woken.notify_all(); }) {}

    // Waits for an event of `kind`, collecting the others; false after `timeout`.
    bool WaitFor(BrokerConnection::EventKind kind, std::chrono::milliseconds timeout = 10s) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(Mutex);
        while (true) {
            for (BrokerConnection::Event& event : Connection.TakeEvents()) {
                if (event.Kind == kind) {
                    Seen.push_back(std::move(event));
                    return true;
                }
            }
            if (Woken.wait_until(lock, until) == std::cv_status::timeout) {
                return false;
            }
        }
    }

private:
    // Before the connection: its network thread wakes them until the connection is gone.
    std::mutex Mutex;
    std::condition_variable Woken;

public:
    BrokerConnection Connection;
    std::vector<BrokerConnection::Event> Seen;
};

BrokerSettings Loopback(int port) {
    BrokerSettings settings;
    settings.Host = "127.0.0.1";
    settings.Port = port;
    settings.ClientId = "gateway-under-test";
    return settings;
}

bool RunProgram(const std::vector<std::string>& argv) {
    return test::WaitForExit(test::SpawnProgram(argv, -1, -1, -1)) == 0;
}

TEST(BrokerConnectionTest, PublishesRetainedMessagesAndSaysOfflineWhenStopped) {
    MosquittoBroker broker;
    ASSERT_TRUE(broker.Start());
    Client client(Loopback(broker.Port()));
    std::string error;
    ASSERT_TRUE(client.Connection.Start(error)) << error;
    ASSERT_TRUE(client.WaitFor(BrokerConnection::EventKind::Connected));
    ASSERT_TRUE(client.Connection.Publish("vigilo/gateway/test", "online", true));
    ASSERT_TRUE(client.Connection.Publish("vigilo/press-7/status", "{\"online\":true}", true));

    // A subscriber that comes later is given the retained status at once.
    TopicRecorder recorder(broker.Port(), "vigilo/#");
    EXPECT_NE(recorder.WaitFor("vigilo/press-7/status {\"online\":true}"), "");
    EXPECT_NE(recorder.WaitFor("vigilo/gateway/test online"), "");
    client.Connection.Stop("offline", 2s);
    EXPECT_NE(recorder.WaitFor("vigilo/gateway/test offline"), "");
    EXPECT_FALSE(client.Connection.Publish("vigilo/press-7/status", "{}", true));
}

TEST(BrokerConnectionTest, ReachesABrokerThatComesLaterAndTakesCommands) {
    const int port = test::FreeLoopbackPort();
    Client client(Loopback(port));
    std::string error;
    ASSERT_TRUE(client.Connection.Start(error)) << error;
    EXPECT_FALSE(client.Connection.Publish("vigilo/x/event", "{}", false));

    MosquittoBroker broker({}, port);
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(client.WaitFor(BrokerConnection::EventKind::Connected, 15s));
    ASSERT_TRUE(client.Connection.Subscribe("vigilo/+/backup/set"));
    // The subscription is in place once a message to ourselves comes back through it.
    for (int i = 0; i < 50 && client.Seen.size() < 2; ++i) {
        client.Connection.Publish("vigilo/press-7/backup/set", "now", false);
        client.WaitFor(BrokerConnection::EventKind::Message, 200ms);
    }
    ASSERT_EQ(client.Seen.size(), 2U);
    EXPECT_EQ(client.Seen[1].Topic, "vigilo/press-7/backup/set");
    EXPECT_EQ(client.Seen[1].Payload, "now");

    broker.Stop();
    EXPECT_TRUE(client.WaitFor(BrokerConnection::EventKind::Disconnected));
    EXPECT_FALSE(client.Connection.IsConnected());
    MosquittoBroker again({}, port);
    ASSERT_TRUE(again.Start());
    EXPECT_TRUE(client.WaitFor(BrokerConnection::EventKind::Connected, 40s));
}

// A certificate authority of the test's own, a broker certificate for 127.0.0.1 signed by it,
// and a user whose password the broker checks.
class SecuredBroker : public ::testing::Test {
protected:
    void SetUp() override {
        const auto file = [this](const char* name) {
            return (Dir / name).string();
        };
        ASSERT_TRUE(RunProgram({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                                "2", "-subj", "/CN=test CA", "-keyout", file("ca.key"), "-out",
                                file("ca.pem")}));
        ASSERT_TRUE(
            RunProgram({"openssl", "req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                        "-keyout", file("broker.key"), "-out", file("broker.csr")}));
        std::ofstream(Dir / "san.ext") << "subjectAltName=IP:127.0.0.1\n";
        ASSERT_TRUE(
            RunProgram({"openssl", "x509", "-req", "-in", file("broker.csr"), "-CA", file("ca.pem"),
                        "-CAkey", file("ca.key"), "-CAcreateserial", "-days", "2", "-extfile",
                        file("san.ext"), "-out", file("broker.pem")}));
        ASSERT_TRUE(RunProgram({"mosquitto_passwd", "-c", "-b", file("users"), "gw", "s3cret"}));
        std::ofstream(Dir / "password") << "s3cret\n";
        std::ofstream(Dir / "wrong") << "guess\n";
        Broker = std::make_unique<MosquittoBroker>(MosquittoBroker::Options{
            file("users"), file("ca.pem"), file("broker.pem"), file("broker.key")});
        ASSERT_TRUE(Broker->Start());
    }

    BrokerSettings Secured(const char* passwordFile) {
        BrokerSettings settings = Loopback(Broker->Port());
        settings.CaFile = (Dir / "ca.pem").string();
        settings.Username = "gw";
        settings.PasswordFile = (Dir / passwordFile).string();
        return settings;
    }

    TempDir Dir;
    std::unique_ptr<MosquittoBroker> Broker;
};

TEST_F(SecuredBroker, ConnectsOverTlsWithThePassword) {
    Client client(Secured("password"));
    std::string error;
    ASSERT_TRUE(client.Connection.Start(error)) << error;
    EXPECT_TRUE(client.WaitFor(BrokerConnection::EventKind::Connected));
}

TEST_F(SecuredBroker, AWrongPasswordOrAnotherAuthorityDoesNotConnect) {
    Client wrongPassword(Secured("wrong"));
    std::string error;
    ASSERT_TRUE(wrongPassword.Connection.Start(error));
    EXPECT_FALSE(wrongPassword.WaitFor(BrokerConnection::EventKind::Connected, 2s));

    ASSERT_TRUE(RunProgram({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                            "2", "-subj", "/CN=other CA", "-keyout", (Dir / "other.key").string(),
                            "-out", (Dir / "other.pem").string()}));
    BrokerSettings otherAuthority = Secured("password");
    otherAuthority.CaFile = (Dir / "other.pem").string();
    Client untrusted(otherAuthority);
    ASSERT_TRUE(untrusted.Connection.Start(error));
    EXPECT_FALSE(untrusted.WaitFor(BrokerConnection::EventKind::Connected, 2s));
}

TEST(PasswordFileTest, TakesTheFirstLineAndSaysWhyItCannot) {
    TempDir dir;
    std::ofstream(dir / "password") << "s3cret\r\nsecond line\n";
    std::string password;
    std::string error;
    ASSERT_TRUE(ReadPasswordFile((dir / "password").string(), password, error));
    EXPECT_EQ(password, "s3cret");
    std::ofstream(dir / "empty") << "\n";
    EXPECT_FALSE(ReadPasswordFile((dir / "empty").string(), password, error));
    EXPECT_EQ(error, (dir / "empty").string() + ": the file holds no password");
    EXPECT_FALSE(ReadPasswordFile((dir / "missing").string(), password, error));
    EXPECT_EQ(error, (dir / "missing").string() + ": No such file or directory");
}

} // namespace
} // namespace vg
