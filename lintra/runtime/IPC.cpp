#include "lintra/runtime/IPC.h"

#include <cerrno>
#include <chrono>

namespace lintra {

bool TIPCObject::WaitFor(uint32_t timeoutMs) {
    lastError_.store(0, std::memory_order_relaxed);
    if (!Valid()) {
        SetWaitResult(WaitResult::Failed);
        return false;
    }
    int error = DoWait(timeoutMs);
    if (error == 0) {
        SetWaitResult(WaitResult::Signalled);
        return true;
    }
    if (error == ETIMEDOUT) {
        SetWaitResult(WaitResult::TimedOut);
        return false;
    }
    SetWaitResult(WaitResult::Failed);
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
    if (error == 0 && depth_++ == 0) owner_.store(std::this_thread::get_id());
    return error;
}

bool TIPCMutex::Release() {
    if (!mutex_) return Fail(EBADF);
    if (!OwnedByCaller()) return Fail(EPERM);
    if (--depth_ == 0) owner_.store(std::thread::id{});
    int error = mutex_->unlock();
    return error == 0 || Fail(error);
}

void TIPCMutex::Close() {
    if (!mutex_) return;
    // Closing gives up the caller's own holds; another thread's are not ours to drop.
    while (OwnedByCaller() && Release()) {
    }
    mutex_.reset();
}

}  // namespace lintra
