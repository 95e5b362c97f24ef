#pragma once
// TCommDriver: one network controller as the Driver API sees it. It owns one thread, created
// suspended, that repeats a pass of the concrete driver (DrvExecute) over the controller's
// transport, and up to 33 lines that do their protocol work inside those passes.
//
// Shutdown order: Destroy() ends the thread first (a pass in progress runs to its end, a
// suspended thread is woken to end), then the object goes: its lines, its table slot, its log.
// Line attach, detach and destruction take the pass lock, so they never overlap a pass.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

#include "lintra/nx/CommBuff.h"
#include "lintra/nx/ParamList.h"
#include "lintra/runtime/RecursiveMutex.h"
#include "platform/Clock.h"

namespace lintra {
class TLogger;
class TLoopThread;
}  // namespace lintra

namespace lintra::nx {

class TCommLine;

// The pass lock of a driver held for a scope. Re-entrant, so a pass may destroy one of its
// lines or disconnect.
class TPassGuard {
public:
    explicit TPassGuard(RecursiveMutex &lock) : lock_(lock) { lock_.lock(); }
    ~TPassGuard() { lock_.unlock(); }
    TPassGuard(const TPassGuard &) = delete;
    TPassGuard &operator=(const TPassGuard &) = delete;

private:
    RecursiveMutex &lock_;
};

class TCommDriver {
public:
    static constexpr int32_t kLineSlots = 33;
    // The level of a new driver's log before its LogLevel parameter, unless lintra.ini sets
    // another one.
    static constexpr int kDefaultLogLevel = 5;
    static void SetDefaultLogLevel(int level);
    static int DefaultLogLevel();

    enum State : uint8_t {
        stCreating = 0,
        stCreated = 1,
        stSuspended = 2,
        stResumed = 3,   // running again after a suspension
        stFinished = 4,  // the thread's body has ended; 5 (destroyed) is never seen, the object is gone
    };

    TCommDriver(const TCommDriver &) = delete;
    TCommDriver &operator=(const TCommDriver &) = delete;
    virtual ~TCommDriver();

    // Gives the driver its table handle and its log "CommDrv" + handle + ".log"; state 1.
    // Called once, by the create path, before anyone else can reach the driver.
    void Attach(int32_t handle);
    // Ends the thread, then deletes the driver with its lines. Must not run on the driver's own
    // thread.
    static void Destroy(TCommDriver *driver);

    virtual int32_t DoCmd(int32_t cmd, intptr_t p1, intptr_t p2);
    // Takes the list (none: clears the parameters); LogLevel >= 0 sets the log's level.
    virtual bool Init(const TParamList *params);
    // Slot -1: the lowest empty one; 0..32: that slot, displacing its line (which is not
    // destroyed). Answers the slot, or -1 when none is free or the slot is out of range.
    virtual int32_t AddLine(TCommLine *line, int32_t slot);
    // Clears the suspend request; runs a created thread or wakes a suspended one. True then.
    virtual bool Start();
    // Asks the thread to suspend at the start of its next pass.
    virtual bool Stop();
    virtual bool Connect() = 0;
    virtual bool Disconnect() = 0;
    virtual bool ReadPkt(TCommBuff &buffer) = 0;
    virtual bool SendPkt(TCommBuff &buffer) = 0;
    virtual int32_t ProcessPkt(TCommBuff &buffer) = 0;
    // 0 sent, -1 failed.
    virtual int32_t SendBuf(const uint8_t *bytes, int32_t length) = 0;

    // One step of the thread: honours a suspend request (waiting while suspended), then runs
    // DrvExecute under the pass lock. Answers the pause before the next step.
    uint32_t Step();
    // Empties the slot when it still holds this line.
    void DetachLine(int32_t slot, const TCommLine *line);
    // Calls Notify of every attached line in slot order.
    void NotifyLines(int32_t event, TCommBuff *buffer);
    // Calls visit for every attached line in slot order, under the pass lock.
    void ForEachLine(const std::function<void(TCommLine &line)> &visit);
    // The pass lock: held by every pass and by whoever changes or destroys the lines.
    RecursiveMutex &PassLock() { return passLock_; }

    int32_t Handle() const { return handle_; }
    State GetState() const { return state_.load(); }
    bool Connected() const { return connected_.load(); }
    const TParamList &Params() const { return params_; }
    TLogger *Log() const { return log_.get(); }
    void LogText(int level, std::string_view text) const;
    // True when a record of this level reaches the log: texts are only built then.
    bool Logging(int level) const;
    tessel::Clock &Clock() const { return clock_; }
    // The line at slot 0..32, or nullptr. Call under the pass lock.
    TCommLine *Line(int32_t slot) const;

protected:
    explicit TCommDriver(tessel::Clock &clock);
    // Logs what the concrete driver is, once its log exists.
    virtual void LogCreate() {}
    // Sets one key=value line of the parameters, replacing the key's first line.
    void SetParam(std::string_view key, std::string_view value);
    // One pass of the thread's body; answers the pause in ms before the next pass.
    virtual uint32_t DrvExecute() = 0;
    // Runs before each pass outside the pass lock: a driver waits for its link here, so that
    // clients attaching lines or commanding the link get the lock between passes.
    virtual void AwaitPass() {}
    // The thread's last act once its passes have ended, under the pass lock.
    virtual void DrvEnd() {}
    // Tells the thread to end and waits until it has; a driver logs around it.
    virtual void EndThread();
    // True once the thread is told to end: a long pass gives up.
    bool Terminated() const;
    // Pauses ms milliseconds on the driver's clock, cut short (false) once the thread is told
    // to end, so no pause of a pass holds up a destroy for long.
    bool Pause(uint32_t ms);
    // The packet counters of the transport.
    std::atomic<int32_t> packetsSent_{0};
    std::atomic<int32_t> packetsReceived_{0};
    void SetConnected(bool connected) { connected_.store(connected); }

private:
    void EndPass();
    void DestroyLines();

    tessel::Clock &clock_;
    std::unique_ptr<TLoopThread> thread_;
    RecursiveMutex passLock_;
    std::array<TCommLine *, kLineSlots> lines_{};  // guarded by passLock_
    int32_t handle_ = -1;
    TParamList params_;
    std::atomic<State> state_{stCreating};
    std::atomic<bool> connected_{false};
    std::unique_ptr<TLogger> log_;

    // The suspension gate between Start/Stop on client threads and the driver thread.
    std::mutex gateMutex_;
    std::condition_variable gate_;
    bool suspendRequest_ = false;  // guarded by gateMutex_
    bool threadRunning_ = false;   // guarded by gateMutex_: the thread has been let run
    bool ending_ = false;          // guarded by gateMutex_
};

}  // namespace lintra::nx
