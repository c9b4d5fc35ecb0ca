#pragma once

#include "common/WaitClock.h"

#include <algorithm>
#include <chrono>

namespace vg::test {

// A clock for tests that wait out deadlines. Its time runs with the steady clock's, but a wait
// that nothing ended within `patience` moves the time on to the wait's deadline: a unit that
// stays quiet costs the patience, not the deadline, while one that answers is waited for as
// in the program.
class FastForwardClock final : public WaitClock {
public:
    using Duration = std::chrono::steady_clock::duration;

    explicit FastForwardClock(Duration patience) : Patience(patience) {}

    TimePoint Now() const override { return std::chrono::steady_clock::now() + Skipped; }

    void WaitUntil(TimePoint deadline, const BlockingWait& wait) override {
        const Duration left = deadline - Now();
        if (left <= Duration::zero()) {
            return;
        }
        const TimePoint wake = std::chrono::steady_clock::now() + std::min(left, Patience);
        wait(wake);
        if (std::chrono::steady_clock::now() >= wake && Now() < deadline) {
            Skipped += deadline - Now();
        }
    }

    // How long a wait may stay quiet before its deadline is taken as passed.
    void SetPatience(Duration patience) { Patience = patience; }

    // How much time the clock skipped.
    Duration Skipped{};

private:
    Duration Patience;
};

} // namespace vg::test
