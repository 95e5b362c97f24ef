#include "lintra/runtime/IPC.h"

#include <cerrno>
#include <chrono>

namespace lintra {

bool TIPCObject::WaitFor(uint32_t timeoutMs) {
    lastError_ = 0;
    if (!Valid()) {
        lastWaitResult_ = WaitResult::Failed;
        return false;
    }
    int error = DoWait(timeoutMs);
    if (error == 0) {
        lastWaitResult_ = WaitResult::Signalled;
        return true;
    }
    if (error == ETIMEDOUT) {
        lastWaitResult_ = WaitResult::TimedOut;
        return false;
    }
    lastWaitResult_ = WaitResult::Failed;
    return Fail(error);
}

TIPCEvent::TIPCEvent(bool manualReset) : manualReset_(manualReset), state_(std::make_unique<State>()) {}

bool TIPCEvent::SetEvent() {
    if (!state_) return Fail(EBADF);
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->signalled = true;
    }
    if (manualReset_) state_->changed.notify_all();
    else state_->changed.notify_one();
    return true;
}

bool TIPCEvent::ResetEvent() {
    if (!state_) return Fail(EBADF);
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->signalled = false;
    return true;
}

int TIPCEvent::DoWait(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    auto signalled = [this] { return state_->signalled; };
    if (timeoutMs == kInfinite) {
        state_->changed.wait(lock, signalled);
    } else if (!state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled)) {
        return ETIMEDOUT;
    }
    if (!manualReset_) state_->signalled = false;
    return 0;
}

TIPCMutex::TIPCMutex(bool initiallyOwned) : mutex_(std::make_unique<RecursiveMutex>()) {
    if (initiallyOwned) Acquire();
}

TIPCMutex::~TIPCMutex() { Close(); }

int TIPCMutex::DoWait(uint32_t timeoutMs) {
    int error = mutex_->lock(timeoutMs);
    if (error == 0) ++depth_;
    return error;
}

bool TIPCMutex::Release() {
    if (!mutex_) return Fail(EBADF);
    int error = mutex_->unlock();
    if (error != 0) return Fail(error);
    --depth_;
    return true;
}

void TIPCMutex::Close() {
    if (!mutex_) return;
    // Closing is the owner's business (or nobody's); another thread's holds are not ours to drop.
    while (depth_ > 0 && mutex_->unlock() == 0) --depth_;
    mutex_.reset();
}

}  // namespace lintra
