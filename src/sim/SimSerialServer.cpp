#include "sim/SimSerialServer.h"

#include "link/FrameCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace vg::sim {

namespace {
timespec ToTimespec(std::chrono::nanoseconds d) {
    const auto count = std::max<long long>(d.count(), 0);
    return {static_cast<time_t>(count / 1'000'000'000), static_cast<long>(count % 1'000'000'000)};
}
} // namespace

SimSerialServer::SimSerialServer(SimUnit& unit) : Unit(unit) {}

SimSerialServer::~SimSerialServer() {
    Stop();
    for (int fd : {MasterFd, KeepAliveFd, WakeFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    if (!LinkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::read_symlink(LinkPath, ec) == SlavePath) {
            std::filesystem::remove(LinkPath, ec);
        }
    }
}

bool SimSerialServer::Open(std::string& error) {
    MasterFd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (MasterFd < 0 || grantpt(MasterFd) != 0 || unlockpt(MasterFd) != 0) {
        error = "cannot create a pseudo-terminal";
        return false;
    }
    char name[128] = {};
    if (ptsname_r(MasterFd, name, sizeof name) != 0) {
        error = "cannot name the pseudo-terminal";
        return false;
    }
    SlavePath = name;
    KeepAliveFd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (KeepAliveFd < 0) {
        error = "cannot open " + SlavePath;
        return false;
    }
    // Raw from the start, so the terminal never echoes a reply back to us.
    termios raw{};
    tcgetattr(KeepAliveFd, &raw);
    cfmakeraw(&raw);
    tcsetattr(KeepAliveFd, TCSANOW, &raw);
    WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (WakeFd < 0) {
        error = "eventfd failed";
        return false;
    }
    return true;
}

bool SimSerialServer::LinkAs(const std::string& path, std::string& error) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::filesystem::create_symlink(SlavePath, path, ec);
    if (ec) {
        error = "cannot link " + path + ": " + ec.message();
        return false;
    }
    LinkPath = path;
    return true;
}

void SimSerialServer::Start() {
    if (!Worker.joinable() && MasterFd >= 0) {
        Stopping = false;
        Worker = std::thread([this] { Serve(); });
    }
}

void SimSerialServer::Stop() {
    if (Worker.joinable()) {
        Stopping = true;
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = write(WakeFd, &one, sizeof one);
        Worker.join();
    }
}

void SimSerialServer::Hangup() {
    Stop();
    for (int* fd : {&MasterFd, &KeepAliveFd}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

void SimSerialServer::SendRaw(const std::vector<uint8_t>& bytes) {
    [[maybe_unused]] ssize_t ignored = write(MasterFd, bytes.data(), bytes.size());
}

void SimSerialServer::Serve() {
    uint8_t chunk[256];
    while (!Stopping) {
        pollfd fds[2] = {{MasterFd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            uint64_t drained = 0;
            [[maybe_unused]] ssize_t ignored = read(WakeFd, &drained, sizeof drained);
            continue;
        }
        const ssize_t n = read(MasterFd, chunk, sizeof chunk);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        TakeBytes(chunk, static_cast<size_t>(n));
    }
}

void SimSerialServer::TakeBytes(const uint8_t* bytes, size_t count) {
    const auto now = Clock::now();
    RequestReceivedAt = std::max(now, RequestReceivedAt) + ByteTime * count;
    Incoming.insert(Incoming.end(), bytes, bytes + count);
    auto end = std::find(Incoming.begin(), Incoming.end(), FrameEndByte);
    while (end != Incoming.end() && !Stopping) {
        std::vector<uint8_t> block(Incoming.begin(), end + 1);
        Incoming.erase(Incoming.begin(), end + 1);
        // Noise before a frame is dropped: the start byte never occurs inside one.
        auto start = std::find(block.rbegin(), block.rend(), FrameStartByte);
        if (start != block.rend()) {
            block.erase(block.begin(), start.base() - 1);
        }
        HandleBlock(block);
        end = std::find(Incoming.begin(), Incoming.end(), FrameEndByte);
    }
    if (Incoming.size() > 4 * V24_RxBufferSize) {
        Incoming.clear(); // a flood without frame ends holds nothing worth keeping
    }
}

void SimSerialServer::HandleBlock(const std::vector<uint8_t>& block) {
    if (Paced && !SleepUntil(RequestReceivedAt)) {
        return;
    }
    DeviceRequest request{};
    if (V24_DecodeFrame(block.data(), block.size(), request) != 0) {
        if (!Unit.Silent()) {
            // The unit's own checks failed: it answers with bit 0 of the address set.
            SendFrame(V24_BuildFrame(DeviceReply{}, 0x01));
        }
        return;
    }
    const auto reply = Unit.HandleRequest(request);
    if (!reply) {
        return;
    }
    if (!SleepUntil(Clock::now() + Unit.AnswerDelay())) {
        return;
    }
    auto frame = V24_BuildFrame(reply->Bytes);
    if (reply->CorruptChecksum) {
        uint8_t& digit = frame[frame.size() - 2];
        digit = digit == '0' ? '1' : '0';
    }
    SendFrame(frame);
}

void SimSerialServer::SendFrame(const std::vector<uint8_t>& frame) {
    if (!Paced) {
        [[maybe_unused]] ssize_t ignored = write(MasterFd, frame.data(), frame.size());
        return;
    }
    auto due = std::max(Clock::now(), LineFreeAt);
    for (uint8_t byte : frame) {
        due += ByteTime;
        if (!SleepUntil(due)) {
            return;
        }
        [[maybe_unused]] ssize_t ignored = write(MasterFd, &byte, 1);
    }
    LineFreeAt = due;
}

bool SimSerialServer::SleepUntil(Clock::time_point when) {
    while (!Stopping) {
        const auto left = when - Clock::now();
        if (left <= Clock::duration::zero()) {
            return true;
        }
        pollfd fd{WakeFd, POLLIN, 0};
        const timespec timeout = ToTimespec(left);
        ppoll(&fd, 1, &timeout, nullptr);
    }
    return false;
}

} // namespace vg::sim
