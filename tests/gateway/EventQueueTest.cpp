#include "gateway/EventQueue.h"

#include <gtest/gtest.h>

namespace vg {
namespace {

TEST(EventQueueTest, DropsTheOldestWhenFullAndCountsThemOnce) {
    EventQueue queue(3);
    for (int i = 1; i <= 5; ++i) {
        queue.Push("event " + std::to_string(i));
    }
    EXPECT_EQ(queue.Size(), 3U);
    EXPECT_EQ(queue.Front(), "event 3");
    EXPECT_EQ(queue.TakeDroppedCount(), 2U);
    EXPECT_EQ(queue.TakeDroppedCount(), 0U);
    queue.PopFront();
    EXPECT_EQ(queue.Front(), "event 4");
}

TEST(EventQueueTest, HoldsAThousandByDefault) {
    EventQueue queue;
    for (int i = 0; i < 1001; ++i) {
        queue.Push(std::to_string(i));
    }
    EXPECT_EQ(queue.Size(), 1000U);
    EXPECT_EQ(queue.Front(), "1");
    EXPECT_EQ(queue.TakeDroppedCount(), 1U);
}

} // namespace
} // namespace vg
