#pragma once
// The threads of a line-controller line (TOutThread, TComThread and the master's supervision
// timer) are the same loop around a step of the line: a first pause, then the step and a pause
// until the line stops them. The pauses are cut short by Stop, so closing a line never waits
// out a period; the thread's last act runs once the loop has ended.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "lintra/runtime/BaseThread.h"

namespace lintra {

class TLcbLoopThread final : public TBaseThread {
public:
    struct Loop {
        uint32_t firstPauseMs;
        uint32_t pauseMs;
        std::function<void()> step;
        std::function<void()> atEnd;  // may be empty
    };

    TLcbLoopThread(std::string className, Loop loop);
    // Ends the loop, waits for the thread and runs nothing more of the line.
    ~TLcbLoopThread() override;
    void StopLoop();

private:
    void Execute() override;
    // False when the thread was stopped during the pause.
    bool pause(uint32_t ms);

    const Loop loop_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;  // guarded by mutex_
};

}  // namespace lintra
