#include "gateway/EventQueue.h"

namespace vg {

void EventQueue::Push(std::string payload) {
    if (Capacity == 0) {
        ++Dropped;
        return;
    }
    if (Waiting.size() == Capacity) {
        Waiting.pop_front();
        ++Dropped;
    }
    Waiting.push_back(std::move(payload));
}

size_t EventQueue::TakeDroppedCount() {
    const size_t count = Dropped;
    Dropped = 0;
    return count;
}

} // namespace vg
