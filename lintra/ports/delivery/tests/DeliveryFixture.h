#pragma once
// The shared objects of one isolated host, attached the way the library's load step does it,
// and a line object that lends delivery its number and its closing flag.
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "lintra/host/IpcSet.h"
#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "testsupport/TempDir.h"

namespace lintra::test {

class AttachedSlots {
public:
    AttachedSlots() {
        int error = 0;
        ipc_ = host::IpcSet::attach(nullptr, &error);
        if (!ipc_) return;
        EventSlots::Attach(ipc_.get());
        LineEvents::instance().createBoth(0);
    }
    ~AttachedSlots() {
        LineEvents::instance().freeAll();
        EventSlots::Attach(nullptr);
    }
    bool ok() const { return ipc_ != nullptr; }
    // Every slot free, as after each has been collected once.
    void clearSlots() { std::memset(ipc_->globalData().data(), 0, host::IpcSet::kGlobalDataSize); }

private:
    testsupport::IsolatedHost host_;
    std::unique_ptr<host::IpcSet> ipc_;
};

class FakeLine : public TDeliveryLine {
public:
    explicit FakeLine(int number) : number_(number) {}
    int DeliveryLineNumber() const override { return number_; }
    bool DeliveryClosing() const override { return closing.load(); }
    std::atomic<bool> closing{false};

private:
    int number_;
};

// A polling thread delivering through line; if a test fails before joining it, the line is
// closed and woken so that the thread ends instead of waiting for a collector.
class PollingThread {
public:
    PollingThread(FakeLine &line, std::function<void()> body) : line_(line), thread_(std::move(body)) {}
    ~PollingThread() {
        if (!thread_.joinable()) return;
        line_.closing = true;
        if (auto ready = LineEvents::instance().ready(line_.DeliveryLineNumber())) ready->set();
        thread_.join();
    }
    void join() { thread_.join(); }

private:
    FakeLine &line_;
    std::thread thread_;
};

}  // namespace lintra::test
