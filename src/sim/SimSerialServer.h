#pragma once

#include "link/FrameCodec.h"
#include "sim/SimUnit.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace vg::sim {

// The simulated unit on the far side of a pseudo-terminal: it reads request frames, lets the
// unit answer and writes the reply frames. Paced, it behaves like the real line at 19200
// bit/s with 10 bits a byte: a request counts as received only once its bytes would have
// crossed the line, and the reply's bytes go out one by one at that rate.
class SimSerialServer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto ByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 19200);

    explicit SimSerialServer(SimUnit& unit);
    ~SimSerialServer();
    SimSerialServer(const SimSerialServer&) = delete;
    SimSerialServer& operator=(const SimSerialServer&) = delete;

    // Creates the pseudo-terminal; false with a reason when that fails.
    bool Open(std::string& error);
    // The terminal the program opens.
    const std::string& DevicePath() const { return SlavePath; }
    // Makes `path` a symbolic link to the terminal (an existing link is replaced, a missing
    // folder is made); the link is removed again when the server goes away.
    bool LinkAs(const std::string& path, std::string& error);
    void SetPaced(bool paced) { Paced = paced; }

    void Start();
    void Stop();
    // Closes the terminal as an unplugged adapter would: the program's side hangs up.
    void Hangup();
    // Writes bytes to the program as they are, outside the protocol (for tests).
    void SendRaw(const std::vector<uint8_t>& bytes);
    // Line noise toward the program: every `period` a burst of 1 to `maxBytes` random bytes,
    // between frames or into one. A zero period ends it. The same seed gives the same bytes.
    void SetNoise(std::chrono::milliseconds period, int maxBytes, uint32_t seed = 1);
    // One stray `byte` on the line, alone, shortly after the reply to the request
    // `requestsFromNow` requests ahead (0: the next one).
    void SetStrayByte(int requestsFromNow, uint8_t byte = FrameEndByte);
    static constexpr auto StrayByteGap = std::chrono::milliseconds(5);

private:
    void Serve();
    void TakeBytes(const uint8_t* bytes, size_t count);
    void HandleBlock(const std::vector<uint8_t>& block);
    void SendFrame(const std::vector<uint8_t>& frame);
    // Sleeps until `when`, sending noise when it is due; false when the server is being
    // stopped meanwhile.
    bool SleepUntil(Clock::time_point when);
    // How long poll may sleep before the next noise burst is due; -1 without noise.
    int MillisecondsToNoise();
    void SendNoiseIfDue();

    SimUnit& Unit;
    int MasterFd = -1;
    int KeepAliveFd = -1; // keeps the master from seeing a hang-up between program runs
    int WakeFd = -1;
    std::string SlavePath;
    std::string LinkPath;
    std::atomic<bool> Paced{false};
    std::atomic<bool> Stopping{false};
    std::vector<uint8_t> Incoming;
    Clock::time_point RequestReceivedAt{};
    Clock::time_point LineFreeAt{};
    std::thread Worker;

    // Changed by tests while the server runs.
    std::mutex KnobMutex;
    std::chrono::milliseconds NoisePeriod{0};
    int NoiseMaxBytes = 0;
    std::mt19937 NoiseRandom;
    Clock::time_point NextNoise{};
    int StrayCountdown = -1;
    uint8_t StrayByte = 0;
};

} // namespace vg::sim
