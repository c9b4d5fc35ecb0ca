// vg-gateway with N simulated units on pseudo-terminals at the real line rate and a real
// broker: the gateway's processor share of one core, its resident memory, and the time from a
// status change at a unit to its message at a subscriber. Prints figures; it passes or fails
// nothing.
#include "support/ChildProcess.h"
#include "support/MosquittoBroker.h"
#include "support/SimProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <mosquitto.h>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using vg::test::MosquittoBroker;
using vg::test::SimProcess;
using vg::test::TempDir;

constexpr int Samples = 60;

// Subscribes to every unit's status and notes when each (unit, tool) was first seen.
class StatusSubscriber {
public:
    explicit StatusSubscriber(int port) {
        mosquitto_lib_init();
        Handle = mosquitto_new("gateway-bench", true, this);
        mosquitto_message_callback_set(Handle, OnMessage);
        mosquitto_connect(Handle, "127.0.0.1", port, 30);
        mosquitto_subscribe(Handle, nullptr, "vigilo/+/status", 1);
        mosquitto_loop_start(Handle);
    }
    ~StatusSubscriber() {
        mosquitto_disconnect(Handle);
        mosquitto_loop_stop(Handle, false);
        mosquitto_destroy(Handle);
    }
    StatusSubscriber(const StatusSubscriber&) = delete;
    StatusSubscriber& operator=(const StatusSubscriber&) = delete;

    // Waits until `unit` reported `tool`; when it was seen, or nothing after the timeout.
    std::optional<Clock::time_point> WaitForTool(const std::string& unit, int tool,
                                                 Clock::duration timeout) {
        std::unique_lock lock(Mutex);
        const auto key = std::make_pair(unit, tool);
        if (!Changed.wait_for(lock, timeout, [&] { return Seen.count(key) != 0; })) {
            return std::nullopt;
        }
        return Seen[key];
    }

    size_t OnlineUnits() {
        const std::lock_guard lock(Mutex);
        return Online.size();
    }

    void Forget() {
        const std::lock_guard lock(Mutex);
        Seen.clear();
    }

private:
    static void OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
        const auto now = Clock::now();
        auto& subscriber = *static_cast<StatusSubscriber*>(self);
        const std::string topic = message->topic;
        const std::string unit = topic.substr(7, topic.size() - 7 - 7); // vigilo/<unit>/status
        const QJsonObject status =
            QJsonDocument::fromJson(
                QByteArray(static_cast<const char*>(message->payload), message->payloadlen))
                .object();
        {
            const std::lock_guard lock(subscriber.Mutex);
            if (status["online"].toBool()) {
                subscriber.Online.insert(unit);
            }
            subscriber.Seen.emplace(std::make_pair(unit, status["tool"].toInt(-1)), now);
        }
        subscriber.Changed.notify_all();
    }

    mosquitto* Handle = nullptr;
    std::mutex Mutex;
    std::condition_variable Changed;
    std::map<std::pair<std::string, int>, Clock::time_point> Seen;
    std::set<std::string> Online;
};

double ProcessorSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::vector<std::string> values(std::istream_iterator<std::string>(fields), {});
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    const double ticks = std::stod(values.at(11)) + std::stod(values.at(12));
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKilobytes(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

void Run(int units) {
    TempDir dir;
    MosquittoBroker broker;
    if (!broker.Start()) {
        std::cerr << "the broker did not start\n";
        std::exit(1);
    }
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::ofstream config(dir / "gateway.conf");
    config << "[broker]\nhost = 127.0.0.1\nport = " << broker.Port() << "\n";
    for (int i = 0; i < units; ++i) {
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{"--pace"}));
        config << "[unit u" << i << "]\nport = " << sims.back()->DevicePath()
               << "\nbackup-hours = 0\n";
    }
    config.close();
    StatusSubscriber subscriber(broker.Port());
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t gateway = vg::test::SpawnBuiltProgram(
        "vg-gateway",
        {"--config", (dir / "gateway.conf").string(), "--state-dir", (dir / "state").string()}, -1,
        quiet, quiet);
    close(quiet);
    const auto until = Clock::now() + 60s;
    while (subscriber.OnlineUnits() < static_cast<size_t>(units) && Clock::now() < until) {
        std::this_thread::sleep_for(50ms);
    }
    if (subscriber.OnlineUnits() < static_cast<size_t>(units)) {
        std::cerr << "only " << subscriber.OnlineUnits() << " of " << units << " units online\n";
    }
    subscriber.Forget();

    std::mt19937 random(units);
    std::uniform_int_distribution<int> pause(50, 250);
    std::vector<double> delays;
    const double cpuStart = ProcessorSeconds(gateway);
    const auto start = Clock::now();
    for (int sample = 0; sample < Samples; ++sample) {
        const int unit = sample % units;
        const int tool = 1 + sample % 120;
        const auto changed = Clock::now();
        std::string command = "tool ";
        command.append(std::to_string(tool));
        std::string name = "u";
        name.append(std::to_string(unit));
        sims[static_cast<size_t>(unit)]->Command(command);
        const auto seen = subscriber.WaitForTool(name, tool, 5s);
        if (seen) {
            delays.push_back(std::chrono::duration<double, std::milli>(*seen - changed).count());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double share = (ProcessorSeconds(gateway) - cpuStart) / elapsed * 100.0;
    const long rss = ResidentKilobytes(gateway);
    kill(gateway, SIGTERM);
    waitpid(gateway, nullptr, 0);

    std::printf("%5d | %9.2f %% | %9.1f MB | %8.0f ms | %8.0f ms | %3zu/%d\n", units, share,
                static_cast<double>(rss) / 1024.0, delays.empty() ? -1.0 : Percentile(delays, 0.5),
                delays.empty() ? -1.0 : Percentile(delays, 0.99), delays.size(), Samples);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> counts = {1, 16, 64};
    if (argc > 1) {
        counts.clear();
        for (int i = 1; i < argc; ++i) {
            counts.push_back(std::atoi(argv[i]));
        }
    }
    std::printf("units | processor | resident | median delay | 99th pct | changes seen\n");
    for (const int units : counts) {
        Run(units);
    }
    return 0;
}
