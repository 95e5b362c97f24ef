#pragma once
// TLoopThread: the thread of every line kind (a port's panel polling, a line controller's
// transmit, receive and supervision sides, an intelligent line's polling): a first pause, then
// a step of the line and the pause the step asks for, until the line stops it. A stop cuts the
// pause in progress short, so closing a line never waits out a period; the last act (atEnd)
// runs on the thread once the loop has ended.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "lintra/runtime/BaseThread.h"

namespace lintra {

class TLoopThread final : public TBaseThread {
public:
    struct Loop {
        uint32_t firstPauseMs;
        // One step; answers the pause before the next (0: give up the processor only).
        std::function<uint32_t()> step;
        std::function<void()> atEnd = nullptr;
    };

    TLoopThread(std::string className, Loop loop);
    ~TLoopThread() override;
    // Ends the loop and joins the thread. Idempotent.
    void StopLoop();

protected:
    void Execute() override;

private:
    bool pause(uint32_t ms);  // false once stopped

    const Loop loop_;
    // 0 while running, 1 once stopped; a pause waits on it as a futex word.
    std::atomic<uint32_t> stopWord_{0};
};

}  // namespace lintra
