#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <thread>

namespace vg {

// SIGINT, SIGTERM and SIGHUP for the whole process. They are blocked from construction on, in
// the constructing thread and so in every thread started after it (construct it before any
// other), and a thread of its own waits for them. A signal sets Flag, wakes Wait and calls
// `onSignal`; the program then ends by itself, closing what it holds as at a normal
// end. Should it still run `grace` after the signal (a driver call that never returns), the
// watcher calls `lastResort` and ends the process as the signal would have ended it.
class TerminationSignals {
public:
    using Clock = std::chrono::steady_clock;

    // `onSignal` is called on the watcher thread when the first signal arrives.
    TerminationSignals(std::chrono::milliseconds grace, std::function<void()> lastResort,
                       std::function<void(int)> onSignal = {});
    // Stops the watcher and restores the signal mask.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal that came, 0 while none did.
    int Received() const { return Signal.load(); }
    const std::atomic<bool>& Flag() const { return Got; }
    // Sleeps for `duration`; true when a signal came before or meanwhile.
    bool Wait(std::chrono::milliseconds duration);

    // Ends the process as `signal` ends a process that does not take it.
    [[noreturn]] static void EndAs(int signal);

private:
    void Watch();

    std::chrono::milliseconds Grace;
    std::function<void()> LastResort;
    std::function<void(int)> OnSignal;
    sigset_t Signals{};
    sigset_t Previous{};
    std::atomic<bool> Got{false};
    std::atomic<int> Signal{0};
    std::atomic<bool> Finished{false};
    std::mutex Mutex;
    std::condition_variable Changed;
    std::thread Watcher;
};

} // namespace vg
