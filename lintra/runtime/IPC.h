#pragma once
// Thin event and mutex objects that report failure as false and keep the error code instead of
// raising. These are the process-private forms every user in the library needs; objects shared
// between processes by name live in the host layer.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "lintra/runtime/RecursiveMutex.h"

namespace lintra {

class TIPCObject {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFF;
    enum class WaitResult : uint32_t { Signalled, TimedOut, Failed };

    virtual ~TIPCObject() = default;
    TIPCObject(const TIPCObject &) = delete;
    TIPCObject &operator=(const TIPCObject &) = delete;

    // True when the object was signalled (event) or acquired (mutex) within timeoutMs.
    bool WaitFor(uint32_t timeoutMs);
    // WaitFor with the wait timeout field.
    bool Wait() { return WaitFor(waitTimeout); }
    // The base answers true and does nothing.
    virtual bool Release() { return true; }
    // Drops the object; every later call fails at once.
    virtual void Close() = 0;
    virtual bool Valid() const = 0;

    uint32_t LastError() const { return lastError_.load(std::memory_order_relaxed); }
    WaitResult LastWaitResult() const { return lastWaitResult_.load(std::memory_order_relaxed); }

    uint32_t waitTimeout = kInfinite;

protected:
    TIPCObject() = default;
    // 0 when signalled or acquired, else an errno code (ETIMEDOUT when the time ran out).
    virtual int DoWait(uint32_t timeoutMs) = 0;
    bool Fail(int error) {
        lastError_.store(static_cast<uint32_t>(error), std::memory_order_relaxed);
        return false;
    }

private:
    void SetWaitResult(WaitResult result) { lastWaitResult_.store(result, std::memory_order_relaxed); }

    // Any thread may wait on the object, so these are the last writer's.
    std::atomic<uint32_t> lastError_{0};
    std::atomic<WaitResult> lastWaitResult_{WaitResult::Signalled};
};

class TIPCEvent final : public TIPCObject {
public:
    // Not signalled at first; an automatic-reset event wakes one waiter and resets itself.
    explicit TIPCEvent(bool manualReset = false);
    ~TIPCEvent() override = default;
    bool SetEvent();
    bool ResetEvent();
    void Close() override { state_.reset(); }
    bool Valid() const override { return state_ != nullptr; }
    bool ManualReset() const { return manualReset_; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool signalled = false;
    };
    int DoWait(uint32_t timeoutMs) override;

    bool manualReset_;
    std::unique_ptr<State> state_;
};

class TIPCMutex final : public TIPCObject {
public:
    explicit TIPCMutex(bool initiallyOwned = false);
    // On destruction the owner's holds are given up with the object.
    ~TIPCMutex() override;
    bool Acquire() { return Wait(); }
    // False (EPERM) when the calling thread does not own it.
    bool Release() override;
    void Close() override;
    bool Valid() const override { return mutex_ != nullptr; }

private:
    int DoWait(uint32_t timeoutMs) override;

    bool OwnedByCaller() const { return owner_.load() == std::this_thread::get_id(); }

    std::unique_ptr<RecursiveMutex> mutex_;
    // The owner is checked before unlocking, so a release by another thread is refused
    // without touching the mutex. depth_ is changed by the owner only.
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0;
};

}  // namespace lintra
