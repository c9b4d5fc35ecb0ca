#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace vg {

// The events of one unit that wait for the broker. When more are waiting than the queue
// holds, the oldest go first and are counted, so that a `dropped` event can say how many.
class EventQueue {
public:
    static constexpr size_t DefaultCapacity = 1000;

    explicit EventQueue(size_t capacity = DefaultCapacity) : Capacity(capacity) {}

    void Push(std::string payload);
    bool Empty() const { return Waiting.empty(); }
    size_t Size() const { return Waiting.size(); }
    const std::string& Front() const { return Waiting.front(); }
    void PopFront() { Waiting.pop_front(); }

    // How many were dropped since the last call; the count starts again at 0.
    size_t TakeDroppedCount();

private:
    size_t Capacity;
    std::deque<std::string> Waiting;
    size_t Dropped = 0;
};

} // namespace vg
