#include "lintra/nx/CommDriver.h"

#include <exception>
#include <string>
#include <vector>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/CommLine.h"
#include "lintra/nx/DriverTables.h"
#include "lintra/ports/lines/LoopThread.h"
#include "lintra/runtime/Logger.h"

namespace lintra::nx {

namespace {

// Set from the library's load routine, which may run before dynamic initialisers.
constinit std::atomic<int> defaultLogLevel{TCommDriver::kDefaultLogLevel};

}  // namespace

void TCommDriver::SetDefaultLogLevel(int level) { defaultLogLevel.store(level); }
int TCommDriver::DefaultLogLevel() { return defaultLogLevel.load(); }

TCommDriver::TCommDriver(tessel::Clock &clock)
    : clock_(clock),
      thread_(std::make_unique<TLoopThread>("TCommDriver", TLoopThread::Loop{
                                                                 .firstPauseMs = 0,
                                                                 .step = [this] { return Step(); },
                                                                 .atEnd = [this] { EndPass(); },
                                                             })) {}

TCommDriver::~TCommDriver() {
    TCommDriver::EndThread();  // already ended by Destroy; a half-built driver ends it here
    LogText(6, "TCommDriver.Destroy");
    DestroyLines();
    LogText(6, "TCommDriver.Destroy:: All lines destroyed");
    {
        TablesGuard guard;
        DriverTable().Release(handle_, this);
    }
    LogText(6, "TCommDriver.Destroy:: Removed from table");
}

void TCommDriver::Attach(int32_t handle) {
    handle_ = handle;
    log_ = std::make_unique<TLogger>("CommDrv" + std::to_string(handle) + ".log", DefaultLogLevel(),
                                     lmDeferOpen | lmNoRegistryKey, clock_);
    state_.store(stCreated);
    LogCreate();
}

void TCommDriver::SetParam(std::string_view key, std::string_view value) {
    TParamList line;
    line.Append(std::string(key) + "=" + std::string(value));
    params_.Merge(line);
}

void TCommDriver::Destroy(TCommDriver *driver) {
    if (!driver) return;
    driver->EndThread();
    delete driver;
}

void TCommDriver::EndThread() {
    thread_->Terminate();
    {
        std::lock_guard lock(gateMutex_);
        ending_ = true;
    }
    gate_.notify_all();
    thread_->StopLoop();
}

// Every line of the driver goes: those in a slot, and those a later line displaced or that
// got no slot, which would otherwise keep a handle to a driver that is gone.
void TCommDriver::DestroyLines() {
    std::vector<TCommLine *> mine;
    {
        TablesGuard guard;
        for (TCommLine *line : LineTable().All()) {
            if (&line->Driver() == this) mine.push_back(line);
        }
    }
    TPassGuard guard(passLock_);
    for (TCommLine *line : mine) delete line;
}

bool TCommDriver::Terminated() const { return thread_->Terminated(); }

bool TCommDriver::Pause(uint32_t ms) {
    constexpr uint32_t kSliceMs = 100;
    while (ms > 0 && !Terminated()) {
        const uint32_t slice = ms < kSliceMs ? ms : kSliceMs;
        clock_.sleepMs(slice);
        ms -= slice;
    }
    return !Terminated();
}

void TCommDriver::EndPass() {
    {
        TPassGuard guard(passLock_);
        try {
            DrvEnd();
        } catch (const std::exception &e) {
            LogText(4, std::string("TCommDriver:: Exception at the end: ") + e.what());
        } catch (...) {
            LogText(4, "TCommDriver:: Exception at the end: unknown");
        }
    }
    state_.store(stFinished);
}

void TCommDriver::LogText(int level, std::string_view text) const {
    if (log_) log_->Write(level, text);
}

bool TCommDriver::Logging(int level) const { return log_ && log_->Enabled(level); }

TCommLine *TCommDriver::Line(int32_t slot) const {
    return slot >= 0 && slot < kLineSlots ? lines_[static_cast<size_t>(slot)] : nullptr;
}

int32_t TCommDriver::DoCmd(int32_t cmd, intptr_t p1, intptr_t p2) {
    switch (cmd) {
    case CD_Stop:
        Stop();
        return 1;
    case CD_Start:
        return Start() ? 1 : 0;
    case CD_Destroy:
        Destroy(this);
        return 1;
    case CD_Ping:
        return 1;
    case CD_SendBuf:
        if (!ValidByteArgs(p1, p2)) return kNoObject;
        return SendBuf(reinterpret_cast<const uint8_t *>(p1), static_cast<int32_t>(p2));
    case CD_Connect:
        return Connect() ? 1 : 0;
    case CD_Disconnect:
        Disconnect();
        return 1;
    default:
        return 0;
    }
}

bool TCommDriver::Init(const TParamList *params) {
    params_ = params ? *params : TParamList();
    const int32_t level = params_.IntValue("LogLevel", -1);
    if (level >= 0 && log_) log_->SetLevel(level);
    LogText(5, "Init\r\n" + params_.LogText());
    return true;
}

int32_t TCommDriver::AddLine(TCommLine *line, int32_t slot) {
    TPassGuard guard(passLock_);
    if (slot == -1) {
        for (int32_t free = 0; free < kLineSlots; ++free) {
            if (lines_[static_cast<size_t>(free)]) continue;
            lines_[static_cast<size_t>(free)] = line;
            return free;
        }
        return -1;
    }
    if (slot < 0 || slot >= kLineSlots) return -1;
    lines_[static_cast<size_t>(slot)] = line;
    return slot;
}

void TCommDriver::DetachLine(int32_t slot, const TCommLine *line) {
    TPassGuard guard(passLock_);
    if (slot < 0 || slot >= kLineSlots) return;
    TCommLine *&held = lines_[static_cast<size_t>(slot)];
    if (held == line) held = nullptr;
}

void TCommDriver::NotifyLines(int32_t event, TCommBuff *buffer) {
    ForEachLine([&](TCommLine &line) { line.Notify(event, buffer); });
}

void TCommDriver::ForEachLine(const std::function<void(TCommLine &line)> &visit) {
    TPassGuard guard(passLock_);
    for (TCommLine *line : lines_) {
        if (line) visit(*line);
    }
}

bool TCommDriver::Start() {
    bool runThread = false;
    bool resumed = false;
    {
        std::lock_guard lock(gateMutex_);
        suspendRequest_ = false;
        const State state = state_.load();
        if (state == stCreated) {
            runThread = !threadRunning_;
            threadRunning_ = true;
            resumed = true;
        } else if (state == stSuspended) {
            state_.store(stResumed);
            resumed = true;
        }
    }
    if (runThread) thread_->Start();
    gate_.notify_all();
    return resumed;
}

bool TCommDriver::Stop() {
    std::lock_guard lock(gateMutex_);
    suspendRequest_ = true;
    return true;
}

uint32_t TCommDriver::Step() {
    {
        std::unique_lock lock(gateMutex_);
        if (suspendRequest_ && !ending_) {
            LogText(6, "TNXDriver.DrvExecute:: Suspend");
            state_.store(stSuspended);
            gate_.wait(lock, [this] { return ending_ || state_.load() != stSuspended; });
            if (ending_) return 0;
            LogText(6, "TNXDriver.DrvExecute:: Resume");
        }
        if (ending_) return 0;
    }
    try {
        AwaitPass();
        TPassGuard guard(passLock_);
        return DrvExecute();
    } catch (const std::exception &e) {
        LogText(4, std::string("TCommDriver:: Exception in DrvExecute: ") + e.what());
    } catch (...) {
        LogText(4, "TCommDriver:: Exception in DrvExecute: unknown");
    }
    thread_->Terminate();  // an exception ends the body; the driver stays in its table
    return 0;
}

}  // namespace lintra::nx
