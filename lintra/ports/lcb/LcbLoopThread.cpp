#include "lintra/ports/lcb/LcbLoopThread.h"

#include <chrono>

namespace lintra {

TLcbLoopThread::TLcbLoopThread(std::string className, Loop loop)
    : TBaseThread(std::move(className)), loop_(std::move(loop)) {}

TLcbLoopThread::~TLcbLoopThread() { StopLoop(); }

void TLcbLoopThread::StopLoop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    Stop();
}

bool TLcbLoopThread::pause(uint32_t ms) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void TLcbLoopThread::Execute() {
    if (pause(loop_.firstPauseMs)) {
        do {
            loop_.step();
        } while (pause(loop_.pauseMs));
    }
    if (loop_.atEnd) loop_.atEnd();
}

}  // namespace lintra
