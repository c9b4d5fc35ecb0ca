#include "support/PtyPair.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace vg::test {

PtyPair::PtyPair() {
    Master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (Master < 0 || grantpt(Master) != 0 || unlockpt(Master) != 0) {
        throw std::runtime_error("cannot create a pseudo-terminal");
    }
    char name[128] = {};
    ptsname_r(Master, name, sizeof name);
    Slave = name;
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::Write(const std::vector<uint8_t>& bytes) {
    if (write(Master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("short write to the pseudo-terminal");
    }
}

std::vector<uint8_t> PtyPair::Read(size_t count, std::chrono::milliseconds timeout) {
    std::vector<uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{Master, POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        uint8_t buffer[256];
        const ssize_t n = read(Master, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

void PtyPair::CloseMaster() {
    if (Master >= 0) {
        close(Master);
        Master = -1;
    }
}

} // namespace vg::test
