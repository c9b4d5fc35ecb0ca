// A long run of the program's windows polling the simulated unit over a paced pseudo-terminal
// while the unit's status changes every few hundred milliseconds and the unit falls silent
// for a while every minute. Reports resident memory over time, changes missed and the
// longest stall of the event loop. Run it with scripts/soak.sh; it is not part of the tests.
#include "common/MessageService.h"
#include "gui/FileDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/Program.h"
#include "gui/StatusBarWidget.h"
#include "session/Session.h"
#include "sim/SimSerialServer.h"
#include "status/UnitStatus.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// No box may appear in an unattended run; any that does is counted as a failure.
class CountingMessages : public vg::MessageService {
public:
    vg::MessageResult ShowMessage(const std::string& text, vg::MessageKind,
                                  vg::MessageButtons) override {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
        ++Shown;
        return vg::MessageResult::Ok;
    }
    int Shown = 0;
};

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Error bits with distinct messages; the status bar's panel 0 shows which one is set.
constexpr uint8_t Errors[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};

struct Change {
    size_t Index;
    Clock::time_point At;
    bool Counted; // the unit answered for the whole time the change was held
    bool Seen = false;
};

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(30, std::atoi(argv[1])) : 600;
    QApplication application(argc, argv);
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("vgsoak-" + std::to_string(getpid()))).string() +
        "/";
    std::filesystem::create_directories(dir + "CD_DATA");
    std::ofstream(dir + "Konfig.Cfg") << "A:50\r\nC:1\r\nM:2\r\n";

    vg::sim::SimUnit unit;
    vg::sim::SimSerialServer server(unit);
    server.SetPaced(true);
    std::string error;
    if (!server.Open(error) || !server.LinkAs(dir + "COM1", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    server.Start();

    vg::Session core(dir);
    CountingMessages messages;
    vg::QtFileDialogs files;
    vg::HelpViewer help;
    vg::ProgramContext context(core, messages, files, help);
    vg::WindowSet windows(context);
    vg::MainWindow& main = *context.Windows.Main;
    main.show();

    const auto began = Clock::now();
    std::vector<Change> changes;
    std::vector<std::pair<double, double>> memory; // seconds, MB
    bool silent = false;
    Clock::time_point lastSample = began;
    double longestStall = 0;
    size_t next = 0;
    int offlineSeen = 0;
    bool wasOnline = false;

    QTimer change;
    QObject::connect(&change, &QTimer::timeout, [&] {
        const size_t index = next++ % std::size(Errors);
        unit.SetErrorBits(Errors[index]);
        changes.push_back({index, Clock::now(), !silent});
    });
    change.start(400);

    // Every minute the unit is gone for five seconds. Changes while it is gone, or just
    // before, cannot be shown and are not counted.
    QTimer outage;
    QObject::connect(&outage, &QTimer::timeout, [&] {
        silent = true;
        unit.SetSilent(true);
        for (auto& c : changes) {
            if (Clock::now() - c.At < std::chrono::milliseconds(400)) {
                c.Counted = false;
            }
        }
        QTimer::singleShot(5000, [&] {
            unit.SetSilent(false);
            // Coming back online takes a few ticks.
            QTimer::singleShot(1500, [&] { silent = false; });
        });
    });
    outage.start(60000);

    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longestStall =
            std::max(longestStall, std::chrono::duration<double>(now - lastSample).count());
        lastSample = now;
        // The outages must show: the unit declared lost and back again.
        if (wasOnline && !core.Poll.Online) {
            ++offlineSeen;
        }
        wasOnline = core.Poll.Online;
        const std::string shown = main.StatusBar->PanelText(vg::StatusPanel::Error).toStdString();
        if (!changes.empty() && shown == vg::ErrorMessageText(Errors[changes.back().Index])) {
            changes.back().Seen = true;
        }
    });
    sample.start(50);

    QTimer memoryProbe;
    QObject::connect(&memoryProbe, &QTimer::timeout, [&] {
        memory.emplace_back(std::chrono::duration<double>(Clock::now() - began).count(),
                            ResidentMegabytes());
    });
    memoryProbe.start(10000);

    // A few seconds more, so an outage that starts at the very end is seen too.
    QTimer::singleShot(seconds * 1000 + 3000, [&main] { main.close(); });
    QApplication::exec();

    size_t counted = 0, missed = 0;
    for (size_t i = 0; i + 1 < changes.size(); ++i) {
        if (changes[i].Counted && changes[i + 1].Counted) {
            ++counted;
            missed += changes[i].Seen ? 0 : 1;
        }
    }
    std::printf("soak: %d s, status changed every 400 ms, unit silent 5 s every minute\n", seconds);
    std::printf("changes counted %zu, missed %zu; outages seen %d of %d; message boxes %d; "
                "longest event-loop stall %.2f s\n",
                counted, missed, offlineSeen, seconds / 60, messages.Shown, longestStall);
    std::printf("resident memory (s, MB):");
    for (const auto& [at, mb] : memory) {
        std::printf(" %.0f:%.1f", at, mb);
    }
    std::printf("\n");
    if (memory.size() >= 4) {
        std::printf("memory after the first minute %.1f MB, at the end %.1f MB\n",
                    memory[std::min<size_t>(5, memory.size() - 1)].second, memory.back().second);
    }
    std::filesystem::remove_all(dir);
    return missed == 0 && messages.Shown == 0 && offlineSeen == seconds / 60 ? 0 : 1;
}
