#pragma once
// TBaseThread: the base of every worker thread of the library. It owns a std::thread that
// runs Execute() once Start() is called, counts the live threads of the process and logs
// their creation and end to the general log at level 5.
//
// Shutdown order: a subclass calls Stop() first thing in its destructor (after making its
// Execute() notice Terminated(), for example by setting an event it waits on), so that the
// body never runs against members that are already destroyed.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace lintra {

class TBaseThread {
public:
    TBaseThread(const TBaseThread &) = delete;
    TBaseThread &operator=(const TBaseThread &) = delete;
    virtual ~TBaseThread();

    // Lets the thread run Execute(); the thread waits for this from its creation on. Once only.
    void Start();
    // Asks the body to end; it sees Terminated() become true.
    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    // Terminate, then wait for the thread to end. Safe to call more than once.
    void Stop();

    uint32_t ThreadId() const { return threadId_; }
    const std::string &ClassName() const { return className_; }
    // TBaseThread objects alive in the process.
    static int Total() { return total_.load(); }
    // True on a thread of the library: a client's window procedure or callback runs there
    // while the thread is in the middle of a step of its line.
    static bool OnLibraryThread();

protected:
    // className names the subclass in the log lines.
    explicit TBaseThread(std::string className);
    virtual void Execute() = 0;

private:
    void Run();

    const std::string className_;
    std::atomic<bool> terminated_{false};
    std::mutex gateMutex_;
    std::condition_variable gate_;
    bool started_ = false;  // guarded by gateMutex_
    bool released_ = false;  // guarded by gateMutex_
    uint32_t threadId_ = 0;  // set by the new thread before the constructor returns
    std::thread thread_;
    static std::atomic<int> total_;
};

}  // namespace lintra
