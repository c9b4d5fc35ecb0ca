#include "support/LockingProcess.h"

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vg::test {

LockingProcess::LockingProcess(const std::string& device, const std::string& name) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    Child = fork();
    if (Child == 0) {
        if (!name.empty()) {
            prctl(PR_SET_NAME, name.c_str());
        }
        const int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
        const char held = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        [[maybe_unused]] ssize_t written = write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char held = 'n';
    const bool told = read(ready[0], &held, 1) == 1;
    close(ready[0]);
    if (Child < 0 || !told || held != 'y') {
        Stop();
        throw std::runtime_error("cannot hold " + device);
    }
}

LockingProcess::~LockingProcess() {
    Stop();
}

void LockingProcess::Stop() {
    if (Child > 0) {
        kill(Child, SIGKILL);
        waitpid(Child, nullptr, 0);
        Child = -1;
    }
}

} // namespace vg::test
