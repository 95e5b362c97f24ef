#include "lintra/ports/lines/LineClose.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/BaseThread.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr uint64_t kCloseDrainMs = 20000;
constexpr uint32_t kCloseDrainStepMs = 100;
constexpr int32_t kCloseGiveUpCounter = -2;

std::atomic<bool> unloading{false};

// Lets the line's thread send what is queued: at most 20 s, and only while the line still
// gets answers (a counter below -2 means the far end has stopped answering).
void DrainQueue(const TPortControl &object) {
    tessel::Clock &clock = tessel::SteadyClock::instance();
    const uint64_t start = clock.nowMs();
    while (!unloading.load() && object.outQueue().Count() > 0 && clock.nowMs() - start < kCloseDrainMs &&
           object.answerCounter() >= kCloseGiveUpCounter) {
        if (LineLogEnabled(object.line(), 9))
            LogLine(object.line(),
                    "CloseCom:: QLen=" + std::to_string(object.outQueue().Count()) +
                        " GA=" + std::to_string(object.answerCounter()),
                    9);
        clock.sleepMs(kCloseDrainStepMs);
    }
}

// CloseCom's steps once the line is claimed.
void CloseClaimed(int line, std::shared_ptr<TPortControl> object) {
    LogMain("Closing Com(" + std::to_string(line) + "), MsgNumber=" + std::to_string(LineState::MsgNumber(line)), 5);
    LogLine(line, "Closing line, OutQueueLen=" + std::to_string(object->outQueue().Count()), 5);
    SharedObjects::DecrementOpenLineCount();
    if (const std::optional<uint16_t> number = object->messageNumberToKeep()) {
        LineState::SetMsgNumber(line, *number);
        SaveLineState();
        LogLine(line, "Состояние записано, N=" + std::to_string(LineState::MsgNumber(line)), 5);
    }
    if (object->IsLcbControl()) {
        PanelFrame stop = PanelFrame::connectionLost();
        FrameChecksum(stop);
        object->outQueue().ReplaceHeadOrPut(stop);
    }
    DrainQueue(*object);
    const size_t dropped = object->outQueue().Count();
    LineTable::Take(line);
    object.reset();  // joins the line's threads and closes its port with the last line on it
    LineEvents::instance().free(line);
    LogLine(line, "Line closed, dropped " + std::to_string(dropped) + " cmds", 5);
}

// The closer thread: runs the closes handed to it, one at a time, in the order they came.
class TLineCloser final : public TBaseThread {
public:
    TLineCloser() : TBaseThread("TLineCloser") { Start(); }
    ~TLineCloser() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        Stop();
    }

    void hand(int line, std::shared_ptr<TPortControl> object) {
        {
            std::lock_guard lock(mutex_);
            pending_.push_back({line, std::move(object)});
        }
        changed_.notify_all();
    }

    void settle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return pending_.empty() && !running_; });
    }

private:
    struct Close {
        int line;
        std::shared_ptr<TPortControl> object;
    };

    void Execute() override {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            if (pending_.empty()) return;  // stopping, with every close done
            Close close = std::move(pending_.front());
            pending_.pop_front();
            running_ = true;
            lock.unlock();
            CloseClaimed(close.line, std::move(close.object));
            lock.lock();
            running_ = false;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Close> pending_;
    bool running_ = false;
    bool stopping_ = false;
};

// Plain globals, constant-initialised: nothing of the closer is destroyed at exit before the
// library's unload has run.
constinit std::mutex closerMutex;
constinit TLineCloser *closer = nullptr;  // created at the first close on a library thread

TLineCloser *Closer() {
    std::lock_guard lock(closerMutex);
    return closer;
}

}  // namespace

void CloseLine(int line) {
    if (SharedObjects::OpenLineCount() < 1) return;
    std::shared_ptr<TPortControl> object = LineTable::Get(line);
    if (!object || !object->claimClose()) return;
    if (!TBaseThread::OnLibraryThread()) {
        CloseClaimed(line, std::move(object));
        return;
    }
    std::lock_guard lock(closerMutex);
    if (!closer) closer = new TLineCloser;
    closer->hand(line, std::move(object));
}

void SettlePendingCloses() {
    if (TBaseThread::OnLibraryThread()) return;
    // Without the lock: a close in progress may be waiting for a step whose callback is about
    // to hand over another close.
    if (TLineCloser *running = Closer()) running->settle();
}

void FreeAllLines() {
    unloading = true;
    TLineCloser *finished = nullptr;
    {
        std::lock_guard lock(closerMutex);
        std::swap(finished, closer);
    }
    delete finished;
    for (int line = 0; line < kLineCount; ++line) LineTable::Take(line).reset();
}

}  // namespace lintra
