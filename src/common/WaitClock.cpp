#include "common/WaitClock.h"

namespace vg {

namespace {
class SteadyClock final : public WaitClock {
public:
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
    void WaitUntil(TimePoint deadline, const BlockingWait& wait) override { wait(deadline); }
};
} // namespace

WaitClock& SteadyWaitClock() {
    static SteadyClock clock;
    return clock;
}

} // namespace vg
