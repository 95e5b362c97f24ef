#include "lintra/runtime/BaseThread.h"

#include <unistd.h>

#include <cstdio>

#include "lintra/runtime/CommonProc.h"

namespace lintra {

constinit std::atomic<int> TBaseThread::total_{0};

namespace {

thread_local bool onLibraryThread = false;

void LogThreadChange(const char *format, const std::string &className, uint32_t threadId, int total) {
    if (!LineLogEnabled(0, 5)) return;
    char text[256];
    std::snprintf(text, sizeof text, format, className.c_str(), threadId, total);
    LogLine(0, text, 5);
}

}  // namespace

TBaseThread::TBaseThread(std::string className) : className_(std::move(className)) {
    thread_ = std::thread(&TBaseThread::Run, this);
    {
        std::unique_lock<std::mutex> lock(gateMutex_);
        gate_.wait(lock, [this] { return threadId_ != 0; });
    }
    int total = ++total_;
    LogThreadChange("TBaseThread created Class=%s, ID=%X, Total=%d", className_, threadId_, total);
}

TBaseThread::~TBaseThread() {
    Stop();
    // Only reached when the thread destroys its own object, which the library never lets a
    // client do (CloseCom on a line's own thread is handed to another thread); detach rather
    // than terminate the process.
    if (thread_.joinable()) thread_.detach();
    int total = --total_;
    LogThreadChange("TBaseThread destroyed Clas=%s, ID=%X, Total=%d", className_, threadId_, total);
}

bool TBaseThread::OnLibraryThread() { return onLibraryThread; }

void TBaseThread::Run() {
    onLibraryThread = true;
    bool run = false;
    {
        std::unique_lock<std::mutex> lock(gateMutex_);
        threadId_ = static_cast<uint32_t>(gettid());
        gate_.notify_all();
        gate_.wait(lock, [this] { return released_; });
        run = started_;
    }
    if (run) Execute();
}

void TBaseThread::Start() {
    std::lock_guard<std::mutex> lock(gateMutex_);
    started_ = true;
    released_ = true;
    gate_.notify_all();
}

void TBaseThread::Stop() {
    Terminate();
    {
        std::lock_guard<std::mutex> lock(gateMutex_);
        released_ = true;  // a thread never started ends without running the body
        gate_.notify_all();
    }
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

}  // namespace lintra
