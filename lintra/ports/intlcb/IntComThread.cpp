#include "lintra/ports/intlcb/IntComThread.h"

#include <chrono>

namespace lintra {

TIntComThread::TIntComThread(Pacing pacing, std::function<void()> step)
    : TBaseThread("TIntComThread"), pacing_(pacing), step_(std::move(step)) {}

TIntComThread::~TIntComThread() { StopPolling(); }

void TIntComThread::StopPolling() {
    {
        std::lock_guard lock(mutex_);
        Terminate();
    }
    wake_.notify_all();
    Stop();
}

bool TIntComThread::pause(uint32_t ms) {
    std::unique_lock lock(mutex_);
    if (ms > 0) wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Terminated(); });
    return !Terminated();
}

void TIntComThread::Execute() {
    if (!pause(pacing_.startMs)) return;
    while (pause(pacing_.beforeStepMs)) {
        step_();
        if (!pause(pacing_.afterStepMs)) return;
    }
}

}  // namespace lintra
