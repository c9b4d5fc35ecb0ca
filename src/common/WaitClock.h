#pragma once

#include <chrono>
#include <functional>

namespace vg {

// Where a wait on the unit takes its time from. A wait blocks until its answer comes or its
// deadline passes; the clock tells the time the deadline is measured in and runs the blocking
// call. The program uses SteadyWaitClock(); a test passes a clock that lets a wait on a unit
// that stays quiet reach its deadline at once.
class WaitClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // Blocks until something arrived or the steady clock reaches the time given.
    using BlockingWait = std::function<void(TimePoint)>;

    WaitClock() = default;
    WaitClock(const WaitClock&) = delete;
    WaitClock& operator=(const WaitClock&) = delete;
    virtual ~WaitClock() = default;

    virtual TimePoint Now() const = 0;
    // Runs `wait` so that it returns by `deadline` of this clock at the latest.
    virtual void WaitUntil(TimePoint deadline, const BlockingWait& wait) = 0;
};

// The steady clock: a wait blocks until the deadline itself.
WaitClock& SteadyWaitClock();

} // namespace vg
