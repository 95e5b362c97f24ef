// The loop thread's pauses: a stop ends whichever pause the thread is in, at once.
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "lintra/ports/lines/LoopThread.h"

namespace lintra {
namespace {

constexpr uint32_t kHourMs = 3600 * 1000;  // a pause that a missed wake-up would leave hanging

TEST(TLoopThread, StopEndsThePauseTheThreadIsIn) {
    struct Case {
        const char *pause;
        uint32_t firstPauseMs;
        int steps;
    };
    const Case cases[] = {
        {"before the first step", kHourMs, 0},
        {"after a step", 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pause);
        std::atomic<int> steps{0};
        std::atomic<bool> ended{false};
        std::promise<void> stepped;
        TLoopThread thread("TTest", {c.firstPauseMs,
                                     [&]() -> uint32_t {
                                         if (steps.fetch_add(1) == 0) stepped.set_value();
                                         return kHourMs;
                                     },
                                     [&] { ended = true; }});
        thread.Start();
        if (c.steps > 0) stepped.get_future().wait();
        thread.StopLoop();
        EXPECT_EQ(steps.load(), c.steps);
        EXPECT_TRUE(ended.load()) << "the last act runs once the loop has ended";
    }
}

}  // namespace
}  // namespace lintra
