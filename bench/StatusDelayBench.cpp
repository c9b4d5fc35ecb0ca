// How long a change of the unit's status takes to reach the status bar, with the poll running
// at its own rhythm against the simulated unit: over a pseudo-terminal paced at 19200 bit/s,
// and through the built-in fieldbus slave. Prints figures; it passes or fails nothing.
#include "cli/Vgctl.h"
#include "session/Session.h"
#include "sim/SimSerialServer.h"
#include "status/StatusEvents.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

// The error message as a status bar shows it, stamped with the time each text first appeared.
class StampingBar : public vg::StatusEvents {
public:
    void StatusRecordTaken(const vg::StatusRecordUpdate& record) override {
        const std::string text = vg::ErrorMessageText(record.ErrorBits);
        if (record.ErrorNew && text != ErrorText) {
            ErrorText = text;
            ShownAt = Clock::now();
        }
    }
    void PollIntervalChanged(int milliseconds) override { Interval = milliseconds; }

    std::string ErrorText;
    Clock::time_point ShownAt{};
    int Interval = 700;
};

// Error bits whose messages differ, so every change shows.
constexpr uint8_t ErrorBits[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x00};

struct Figures {
    std::vector<double> Delays;
};

void Run(vg::Session& session, vg::sim::SimUnit& unit, int changes, Figures& figures) {
    StampingBar bar;
    session.Status.AddListener(&bar);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pause(300, 700);
    auto nextTick = Clock::now();
    auto nextChange = Clock::now() + std::chrono::milliseconds(1500); // come online first
    Clock::time_point changedAt{};
    std::string expected;
    int made = 0;
    while (made < changes || !expected.empty()) {
        const auto now = Clock::now();
        if (now >= nextChange && expected.empty()) {
            const uint8_t bits = ErrorBits[made % std::size(ErrorBits)];
            unit.SetErrorBits(bits);
            changedAt = Clock::now();
            expected = bits == 0 ? "" : "set";
            ++made;
            nextChange = changedAt + std::chrono::milliseconds(pause(random));
            bar.ShownAt = {};
        }
        if (now >= nextTick) {
            session.Status.Tick();
            nextTick += std::chrono::milliseconds(bar.Interval);
            if (!expected.empty() && bar.ShownAt != Clock::time_point{}) {
                figures.Delays.push_back(Millis(bar.ShownAt - changedAt).count());
                expected.clear();
            }
        }
        std::this_thread::sleep_until(std::min(nextTick, nextChange));
    }
    session.Status.RemoveListener(&bar);
}

void Report(const char* mode, Figures& f, double boundMs) {
    std::sort(f.Delays.begin(), f.Delays.end());
    double sum = 0;
    for (double d : f.Delays) {
        sum += d;
    }
    const auto at = [&f](double q) {
        return f.Delays[static_cast<size_t>(q * static_cast<double>(f.Delays.size() - 1))];
    };
    std::printf("%-9s %7zu %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f\n", mode, f.Delays.size(),
                f.Delays.front(), sum / static_cast<double>(f.Delays.size()), at(0.5), at(0.95),
                f.Delays.back(), boundMs);
}

} // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::max(5, std::atoi(argv[1])) : 40;
    const std::string dir = std::filesystem::temp_directory_path().string() + "/";
    // One frame on the line: 18 bytes of 10 bits at 19200 bit/s.
    const double frameMs = 18.0 * 10.0 / 19200.0 * 1000.0;
    std::printf("status change to status bar, poll at its own rhythm (120 ms online)\n");
    std::printf("%-9s %7s %8s %8s %8s %8s %8s %8s\n", "mode", "changes", "min_ms", "mean_ms",
                "p50_ms", "p95_ms", "max_ms", "bound_ms");

    {
        vg::sim::SimUnit unit;
        vg::sim::SimSerialServer server(unit);
        server.SetPaced(true);
        std::string error;
        if (!server.Open(error)) {
            std::cerr << error << '\n';
            return 1;
        }
        server.Start();
        vg::Session session(dir);
        session.Settings.Mode = vg::CommMode::Serial;
        session.Serial.DeviceOverride = server.DevicePath();
        if (!vg::cli::OpenLink(session, std::cerr)) {
            return 1;
        }
        Figures figures;
        Run(session, unit, changes, figures);
        vg::cli::CloseLink(session, std::cerr);
        // A request goes out on one tick and its reply is taken on the next: one poll period
        // is two ticks on the serial line.
        Report("serial", figures, 2 * 120 + frameMs);
    }
    {
        vg::Session session(dir);
        session.Settings.Mode = vg::CommMode::Fieldbus;
        if (!vg::cli::OpenLink(session, std::cerr)) {
            return 1;
        }
        Figures figures;
        Run(session, session.BuiltInUnit, changes, figures);
        vg::cli::CloseLink(session, std::cerr);
        Report("fieldbus", figures, 120);
    }
    return 0;
}
