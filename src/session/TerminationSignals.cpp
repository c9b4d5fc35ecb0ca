#include "session/TerminationSignals.h"

#include <cerrno>
#include <pthread.h>
#include <unistd.h>

namespace vg {

namespace {
// How often the watcher looks whether it is still wanted.
constexpr auto WatchSlice = std::chrono::milliseconds(50);

timespec AsTimespec(std::chrono::nanoseconds duration) {
    return {static_cast<time_t>(duration.count() / 1'000'000'000),
            static_cast<long>(duration.count() % 1'000'000'000)};
}
} // namespace

TerminationSignals::TerminationSignals(std::chrono::milliseconds grace,
                                       std::function<void()> lastResort,
                                       std::function<void(int)> onSignal)
    : Grace(grace), LastResort(std::move(lastResort)), OnSignal(std::move(onSignal)) {
    sigemptyset(&Signals);
    sigaddset(&Signals, SIGINT);
    sigaddset(&Signals, SIGTERM);
    sigaddset(&Signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &Signals, &Previous);
    Watcher = std::thread([this] { Watch(); });
}

TerminationSignals::~TerminationSignals() {
    {
        const std::lock_guard lock(Mutex);
        Finished = true;
    }
    Changed.notify_all();
    Watcher.join();
    pthread_sigmask(SIG_SETMASK, &Previous, nullptr);
}

bool TerminationSignals::Wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(Mutex);
    return Changed.wait_for(lock, duration, [this] { return Got.load(); });
}

void TerminationSignals::Watch() {
    int signal = 0;
    const timespec slice = AsTimespec(WatchSlice);
    while (!Finished) {
        signal = sigtimedwait(&Signals, nullptr, &slice);
        if (signal > 0) {
            break;
        }
    }
    if (Finished) {
        return;
    }
    {
        const std::lock_guard lock(Mutex);
        Signal = signal;
        Got = true;
    }
    Changed.notify_all();
    if (OnSignal) {
        OnSignal(signal);
    }
    std::unique_lock lock(Mutex);
    if (Changed.wait_for(lock, Grace, [this] { return Finished.load(); })) {
        return;
    }
    lock.unlock();
    // The program did not get back to end by itself.
    if (LastResort) {
        LastResort();
    }
    EndAs(signal);
}

void TerminationSignals::EndAs(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal); // not reached: the default action ends the process
}

} // namespace vg
