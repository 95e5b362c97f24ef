#pragma once
// TIntComThread: the polling thread of an intelligent line-controller line, a thin loop around
// the master's ServeContr with the pauses of its kind. Its waits end early when it is stopped.
#include <atomic>
#include <cstdint>
#include <functional>

#include "lintra/runtime/BaseThread.h"

namespace lintra {

class TIntComThread final : public TBaseThread {
public:
    struct Pacing {
        uint32_t startMs;       // before the first step
        uint32_t beforeStepMs;  // before each step
        uint32_t afterStepMs;   // after each step
    };

    TIntComThread(Pacing pacing, std::function<void()> step);
    ~TIntComThread() override;
    // Ends the loop and joins the thread.
    void StopPolling();

protected:
    void Execute() override;

private:
    bool pause(uint32_t ms);  // false once stopped

    const Pacing pacing_;
    std::function<void()> step_;
    // 0 while running, 1 once stopped; the pauses wait on it as a futex word.
    std::atomic<uint32_t> stopWord_{0};
};

}  // namespace lintra
