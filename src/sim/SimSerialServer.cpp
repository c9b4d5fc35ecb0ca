#include "sim/SimSerialServer.h"

#include "common/ProgramFolders.h"
#include "link/FrameCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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
    // The folder may not exist yet, as a user's ~/.config/vg-config/ before the program's
    // first run: it is made as the program would make it.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty() && !MakeFolders(folder, PrivateFolderMode)) {
        error = "cannot link " + path + ": " + std::strerror(errno);
        return false;
    }
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

void SimSerialServer::SetNoise(std::chrono::milliseconds period, int maxBytes, uint32_t seed) {
    {
        std::lock_guard lock(KnobMutex);
        NoisePeriod = period;
        NoiseMaxBytes = std::max(maxBytes, 1);
        NoiseRandom.seed(seed);
        NextNoise = Clock::now() + period;
    }
    // The server may be asleep without a deadline.
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = write(WakeFd, &one, sizeof one);
}

void SimSerialServer::SetStrayByte(int requestsFromNow, uint8_t byte) {
    std::lock_guard lock(KnobMutex);
    StrayCountdown = requestsFromNow;
    StrayByte = byte;
}

int SimSerialServer::MillisecondsToNoise() {
    std::lock_guard lock(KnobMutex);
    if (NoisePeriod.count() <= 0) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(NextNoise - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

void SimSerialServer::SendNoiseIfDue() {
    std::vector<uint8_t> burst;
    {
        std::lock_guard lock(KnobMutex);
        const auto now = Clock::now();
        if (NoisePeriod.count() <= 0 || now < NextNoise) {
            return;
        }
        // A late burst is not made up for.
        NextNoise = std::max(NextNoise + NoisePeriod, now);
        std::uniform_int_distribution<int> length(1, NoiseMaxBytes);
        std::uniform_int_distribution<int> value(0, 255);
        burst.resize(static_cast<size_t>(length(NoiseRandom)));
        for (uint8_t& byte : burst) {
            byte = static_cast<uint8_t>(value(NoiseRandom));
        }
    }
    SendRaw(burst);
}

void SimSerialServer::Serve() {
    uint8_t chunk[256];
    while (!Stopping) {
        pollfd fds[2] = {{MasterFd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, MillisecondsToNoise());
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        SendNoiseIfDue();
        if (ready == 0) {
            continue;
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
    bool stray = false;
    uint8_t strayByte = 0;
    {
        std::lock_guard lock(KnobMutex);
        if (StrayCountdown >= 0) {
            stray = StrayCountdown-- == 0;
            strayByte = StrayByte;
        }
    }
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
    if (stray && SleepUntil(Clock::now() + StrayByteGap)) {
        SendFrame({strayByte});
    }
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
        SendNoiseIfDue();
        auto left = when - Clock::now();
        if (left <= Clock::duration::zero()) {
            return true;
        }
        if (const int toNoise = MillisecondsToNoise(); toNoise >= 0) {
            left = std::min<Clock::duration>(left, std::chrono::milliseconds(toNoise));
        }
        pollfd fd{WakeFd, POLLIN, 0};
        const timespec timeout = ToTimespec(left);
        if (ppoll(&fd, 1, &timeout, nullptr) > 0) {
            // A knob was turned, or the server is stopping (which the loop sees).
            uint64_t drained = 0;
            [[maybe_unused]] ssize_t ignored = read(WakeFd, &drained, sizeof drained);
        }
    }
    return false;
}

} // namespace vg::sim
