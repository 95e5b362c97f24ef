#pragma once
// A driver and a line with no transport, registered under type numbers of their own, so the
// framework runs through the same create path as the controller drivers. The driver's passes
// can be counted, held inside a pass, or made to throw.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "lintra/nx/CommDriver.h"
#include "lintra/nx/CommLine.h"
#include "lintra/nx/DriverTypes.h"
#include "platform/Clock.h"

namespace lintra::nx::test {

// Waits for a condition another thread brings about; false when it never came. The limit is a
// safety net against a hang, not a measured time.
template <typename Condition>
bool Eventually(Condition condition) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class FakeDriver final : public TCommDriver {
public:
    static constexpr int32_t kType = 90;

    FakeDriver() : TCommDriver(clock_) {}

    bool Init(const TParamList *params) override {
        TCommDriver::Init(params);
        return Params().IntValue("Refuse", 0) == 0;
    }
    bool Connect() override {
        SetConnected(Params().IntValue("Reachable", 1) != 0);
        return Connected();
    }
    bool Disconnect() override {
        SetConnected(false);
        return true;
    }
    bool ReadPkt(TCommBuff &) override { return false; }
    bool SendPkt(TCommBuff &) override { return false; }
    int32_t ProcessPkt(TCommBuff &) override { return 0; }
    int32_t SendBuf(const uint8_t *, int32_t length) override {
        std::lock_guard lock(mutex_);
        sent_ += length;
        return Connected() ? 0 : -1;
    }

    // Holds the next pass inside DrvExecute until Release().
    void HoldPasses() {
        std::lock_guard lock(mutex_);
        hold_ = true;
    }
    // Notifies under the lock: once the pass can go on, the driver may be destroyed at once.
    void Release() {
        std::lock_guard lock(mutex_);
        hold_ = false;
        changed_.notify_all();
    }
    void ThrowInPass() {
        std::lock_guard lock(mutex_);
        throw_ = true;
    }
    bool WaitPasses(int count) {
        return Eventually([&] { return Passes() >= count; });
    }
    bool WaitInside() {
        return Eventually([&] {
            std::lock_guard lock(mutex_);
            return inside_;
        });
    }
    bool WaitState(State state) {
        return Eventually([&] { return GetState() == state; });
    }
    int Passes() {
        std::lock_guard lock(mutex_);
        return passes_;
    }
    int Sent() {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    static std::unique_ptr<TCommDriver> Make() { return std::make_unique<FakeDriver>(); }
    static void Register() {
        RegisterDriverType(kType, &FakeDriver::Make);
    }

protected:
    uint32_t DrvExecute() override {
        std::unique_lock lock(mutex_);
        ++passes_;
        inside_ = true;
        changed_.wait(lock, [&] { return !hold_; });
        inside_ = false;
        if (throw_) throw std::runtime_error("pass failed");
        lock.unlock();
        // Every line gets a serve event per pass, as a controller driver serves its lines.
        NotifyLines(TCommLine::evServe, nullptr);
        return 1;
    }

private:
    inline static tessel::ManualClock clock_{1000};
    std::mutex mutex_;
    std::condition_variable changed_;
    int passes_ = 0;
    bool inside_ = false;
    bool hold_ = false;
    bool throw_ = false;
    int sent_ = 0;
};

class FakeLine final : public TCommLine {
public:
    static constexpr int32_t kType = 91;

    explicit FakeLine(TCommDriver &driver) : TCommLine(driver) {
        lineType_ = kType;
        enabled_ = true;
        ++alive;
    }
    ~FakeLine() override { --alive; }

    bool Init(const TParamList *params) override {
        TCommLine::Init(params);
        return Params().IntValue("Refuse", 0) == 0;
    }
    int32_t Serve() override { return Note("Serve", 5); }
    void Ev_Connect() override { Note("Connect", 0); }
    void Ev_Disconnect() override { Note("Disconnect", 0); }
    int32_t Ev_ReadPkt(TCommBuff &buffer) override { return Note("ReadPkt", buffer.length); }
    int32_t SendBuf(const uint8_t *, int32_t length) override { return Note("SendBuf", length); }
    void Shutdown() override { Note("Shutdown", 0); }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetTypeDigit(int32_t digit) { typeDigit_ = digit; }

    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

    static std::unique_ptr<TCommLine> Make(TCommDriver &driver) { return std::make_unique<FakeLine>(driver); }
    static void Register() { RegisterLineType(kType, &FakeLine::Make); }
    inline static std::atomic<int> alive{0};

private:
    int32_t Note(const char *call, int32_t answer) {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(call);
        return answer;
    }

    std::mutex mutex_;
    std::vector<std::string> calls_;
};

}  // namespace lintra::nx::test
