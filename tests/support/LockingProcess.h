#pragma once

#include <string>
#include <sys/types.h>

namespace vg::test {

// Another program that holds a serial device: a child process that opens `device` and keeps a
// lock on it until the object goes away.
class LockingProcess {
public:
    // `name`, when given, is the name the child shows as its program (/proc/PID/comm).
    explicit LockingProcess(const std::string& device, const std::string& name = "");
    ~LockingProcess();
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;

    pid_t Pid() const { return Child; }
    // Ends the child, which lets the device go.
    void Stop();

private:
    pid_t Child = -1;
};

} // namespace vg::test
