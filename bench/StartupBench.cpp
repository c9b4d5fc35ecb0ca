// The program's start-up: from the process start to the first painted main window, and the
// peak resident memory after start-up and a few seconds of polling. Prints figures only.
// Run it in the program's directory layout (it reads Konfig.Cfg beside itself like the
// program) and with a display, e.g. under xvfb-run; QT_QPA_PLATFORM=offscreen works too.
#include "gui/MainWindow.h"
#include "gui/Program.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Seconds since this process started, from the kernel's own record of the start.
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // Field 22 (starttime, clock ticks after boot) follows the ")" that ends the name.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        fields >> field;
    }
    const double startTicks = std::stod(field);
    std::ifstream uptime("/proc/uptime");
    double up = 0;
    uptime >> up;
    return up - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    double shownAfter = 0;
    const int result = vg::RunProgram(argc, argv, [&shownAfter](vg::MainWindow& main) {
        shownAfter = SecondsSinceProcessStart();
        // Keep polling a little so the memory figure includes the running program.
        QTimer::singleShot(3000, &main, [&main] { main.close(); });
    });
    std::printf("start-up to first painted main window: %.3f s (kernel clock, 10 ms steps)\n",
                shownAfter);
    std::printf("peak resident memory: %.1f MB\n", PeakResidentMegabytes());
    return result;
}
