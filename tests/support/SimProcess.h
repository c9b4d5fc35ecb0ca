#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vg::test {

// vigilo-sim started as a separate process; stopped with SIGTERM when the object goes away.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& DevicePath() const { return Device; }
    // Sends one command line to the simulator's standard input.
    void Command(const std::string& line);
    // Sends SIGTERM and waits; the exit status, or -1 when it did not end normally.
    int Terminate();

private:
    pid_t Pid = -1;
    int Stdin = -1;
    std::string Device;
};

} // namespace vg::test
