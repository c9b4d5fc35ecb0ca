#pragma once

#include "sim/SimUnit.h"

#include <atomic>
#include <chrono>
#include <cstdint>
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
    // Makes `path` a symbolic link to the terminal (an existing link is replaced); the link is
    // removed again when the server goes away.
    bool LinkAs(const std::string& path, std::string& error);
    void SetPaced(bool paced) { Paced = paced; }

    void Start();
    void Stop();
    // Closes the terminal as an unplugged adapter would: the program's side hangs up.
    void Hangup();
    // Writes bytes to the program as they are, outside the protocol (for tests).
    void SendRaw(const std::vector<uint8_t>& bytes);

private:
    void Serve();
    void TakeBytes(const uint8_t* bytes, size_t count);
    void HandleBlock(const std::vector<uint8_t>& block);
    void SendFrame(const std::vector<uint8_t>& frame);
    // Sleeps until `when`; false when the server is being stopped meanwhile.
    bool SleepUntil(Clock::time_point when);

    SimUnit& Unit;
    int MasterFd = -1;
    int KeepAliveFd = -1; // keeps the master from seeing a hang-up between program runs
    int WakeFd = -1;
    std::string SlavePath;
    std::string LinkPath;
    bool Paced = false;
    std::atomic<bool> Stopping{false};
    std::vector<uint8_t> Incoming;
    Clock::time_point RequestReceivedAt{};
    Clock::time_point LineFreeAt{};
    std::thread Worker;
};

} // namespace vg::sim
