// The polling thread's pauses: a stop ends whichever pause the thread is in, at once.
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "lintra/ports/intlcb/IntComThread.h"

namespace lintra {
namespace {

constexpr uint32_t kHourMs = 3600 * 1000;  // a pause that a missed wake-up would leave hanging

TEST(TIntComThread, StopEndsThePauseTheThreadIsIn) {
    struct Case {
        const char *pause;
        TIntComThread::Pacing pacing;
        int steps;
    };
    const Case cases[] = {
        {"before the first step", {kHourMs, 0, 0}, 0},
        {"before each step", {0, kHourMs, 0}, 0},
        {"after each step", {0, 0, kHourMs}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pause);
        std::atomic<int> steps{0};
        std::promise<void> stepped;
        TIntComThread thread(c.pacing, [&] {
            if (steps.fetch_add(1) == 0) stepped.set_value();
        });
        thread.Start();
        if (c.steps > 0) stepped.get_future().wait();
        thread.StopPolling();
        EXPECT_EQ(steps.load(), c.steps);
    }
}

}  // namespace
}  // namespace lintra
