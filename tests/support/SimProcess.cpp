#include "support/SimProcess.h"

#include "support/ChildProcess.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace vg::test {

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    Pid = SpawnBuiltProgram("vigilo-sim", args, in[0], out[1], -1);
    close(in[0]);
    close(out[1]);
    Stdin = in[1];
    // The first line the simulator prints is the terminal's path.
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        Device.push_back(c);
    }
    close(out[0]);
    if (Device.empty()) {
        throw std::runtime_error("vigilo-sim did not start");
    }
}

SimProcess::~SimProcess() {
    Terminate();
    if (Stdin >= 0) {
        close(Stdin);
    }
}

void SimProcess::Command(const std::string& line) {
    const std::string text = line + "\n";
    if (write(Stdin, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("cannot talk to vigilo-sim");
    }
}

int SimProcess::Terminate() {
    if (Pid <= 0) {
        return -1;
    }
    kill(Pid, SIGTERM);
    const int status = WaitForExit(Pid);
    Pid = -1;
    return status;
}

} // namespace vg::test
