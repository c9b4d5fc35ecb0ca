// vigilo-sim: the simulated control unit on a pseudo-terminal.
#include "common/ProgramInfo.h"
#include "sim/SimCommandLine.h"
#include "sim/SimSerialServer.h"
#include "sim/SimUnit.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace {

int BlockTerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

// Reads commands from standard input until a termination signal or "quit".
void RunCommandLoop(vg::sim::SimUnit& unit, vg::sim::SimSerialServer& server, int signalFd) {
    bool stdinOpen = true;
    std::string pending;
    while (true) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        char buffer[512];
        const ssize_t n = fds[1].revents != 0 ? read(0, buffer, sizeof buffer) : 0;
        if (n <= 0) {
            stdinOpen = false;
            continue;
        }
        pending.append(buffer, static_cast<size_t>(n));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "quit") {
                return;
            }
            if (line == "hangup") {
                server.Hangup();
                continue;
            }
            std::string error;
            const bool applied = vg::sim::IsLineCommand(line)
                                     ? vg::sim::ApplyLineCommand(server, line, error)
                                     : vg::sim::ApplySimCommand(unit, line, error);
            if (!applied) {
                std::cerr << "vigilo-sim: " << error << '\n';
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    vg::sim::SimOptions options;
    std::string error;
    if (!vg::sim::ParseSimOptions({argv + 1, argv + argc}, options, error)) {
        std::cerr << "vigilo-sim: " << error << '\n'
                  << vg::sim::SimUsage << "Try 'vigilo-sim --help' for more information.\n";
        return 2;
    }
    if (options.Help) {
        std::cout << vg::sim::SimHelp();
        return 0;
    }
    if (options.Version) {
        std::cout << "vigilo-sim " << vg::ProgramVersion << '\n';
        return 0;
    }
    vg::sim::SimUnit unit;
    for (const auto& setting : options.UnitSettings) {
        if (!vg::sim::ApplySimCommand(unit, setting, error)) {
            std::cerr << "vigilo-sim: " << error << '\n' << vg::sim::SimUsage;
            return 2;
        }
    }
    const int signalFd = BlockTerminationSignals();
    vg::sim::SimSerialServer server(unit);
    server.SetPaced(options.Paced);
    if (!server.Open(error) ||
        (!options.LinkPath.empty() && !server.LinkAs(options.LinkPath, error))) {
        std::cerr << "vigilo-sim: " << error << '\n';
        return 1;
    }
    for (const auto& setting : options.ServerSettings) {
        if (!vg::sim::ApplyLineCommand(server, setting, error)) {
            std::cerr << "vigilo-sim: " << error << '\n' << vg::sim::SimUsage;
            return 2;
        }
    }
    std::cout << server.DevicePath() << std::endl;
    server.Start();
    RunCommandLoop(unit, server, signalFd);
    server.Stop();
    return 0;
}
