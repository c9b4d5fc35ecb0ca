// The serial unit unplugged and plugged in again under the same name, with the poll running at
// its own rhythm: the processor time the program uses while the device is absent, and the time
// from the device's return to the unit being online again. Prints figures; it passes or fails
// nothing.
#include "cli/StatusCommands.h"
#include "cli/Vgctl.h"
#include "session/Session.h"
#include "sim/SimSerialServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The unit's terminal, made anew under `name` as an adapter's stable name comes back.
std::unique_ptr<vg::sim::SimSerialServer> PlugIn(vg::sim::SimUnit& unit, const std::string& name) {
    auto server = std::make_unique<vg::sim::SimSerialServer>(unit);
    server->SetPaced(true);
    std::string error;
    if (!server->Open(error) || !server->LinkAs(name, error)) {
        std::cerr << error << '\n';
        std::exit(1);
    }
    server->Start();
    return server;
}

// The poll as vgctl watch runs it: a tick, then the interval the poll asks for, the rhythm
// going on whatever else happens in between.
class Poller {
public:
    Poller(vg::Session& session, const vg::cli::TerminalPollRhythm& host)
        : Session(session), Host(host) {}

    // Ticks as they fall due until `done` holds after one, or until `end`; the time of the
    // tick after which `done` held, or `end`.
    template <typename Predicate>
    Clock::time_point RunUntil(Predicate done, Clock::time_point end) {
        while (true) {
            std::this_thread::sleep_until(std::min(NextTick, end));
            if (Clock::now() >= end) {
                return end;
            }
            Session.Status.Tick();
            const auto tickedAt = Clock::now();
            NextTick = tickedAt + std::chrono::milliseconds(Host.Interval);
            if (done()) {
                return tickedAt;
            }
        }
    }

private:
    vg::Session& Session;
    const vg::cli::TerminalPollRhythm& Host;
    Clock::time_point NextTick = Clock::now();
};

} // namespace

int main(int argc, char** argv) {
    const int replugs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const double absentSeconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 5.0;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vg-replug-bench";
    std::filesystem::create_directories(dir);
    const std::string name = (dir / "unit").string();

    vg::sim::SimUnit unit;
    auto server = PlugIn(unit, name);
    vg::Session session(dir.string() + "/");
    session.Settings.Mode = vg::CommMode::Serial;
    session.Serial.DeviceOverride = name;
    vg::cli::TerminalPollRhythm host;
    session.Status.AddListener(&host);
    vg::cli::OpenLink(session, std::cerr);
    Poller poller(session, host);
    const auto online = [&session] {
        return session.Poll.Online;
    };
    poller.RunUntil(online, Clock::now() + std::chrono::seconds(10));
    if (!online()) {
        std::cerr << "the unit did not come online\n";
        return 1;
    }

    std::printf("serial unit unplugged for about %.1f s and plugged in again under the same "
                "name, poll at its own rhythm\n",
                absentSeconds);
    std::printf("%-6s %9s %12s %10s %14s\n", "replug", "absent_s", "absent_cpu_s", "absent_cpu",
                "back_online_s");
    std::mt19937 random(7);
    // Plugged in at any moment of the 800 ms offline rhythm.
    std::uniform_int_distribution<int> phase(0, 799);
    for (int run = 1; run <= replugs; ++run) {
        server.reset(); // unplugged: the terminal hangs up and its name goes
        const auto unplugged = Clock::now();
        const double cpuBefore = ProcessorSeconds();
        const auto plugIn = unplugged +
                            std::chrono::duration_cast<Clock::duration>(Seconds(absentSeconds)) +
                            std::chrono::milliseconds(phase(random));
        poller.RunUntil([] { return false; }, plugIn);
        const double cpu = ProcessorSeconds() - cpuBefore;
        const Seconds absent = Clock::now() - unplugged;
        server = PlugIn(unit, name);
        const auto pluggedIn = Clock::now();
        const auto back = poller.RunUntil(online, pluggedIn + std::chrono::seconds(30));
        std::printf("%-6d %9.3f %12.4f %9.3f%% %14.3f\n", run, absent.count(), cpu,
                    100.0 * cpu / absent.count(), Seconds(back - pluggedIn).count());
    }
    session.Status.RemoveListener(&host);
    vg::cli::CloseLink(session, std::cerr);
    return 0;
}
